#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <thread>
#include <string>
#include <vector>

#include "MemoryLog.h"
#include "TestSupport.h"
#include "checkwin/CallCollector.h"
#include "checkwin/CheckWindowTable.h"

namespace {

using test::Qso;

Qso Worked(const std::string& call, const std::string& date, bool confirmed = false) {
    Qso q;
    q.Call = call;
    q.Date = date;
    q.Confirmed = confirmed;
    return q;
}

CallTable TableOf(const std::vector<std::string>& calls) {
    std::vector<Qso> qsos;
    for (const auto& call : calls) qsos.push_back(Worked(call, "20240101"));
    test::MemoryLog log(qsos);
    CallTable table;
    EXPECT_TRUE(table.Build(log));
    return table;
}

// The calls and kinds a text lists, as "CALL:b" (begins), ":c" (contains
// elsewhere), ":1" (one off).
std::vector<std::string> Listed(const CallTable& table, const std::string& text, size_t limit = kCheckMaxRows) {
    std::vector<std::string> listed;
    for (const CheckMatch& m : FindCheckMatches(table, text, limit).Shown) {
        const char* kind = m.Kind == CheckMatchKind::BeginsWith ? ":b" : m.Kind == CheckMatchKind::Contains ? ":c" : ":1";
        listed.push_back(table.Call(m.Entry) + kind);
    }
    return listed;
}

using Rows = std::vector<std::string>;

TEST(CallTable, KeepsEachDistinctCallWithItsCountLastDateAndConfirmation) {
    // Out of call and date order; an unreadable record and one without a
    // call are left out; the latest date counts across the century pivot.
    std::vector<Qso> qsos = {
        Worked("JA1ABC", "20240301"), Worked("7K1XYZ", "19990101", true), Worked("JA1ABC", "20230115", true),
        Worked("JA1ABC", "20240302"), Worked("", "20240101"), Worked("7K1XYZ", "20010203"),
        Worked("JA1AB", "19951231"), Worked("JA1ABC", "20250101"),
    };
    test::MemoryLog log(qsos, {8});
    log.Stored(7).Date[0] = '\0';   // JA1AB: no date to read
    // Bytes after the call's end are not the call's.
    std::memset(log.Stored(6).Call + 7, 'X', sizeof log.Stored(6).Call - 8);
    CallTable table;
    ASSERT_TRUE(table.Build(log));
    EXPECT_EQ(log.Opens, 1);
    EXPECT_EQ(log.Closes, 1);
    EXPECT_EQ(log.Reads, 8);
    ASSERT_EQ(table.Count(), 3u);
    // Byte order: digits before letters, a call before a longer one it begins.
    EXPECT_EQ(table.Call(0), "7K1XYZ");
    EXPECT_EQ(table.Call(1), "JA1AB");
    EXPECT_EQ(table.Call(2), "JA1ABC");
    EXPECT_EQ(table.At(0).Count, 2u);
    EXPECT_EQ(table.At(0).LastDate, 20010203u);
    EXPECT_TRUE(table.At(0).Confirmed);
    EXPECT_EQ(table.At(1).LastDate, 0u);
    EXPECT_FALSE(table.At(1).Confirmed);
    EXPECT_EQ(table.At(2).Count, 3u);   // the fourth was unreadable
    EXPECT_EQ(table.At(2).LastDate, 20240302u);
    EXPECT_TRUE(table.At(2).Confirmed);
    EXPECT_EQ(table.TextBytes(), 17u);
}

TEST(CallTable, CallsOfEveryLengthAndEveryByteAreKeptWholeInByteOrder) {
    // Up to the record's 20 bytes. Calls of up to ten letters, digits and
    // '/' are counted apart from the others (longer, lower case, other
    // bytes, a byte above 127), and both kinds come out in one byte order.
    const std::vector<std::string> calls = {"K1A", "JA1ABC/QRP", "JA1ABC/QRP/", "JA1ABC/QRP/MM12345",
                                            "JA1ABC/QRP/MM123456", "JA1ABC/QRP/M", "ja1abc", "JA1-AB", "JA1AB",
                                            "JA1AB\xC4", "JA1AB ", "/", "0", "9Z", "ZZZZZZZZZZ", "A"};
    std::vector<Qso> qsos;
    for (int round = 0; round < 2; ++round)
        for (const auto& call : calls) qsos.push_back(Worked(call, "20240101"));
    test::MemoryLog log(qsos);
    CallTable table;
    ASSERT_TRUE(table.Build(log));
    ASSERT_EQ(table.Count(), calls.size());
    std::vector<std::string> sorted = calls;
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 0; i < sorted.size(); ++i) {
        EXPECT_EQ(table.Call(i), sorted[i]);
        EXPECT_EQ(table.At(i).Count, 2u) << sorted[i];
    }
}

TEST(CallTable, ABigLogCountsTheSameWithASecondThreadAsWithout) {
    // 200,000 QSOs of some 40,000 calls (the table grows while counting),
    // with a few calls that are counted apart, each checked against a plain
    // count. A record hint past the threshold brings the second thread on
    // a machine of two processors or more; none brings the reader alone.
    struct Stats { uint32_t Count = 0, Last = 0; bool Confirmed = false; };
    std::map<std::string, Stats> expected;
    struct Added { std::string Call; char Date[9]; bool Confirmed; };
    std::vector<Added> qsos;
    uint32_t seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t n = (seed >> 8) % 40000;
        std::string call = "J" + std::string(1, static_cast<char>('A' + n % 26)) + std::to_string(n % 10) +
                           std::string(1, static_cast<char>('A' + n / 10 % 26)) + std::to_string(n / 260);
        if (n % 5000 == 0) call += "/QRP/MM";   // longer than ten
        if (n % 7001 == 0) call[0] = 'j';       // a byte that does not pack
        // Dates of both centuries, as the records write them; now and then
        // one that cannot be read.
        Added q{call, {}, (seed >> 4) % 9 == 0};
        const unsigned yy = (seed >> 20) % 100, mm = 1 + (seed >> 13) % 12, dd = 1 + (seed >> 5) % 28;
        std::snprintf(q.Date, sizeof q.Date, "%02u/%02u/%02u", yy, mm, dd);
        uint32_t date = ((yy <= 50 ? 2000 : 1900) + yy) * 10000 + mm * 100 + dd;
        if (i % 997 == 0) {
            q.Date[7] = '\0';
            date = 0;
        }
        Stats& st = expected[call];
        ++st.Count;
        st.Last = std::max(st.Last, date);
        st.Confirmed = st.Confirmed || q.Confirmed;
        qsos.push_back(q);
    }
    for (size_t records : {size_t(0), CallCollector::kHelperRecords}) {
        CallCollector collector(records);
        if (records > 0 && std::thread::hardware_concurrency() >= 2) {
            EXPECT_TRUE(collector.HasHelper());
        }
        for (const auto& q : qsos) {
            char field[21] = {};
            std::memcpy(field, q.Call.data(), q.Call.size());
            collector.Add(field, sizeof field, q.Date, q.Confirmed);
        }
        ASSERT_EQ(collector.Distinct(), expected.size());
        size_t bytes = 0;
        for (const auto& e : expected) bytes += e.first.size();
        ASSERT_EQ(collector.TextBytes(), bytes);
        std::string texts(bytes, '\0');
        const char* written = &texts[0];
        auto next = expected.begin();
        collector.EachInOrder(&texts[0], [&](const CallCollector::Call& c) {
            EXPECT_EQ(c.Text, written);   // one after another
            written += c.Length;
            ASSERT_NE(next, expected.end());
            EXPECT_EQ(std::string(c.Text, c.Length), next->first);
            EXPECT_EQ(c.Count, next->second.Count) << next->first;
            EXPECT_EQ(c.LastDate, next->second.Last) << next->first;
            EXPECT_EQ(c.Confirmed, next->second.Confirmed) << next->first;
            ++next;
        });
        EXPECT_EQ(next, expected.end()) << records;
    }
}

TEST(CallTable, CallsThatBeginAlikeComeOutInByteOrderWithAndWithoutASecondThread) {
    // The calls are sorted by their first six characters, then among those
    // that begin alike: all alike, a long run of them, and short runs.
    std::vector<std::string> longRun = {"JA1ABC", "JA1ABC/P", "JA1AB"};
    for (int i = 39; i >= 0; --i) longRun.push_back("JA1ABC/" + std::to_string(i));
    const std::vector<std::vector<std::string>> cases = {
        {"JA1ABC/P", "JA1ABC", "JA1ABC/1"},
        longRun,
        {"7K1XYZ/3", "JA1ABC/P", "7K1XYZ", "JA1ABD", "JA1ABC", "7K1XY", "JA1ABC/1", "7K1XYZ/10", "/"},
    };
    for (const auto& calls : cases) {
        for (size_t records : {size_t(0), CallCollector::kHelperRecords}) {
            CallCollector collector(records);
            for (const std::string& call : calls) {
                char field[21] = {};
                std::memcpy(field, call.data(), call.size());
                collector.Add(field, sizeof field, "24/01/01", false);
            }
            std::vector<std::string> sorted = calls, listed;
            std::sort(sorted.begin(), sorted.end());
            std::string texts(collector.TextBytes(), '\0');
            collector.EachInOrder(&texts[0], [&](const CallCollector::Call& c) { listed.emplace_back(c.Text, c.Length); });
            EXPECT_EQ(listed, sorted) << calls[0] << ", " << records;
        }
    }
}

TEST(CallTable, AnEmptyLogBuildsAnEmptyTableAndAnUnreadableOneFails) {
    test::MemoryLog empty({});
    CallTable table = TableOf({"JA1ABC"});
    EXPECT_TRUE(table.Build(empty));
    EXPECT_EQ(table.Count(), 0u);

    struct Unreadable : test::MemoryLog {
        Unreadable() : MemoryLog({}) {}
        int Open() override { return -1; }
    } unreadable;
    table = TableOf({"JA1ABC"});
    EXPECT_FALSE(table.Build(unreadable));
    EXPECT_EQ(table.Count(), 0u);
}

TEST(CheckWindowRules, OneOffIsOneByteChangedAddedOrRemoved) {
    struct Case { const char* call; const char* text; bool oneOff; };
    const Case cases[] = {
        {"JA1ABD", "JA1ABC", true},    // changed, last
        {"JR1ABC", "JA1ABC", true},    // changed, inside
        {"KA1ABC", "JA1ABC", true},    // changed, first
        {"JA1ABCD", "JA1ABC", true},   // added, end
        {"JA1AXBC", "JA1ABC", true},   // added, inside
        {"XJA1ABC", "JA1ABC", true},   // added, front
        {"JA1BC", "JA1ABC", true},     // removed, inside
        {"A1ABC", "JA1ABC", true},     // removed, front
        {"JA1AB", "JA1ABC", true},     // removed, end
        {"JA1ABC", "JA1ABC", false},   // equal
        {"JA1BAC", "JA1ABC", false},   // two changed (a swap)
        {"JA1ABCDE", "JA1ABC", false}, // two added
        {"JA1A", "JA1ABC", false},     // two removed
        {"JA1XBCD", "JA1ABC", false},  // changed and added
        {"JA1/AB", "JA1/1B", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsOneOff(c.call, std::strlen(c.call), c.text, std::strlen(c.text)), c.oneOff) << c.call << " " << c.text;
}

TEST(CheckWindowRules, ListsBeginningThenContainingThenOneOffEachInCallOrder) {
    const CallTable table = TableOf({"JA1ABC", "7J1ABC", "JA1ABC/1", "JA1AB", "JA1ABD", "JH1ABC", "JA1AC",
                                     "JD1/JA1ABC", "JA1ABCD", "XJA1ABC", "JA1XBC", "JA2ABC", "JA1BAC"});
    EXPECT_EQ(Listed(table, "JA1ABC"),
              Rows({"JA1ABC:b", "JA1ABC/1:b", "JA1ABCD:b", "JD1/JA1ABC:c", "XJA1ABC:c", "JA1AB:1", "JA1ABD:1",
                    "JA1AC:1", "JA1XBC:1", "JA2ABC:1", "JH1ABC:1"}));
    // Two characters: only what contains them, never one off.
    EXPECT_EQ(Listed(table, "1A"), Rows({"7J1ABC:c", "JA1AB:c", "JA1ABC:c", "JA1ABC/1:c", "JA1ABCD:c", "JA1ABD:c",
                                         "JA1AC:c", "JD1/JA1ABC:c", "JH1ABC:c", "XJA1ABC:c"}));
    EXPECT_EQ(Listed(table, "JA"), Rows({"JA1AB:b", "JA1ABC:b", "JA1ABC/1:b", "JA1ABCD:b", "JA1ABD:b", "JA1AC:b",
                                         "JA1BAC:b", "JA1XBC:b", "JA2ABC:b", "JD1/JA1ABC:c", "XJA1ABC:c"}));
    EXPECT_EQ(Listed(table, "C/"), Rows({"JA1ABC/1:c"}));
    // A '/' and digits are bytes like any other.
    EXPECT_EQ(Listed(table, "/1"), Rows({"JA1ABC/1:c"}));
    EXPECT_EQ(Listed(table, "JD1/"), Rows({"JD1/JA1ABC:b"}));
    // Longer than every call: only calls one shorter can be one off.
    EXPECT_EQ(Listed(table, "JD1/JA1ABCX"), Rows({"JD1/JA1ABC:1"}));
    EXPECT_EQ(Listed(table, "JD1/JA1ABCXY"), Rows({}));
    // One character or none lists nothing; a text nothing fits neither.
    EXPECT_EQ(Listed(table, "J"), Rows({}));
    EXPECT_EQ(Listed(table, ""), Rows({}));
    EXPECT_EQ(Listed(table, "QQ"), Rows({}));
}

TEST(CheckWindowRules, AtMostTheLimitIsShownAndTheRestCounted) {
    std::vector<std::string> calls;
    for (int i = 0; i < 30; ++i) calls.push_back("JA" + std::to_string(100 + i));   // begins with JA
    for (int i = 0; i < 5; ++i) calls.push_back("7" + std::to_string(i) + "JA1");    // contains
    calls.push_back("JB100");                                                        // one off JA100
    const CallTable table = TableOf(calls);
    // JA101..JA109, JA110, JA120 and JB100 are one off JA100.
    CheckMatches m = FindCheckMatches(table, "JA100", 3);
    EXPECT_EQ(m.Total, 13u);
    EXPECT_EQ(m.OneOffTotal, 12u);
    EXPECT_EQ(m.Shown.size(), 3u);
    EXPECT_TRUE(m.Exact);
    m = FindCheckMatches(table, "JA", 32);
    EXPECT_EQ(m.Total, 35u);
    EXPECT_EQ(m.ContainsTotal, 35u);
    ASSERT_EQ(m.Shown.size(), 32u);
    EXPECT_EQ(m.Shown[29].Kind, CheckMatchKind::BeginsWith);
    EXPECT_EQ(table.Call(m.Shown[30].Entry), "70JA1");   // the contain group goes on after the first
    EXPECT_FALSE(m.Exact);

    ListRows rows;
    std::vector<CheckRowLook> looks;
    FillCheckRows(table, m, rows, looks);
    ASSERT_EQ(rows.Count(), 33);
    ASSERT_EQ(looks.size(), 33u);
    EXPECT_STREQ(rows.Text(32, kCheckColumnCall), "ほか 3 件");
    EXPECT_EQ(looks[32], CheckRowLook::More);
    EXPECT_EQ(looks[0], CheckRowLook::Contains);
}

TEST(CheckWindowRules, RowsShowCountDateQslAndKindWithTheExactCallFirst) {
    test::MemoryLog log({Worked("JA1ABC", "20240301", true), Worked("JA1ABC", "20240302"), Worked("JA1ABD", "19991231"),
                         Worked("JA1ABCD", "20000101")});
    CallTable table;
    ASSERT_TRUE(table.Build(log));
    const CheckMatches m = FindCheckMatches(table, "JA1ABC");
    ListRows rows;
    std::vector<CheckRowLook> looks;
    FillCheckRows(table, m, rows, looks);
    ASSERT_EQ(rows.Count(), 3);
    const std::vector<std::vector<std::string>> expected = {
        {"JA1ABC", "2", "24/03/02", "Cfm", "含む"},
        {"JA1ABCD", "1", "00/01/01", "Wkd", "含む"},
        {"JA1ABD", "1", "99/12/31", "Wkd", "1字違い"},
    };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < kCheckColumnTotal; ++c) EXPECT_EQ(rows.Text(r, c), expected[r][c]) << r << "," << c;
    EXPECT_EQ(looks, (std::vector<CheckRowLook>{CheckRowLook::Exact, CheckRowLook::Contains, CheckRowLook::OneOff}));
    EXPECT_EQ(CheckStatusText("JA1ABC", m), "含む 2 件  1字違い 1 件");
    EXPECT_EQ(CheckStatusText("JA", FindCheckMatches(table, "JA")), "含む 3 件");
    EXPECT_EQ(CheckStatusText("QQQ", FindCheckMatches(table, "QQQ")), "該当なし");
    EXPECT_EQ(CheckStatusText("J", FindCheckMatches(table, "J")), "");
}

}  // namespace
