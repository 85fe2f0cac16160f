// The tally against the real stand-in library, on logs and masters made by
// vireon-tool, checked against a second, plain count over the dumped records.
#include <cstring>
#include <string>
#include <vector>

#include "TallyLogFixture.h"
#include "awards/ApplicationList.h"
#include "awards/AwardCount.h"
#include "logstore/AreaMaster.h"
#include "logstore/LoggerLibrary.h"

namespace {

using namespace awardtest;

const std::vector<int> kAllBands = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};

int DateOfRow(const DumpRow& r) {
    std::string six;
    for (size_t p : {0, 1, 3, 4, 6, 7})
        if (p < r.Date.size()) six += r.Date[p];
    const int v = std::atoi(six.c_str());
    return v == 0 ? 0 : v <= 510000 ? v + 20000000 : v + 19000000;
}

class AwardTallyLog : public TallyLog {
protected:
    void SetUp() override { saved_ = AwardFilter; }
    void TearDown() override {
        AwardFilter = saved_;
        TallyLog::TearDown();
    }
    void MakeGeneratedLog(int qsos) {
        ASSERT_NO_FATAL_FAILURE(UseLibrary());
        ASSERT_NO_FATAL_FAILURE(MakeAndLoadMaster());
        ASSERT_NO_FATAL_FAILURE(Tool({"generate", std::to_string(qsos), "--replace"}));
        rows_ = Dump();
        ASSERT_EQ(static_cast<int>(rows_.size()), qsos);
    }
    AwardFilterRecord saved_;
    std::vector<DumpRow> rows_;
};

std::vector<std::string> g_messages;
void Collect(const char* text) { g_messages.push_back(text); }

TEST_F(AwardTallyLog, MissingLibraryLeavesTheStatisticsAndSaysSo) {
    // No library in this folder. Should one loaded by an earlier test stay
    // resident in the process, this test cannot be made here.
    if (LoadLoggerLibrary() == 0) {
        FreeLoggerLibrary();
        GTEST_SKIP() << "an earlier test left the library resident in this process";
    }
    AjdStats[3] = {20000101, 20000202, 7, 2};
    WajaStats[13] = {20000101, 20000202, 7, 1};
    AreaStats[999] = {20000101, 20000202, 7, 1};
    void (*previous)(const char*) = AwardMessageSink;
    AwardMessageSink = Collect;
    g_messages.clear();
    SetFilter(Ajd, kAllBands, "", 0, 20991231);
    EXPECT_FALSE(TallyAjd());
    EXPECT_FALSE(TallyWaja());
    AwardFilter.AwardKind = Jcc;
    EXPECT_FALSE(TallyJccJcg());
    AwardMessageSink = nullptr;
    EXPECT_FALSE(TallyAjd());   // nowhere to show it: still false, no crash
    AwardMessageSink = previous;

    ASSERT_EQ(g_messages.size(), 3u);
    EXPECT_EQ(g_messages[0], "VIREON50.DLL\x82\xaa\x82\xdd\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82\xb9\x82\xf1");
    EXPECT_EQ(AjdStats[3].QsoCount, 7);
    EXPECT_EQ(WajaStats[13].QsoCount, 7);
    EXPECT_EQ(AreaStats[999].QsoCount, 7);
}

TEST_F(AwardTallyLog, GeneratedLogAgreesWithASecondCount) {
    REQUIRE_SHARED_DATA("jarl/jcc-list.txt");
    ASSERT_NO_FATAL_FAILURE(MakeGeneratedLog(20000));
    const int n = static_cast<int>(rows_.size());
    const int quarter = DateOfRow(rows_[n / 4]);
    const int threeQuarters = DateOfRow(rows_[3 * n / 4]);
    const std::string mode = rows_[0].Mode;
    ASSERT_LT(quarter, threeQuarters) << "the generated log spans too few days";

    struct Filter { const char* name; std::vector<int> bands; std::string mode; int32_t start, end; };
    const Filter filters[] = {
        {"everything", kAllBands, "", 0, 20991231},
        {"four bands, one mode, middle half", {2, 4, 6, 9}, mode, quarter, threeQuarters},
        {"one band up to the first quarter", {2}, "", 0, quarter},
        {"a single day", kAllBands, "", quarter, quarter},
    };
    for (int32_t kind : {Ajd, Waja, Jcc, Jcg}) {
        for (const Filter& f : filters) {
            SetFilter(kind, f.bands, f.mode.c_str(), f.start, f.end);
            Stats tally;
            ASSERT_TRUE(Tally(&tally));
            const std::string what = "kind " + std::to_string(kind) + ", " + f.name;
            const int worked = ExpectSameStats(tally, NaiveCount(rows_), what);
            if (std::string(f.name) != "a single day") {
                EXPECT_GT(worked, 0) << what;
            }
            if (std::string(f.name) == "everything") {
                const int least = kind == Ajd ? 10 : kind == Waja ? 47 : 100;
                EXPECT_GE(worked, least) << what;
            }
        }
    }
}

TEST_F(AwardTallyLog, TableQuirksMatchTheFirstEntryAndEndAtAnEmptyOne) {
    REQUIRE_SHARED_DATA("jarl/jcc-list.txt");
    ASSERT_NO_FATAL_FAILURE(MakeGeneratedLog(20000));
    SetFilter(Jcc, kAllBands, "", 0, 20991231);
    Stats before;
    ASSERT_TRUE(Tally(&before));
    int late = 0;   // QSOs of the entries that the cut below removes
    for (int i = 601; i < kAreaTableSize; ++i) late += before[i].QsoCount;
    ASSERT_GT(late, 0);
    ASSERT_GT(before[5].QsoCount, 0);

    // A duplicate of entry 5 further down, and an empty entry at 600.
    std::memcpy(JccTable[400].Code, JccTable[5].Code, sizeof JccTable[400].Code);
    JccTable[600].Code[0] = '\0';
    Stats after;
    ASSERT_TRUE(Tally(&after));
    ExpectSameStats(after, NaiveCount(rows_), "JCC with a duplicate and a cut");
    EXPECT_EQ(after[400].QsoCount, 0);
    EXPECT_EQ(after[5].QsoCount, before[5].QsoCount);
    for (int i = 600; i < kAreaTableSize; ++i) EXPECT_EQ(after[i].QsoCount, 0) << i;
}

TEST_F(AwardTallyLog, UnreadableRecordIsSkippedAndTheScanGoesOn) {
    REQUIRE_SHARED_DATA("jarl/jcc-list.txt");
    ASSERT_NO_FATAL_FAILURE(MakeGeneratedLog(3000));
    // Spoil the written-record mark of three records, the first one included.
    std::string log = test::ReadFileBytes(Dir().File("vireon.vdb"));
    const std::vector<int> spoiled = {1, 1500, 2999};
    for (int r : spoiled) {
        const size_t mark = 64 + static_cast<size_t>(r - 1) * 256 + 255;
        ASSERT_LT(mark, log.size());
        log[mark] = 0;
    }
    test::WriteFileBytes(Dir().File("vireon.vdb"), log);
    for (int32_t kind : {Ajd, Waja, Jcc, Jcg}) {
        SetFilter(kind, kAllBands, "", 0, 20991231);
        Stats tally;
        ASSERT_TRUE(Tally(&tally));
        const Stats naive = NaiveCount(rows_, spoiled);
        const int worked = ExpectSameStats(tally, naive, "kind " + std::to_string(kind));
        EXPECT_GT(worked, 0);
        int total = 0;
        for (const AreaStat& s : tally) total += s.QsoCount;
        int all = 0;
        for (const AreaStat& s : NaiveCount(rows_)) all += s.QsoCount;
        EXPECT_LT(total, all) << "the spoiled records must not count";
    }
}

TEST_F(AwardTallyLog, EndDateEndsTheScanAndBoundsAreInclusive) {
    ASSERT_NO_FATAL_FAILURE(UseLibrary());
    ASSERT_NO_FATAL_FAILURE(MakeLog({
        {"20100101", "7.041", "CW", "0101", true},     // start date itself
        {"20100301", "7.041", "ssb", "0102", false},   // mode in small letters
        {"20100401", "5.000", "CW", "0103", false},    // no band
        {"20100501", "7.041", "SSB", "0104", false},
        {"20100601", "7.041", "CW", "4701", true},
        {"20111231", "14.074", "CW", "1001", false},   // end date itself
        {"20120101", "7.041", "CW", "4701", true},
    }));
    // The import writes in date order; move the 2010-06 record behind the
    // 2012 one, so that a scan to 2011-12-31 ends before reading it.
    std::string log = test::ReadFileBytes(Dir().File("vireon.vdb"));
    ASSERT_EQ(log.size(), 64u + 7 * 256);
    const std::string moved = log.substr(64 + 4 * 256, 256);
    log.erase(64 + 4 * 256, 256);
    log += moved;
    test::WriteFileBytes(Dir().File("vireon.vdb"), log);
    rows_ = Dump();
    ASSERT_EQ(rows_.size(), 7u);

    struct Case { const char* name; std::string mode; int32_t start, end; int counted; };
    const Case cases[] = {
        {"whole range", "", 20100101, 20111231, 4},   // records 1, 2, 4, 5
        {"SSB exactly", "SSB", 20100101, 20111231, 1},
        {"after the start", "", 20100102, 20111231, 3},
        {"to the day before the end", "", 0, 20111230, 3},
        {"end date 0 ends at the first dated record", "", 0, 0, 0},
        {"everything in the log", "", 0, 20991231, 6},   // the QSO on 5 MHz has no band
    };
    for (int32_t kind : {Ajd, Waja}) {
        for (const Case& c : cases) {
            SetFilter(kind, kAllBands, c.mode.c_str(), c.start, c.end);
            Stats tally;
            ASSERT_TRUE(Tally(&tally));
            const std::string what = std::string(c.name) + ", kind " + std::to_string(kind);
            ExpectSameStats(tally, NaiveCount(rows_), what);
            int counted = 0;
            for (const AreaStat& s : tally) counted += s.QsoCount;
            EXPECT_EQ(counted, c.counted) << what;
        }
    }
    // The 2010-06 QSO of area 6 comes after the 2012 one: first date stays.
    SetFilter(Ajd, kAllBands, "", 0, 20991231);
    Stats tally;
    ASSERT_TRUE(Tally(&tally));
    EXPECT_EQ(tally[6].FirstDate, 20120101);
    EXPECT_EQ(tally[6].LastDate, 20120101);
    EXPECT_EQ(tally[6].QsoCount, 2);
    EXPECT_EQ(tally[6].QslState, 2);
    EXPECT_EQ(tally[8].QslState, 2);   // record 1, confirmed, then worked ones
}

TEST_F(AwardTallyLog, ALogThatCannotBeOpenedIsToldFromAnEmptyOneAndCountsNothing) {
    ASSERT_NO_FATAL_FAILURE(UseLibrary());
    ASSERT_NO_FATAL_FAILURE(MakeLog({{"20100101", "7.010", "CW", "0101", true}}));
    const std::string good = test::ReadFileBytes(Dir().File("vireon.vdb"));
    const std::string empty = test::WithNoRecords(good);
    struct Case { test::DamagedFile log; TallyOutcome outcome; };
    std::vector<Case> cases;
    for (const test::DamagedFile& d : test::DamagedFiles(good)) cases.push_back({d, TallyOutcome::LogCannotBeOpened});
    cases.push_back({{"0 records", true, empty}, TallyOutcome::Done});
    void (*previous)(const char*) = AwardMessageSink;
    AwardMessageSink = Collect;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log.What);
        test::PutDamagedFile(c.log, Dir().File("vireon.vdb"));
        for (int32_t kind : {Ajd, Waja, Jcc, Jcg}) {
            SCOPED_TRACE(kind);
            SetFilter(kind, kAllBands, "", 0, 20991231);
            AwardStatistics result;
            result.Areas[1] = {20000101, 20000202, 7, 2};   // an earlier result goes
            EXPECT_EQ(TallyLoggerLog(AwardFilter, AreaTableOfKind(kind), result), c.outcome);
            for (const AreaStat& a : result.Areas) EXPECT_EQ(a.QsoCount + a.FirstDate + a.LastDate + a.QslState, 0);
        }
        // The program-wide shells fill their tables alike and tell it once.
        g_messages.clear();
        AjdStats[3] = {20000101, 20000202, 7, 2};
        SetFilter(Ajd, kAllBands, "", 0, 20991231);
        EXPECT_TRUE(TallyAjd());
        EXPECT_EQ(AjdStats[3].QsoCount, 0);
        const std::vector<std::string> told = {"vireon.vdb を開けません"};
        EXPECT_EQ(g_messages, c.outcome == TallyOutcome::Done ? std::vector<std::string>{} : told);
    }
    AwardMessageSink = previous;
}

}  // namespace

namespace {

TEST_F(AwardTallyLog, TheApplicationListReadsBackTheQsosTheSearchCountedAndSearchesAgainWhenTheLogChanged) {
    SetFilter(Ajd, kAllBands, "", 0, 20991231);
    AwardStatistics stats;
    std::vector<ApplicationEntry> entries;
    std::vector<ApplicationQso> qsos;
    bool again = true;
    EXPECT_EQ(ReadApplicationList(AwardFilter, nullptr, &stats, &entries, &qsos, &again), TallyOutcome::LibraryMissing);

    ASSERT_NO_FATAL_FAILURE(UseLibrary());
    auto qso = [](const char* date, const char* freq, const char* mode, const char* code, bool confirmed,
                  const char* call) {
        Qso q{date, freq, mode, code, confirmed};
        q.Call = call;
        return q;
    };
    // Tokyo (call area 1): worked, then confirmed twice; Osaka (area 3) once.
    const Qso worked = qso("20100101", "7.041", "SSB", "1001", false, "JA1AAA");
    const Qso first = qso("20100102", "14.074", "CW", "1001", true, "JA1ABC");
    const Qso second = qso("20100103", "21.074", "FT8", "1001", true, "JA1XYZ");
    const Qso osaka = qso("20100104", "7.041", "CW", "2701", true, "JA3AAA");
    ASSERT_NO_FATAL_FAILURE(MakeLog({worked, first, second, osaka}));
    AwardStatistics searched;
    ASSERT_EQ(TallyLoggerLog(AwardFilter, nullptr, searched), TallyOutcome::Done);
    EXPECT_EQ(searched.RecordCount, 4);

    // What each line holds: the QSO by its call, date and band.
    auto lines = [&] {
        std::vector<std::string> out;
        for (size_t i = 0; i < entries.size() && i < qsos.size(); ++i)
            out.push_back(entries[i].Code + " " + qsos[i].Call + " " + std::to_string(entries[i].Date) + " " +
                          std::to_string(entries[i].Band) + " " + qsos[i].Mode);
        return out;
    };
    struct Case {
        const char* what;
        std::vector<Qso> log;   // the log at Ctrl+L; empty: the log is gone
        TallyOutcome outcome;
        bool searchedAgain;
        std::vector<std::string> lines;
    };
    Qso swappedFirst = first, swappedSecond = second;   // the logger re-dated them: same count, same day
    swappedFirst.Date = "20100103";
    swappedSecond.Date = "20100102";
    const Case cases[] = {
        {"unchanged", {worked, first, second, osaka}, TallyOutcome::Done, false,
         {"1 JA1ABC 20100102 4 CW", "3 JA3AAA 20100104 2 CW"}},
        {"another QSO now at the record's number, same date and area", {worked, swappedFirst, swappedSecond, osaka},
         TallyOutcome::Done, true, {"1 JA1XYZ 20100102 6 FT8", "3 JA3AAA 20100104 2 CW"}},
        {"a QSO added before", {qso("20091231", "7.041", "CW", "2701", false, "JA3OLD"), worked, first, second, osaka},
         TallyOutcome::Done, true, {"1 JA1ABC 20100102 4 CW", "3 JA3AAA 20100104 2 CW"}},
        {"the confirmed QSO deleted", {worked, second, osaka}, TallyOutcome::Done, true,
         {"1 JA1XYZ 20100103 6 FT8", "3 JA3AAA 20100104 2 CW"}},
        {"the log gone", {}, TallyOutcome::LogCannotBeOpened, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.log.empty())
            test::RemoveFile(Dir().File("vireon.vdb"));
        else
            ASSERT_NO_FATAL_FAILURE(MakeLog(c.log));
        stats = searched;
        EXPECT_EQ(ReadApplicationList(AwardFilter, nullptr, &stats, &entries, &qsos, &again), c.outcome);
        EXPECT_EQ(again, c.searchedAgain);
        EXPECT_EQ(lines(), c.lines);
        EXPECT_EQ(entries.size(), c.lines.size());
        // The search's result is replaced only by a fresh one that was read.
        EXPECT_EQ(stats.RecordCount, c.searchedAgain ? static_cast<int32_t>(c.log.size()) : 4);
    }
    ASSERT_NO_FATAL_FAILURE(MakeLog({worked, first, second, osaka}));
    ASSERT_EQ(ReadApplicationList(AwardFilter, nullptr, &stats, &entries, &qsos, &again), TallyOutcome::Done);
    ASSERT_EQ(qsos.size(), 2u);
    EXPECT_EQ(qsos[0].Time, test::DumpLog(Dir().Path())[1].Fields[test::kDumpTime]);

    // Nothing confirmed: no line, and the log still read.
    SetFilter(Ajd, kAllBands, "", 0, 20100101);
    ASSERT_EQ(TallyLoggerLog(AwardFilter, nullptr, stats), TallyOutcome::Done);
    EXPECT_EQ(ReadApplicationList(AwardFilter, nullptr, &stats, &entries, &qsos, &again), TallyOutcome::Done);
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(again);
}

}  // namespace
