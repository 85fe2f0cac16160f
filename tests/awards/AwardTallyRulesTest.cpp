// The tally's predicates and its accumulation, on hand-made texts.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "awards/AwardFilter.h"
#include "awards/ApplicationList.h"
#include "awards/AwardCount.h"
#include "awards/AwardTally.h"
#include "MemoryLog.h"

namespace {

class TallyRules : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = AwardFilter;
        AwardFilter = {};
        std::memcpy(savedJcc_, JccTable, sizeof JccTable);
        std::memcpy(savedJcg_, JcgTable, sizeof JcgTable);
        std::memset(JccTable, 0, sizeof JccTable);
        std::memset(JcgTable, 0, sizeof JcgTable);
    }
    void TearDown() override {
        AwardFilter = saved_;
        std::memcpy(JccTable, savedJcc_, sizeof JccTable);
        std::memcpy(JcgTable, savedJcg_, sizeof JcgTable);
    }
    static void SetCode(AreaEntry& e, const char* code) { std::snprintf(e.Code, sizeof e.Code, "%s", code); }

    AwardFilterRecord saved_;
    AreaEntry savedJcc_[kAreaTableSize];
    AreaEntry savedJcg_[kAreaTableSize];
};

TEST_F(TallyRules, DateTestAgainstTheRange) {
    const struct {
        int32_t start, end;
        const char* date;
        int result;
        int32_t current;
    } cases[] = {
        {20100101, 20101231, "10/06/15", 1, 20100615},
        {20100101, 20101231, "10/01/01", 1, 20100101},    // start inclusive
        {20100101, 20101231, "10/12/31", 1, 20101231},    // end inclusive
        {20100101, 20101231, "09/12/31", 0, 20091231},
        {20100101, 20101231, "11/01/01", -1, 20110101},
        {0, 20501231, "50/12/31", 1, 20501231},
        {0, 20501231, "51/01/01", 1, 19510101},           // 1951: before 2050
        {19600101, 20501231, "51/01/01", 0, 19510101},
        {0, 0, "10/06/15", -1, 20100615},                 // an end date of 0 ends at a dated QSO
        {0, 0, "", 1, 0},                                 // an undated one still counts
        {0, 0, "  /  /  ", 1, 0},
        {20100101, 20101231, "", 0, 0},                   // undated QSOs fail a start date
    };
    for (const auto& c : cases) {
        AwardFilter.StartDate = c.start;
        AwardFilter.EndDate = c.end;
        EXPECT_EQ(CheckQsoDate(c.date), c.result) << c.date << " in " << c.start << ".." << c.end;
        EXPECT_EQ(CurrentQsoDate, c.current) << c.date;
    }
}

TEST_F(TallyRules, DateDigitsNeverReadPastTheText) {
    // Bytes of an earlier, longer date behind the NUL must not be taken.
    char date[9] = {'1', '0', '/', '0', '\0', '1', '/', '1', '5'};
    AwardFilter.EndDate = 20991231;
    EXPECT_EQ(CheckQsoDate(date), 1);
    EXPECT_EQ(CurrentQsoDate, 20000100);   // "100" read as 100
}

TEST_F(TallyRules, ModeIsMatchedByteForByte) {
    const struct { const char* filter; const char* mode; bool selected; } cases[] = {
        {"", "anything", true}, {"", "", true},
        {"SSB", "SSB", true},   {"SSB", "ssb", false},  {"SSB", "SSB ", false},
        {"SSB", "SS", false},   {"SSB", "", false},     {"CW", "CWX", false},
        {"FT8", "FT8", true},
    };
    for (const auto& c : cases) {
        std::snprintf(AwardFilter.ModeText, sizeof AwardFilter.ModeText, "%s", c.filter);
        EXPECT_EQ(IsModeSelected(c.mode), c.selected) << "'" << c.filter << "' vs '" << c.mode << "'";
    }
}

TEST_F(TallyRules, CallAreaAndPrefectureOfCode) {
    const struct { const char* code; int area; int prefecture; } cases[] = {
        {"0101  ", 8, 1},   {"01001 ", 8, 1},  {"02", 7, 2},      {"07", 7, 7},
        {"08", 0, 8},       {"09", 0, 9},      {"10", 1, 10},     {"1001  ", 1, 10},
        {"17", 1, 17},      {"18", 2, 18},     {"21", 2, 21},     {"22", 3, 22},
        {"27", 3, 27},      {"28", 9, 28},     {"30", 9, 30},     {"31", 4, 31},
        {"35", 4, 35},      {"36", 5, 36},     {"39", 5, 39},     {"40", 6, 40},
        {"47", 6, 47},      {"48", -1, 48},    {"00", -1, 0},     {"99", -1, 99},
        {"1 ", -1, 1},      {"1A", -1, 1},     {"1", -1, 1},      {"", -1, 0},
        {" 5", -1, 5},      {"A1", -1, 0},     {"-1", -1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CallAreaOfCode(c.code), c.area) << c.code;
        EXPECT_EQ(PrefectureOfCode(c.code), c.prefecture) << c.code;
    }
}

TEST_F(TallyRules, PrefectureNamesAreCp932AsListed) {
    // 神奈川 is the short form; the bytes prove the literal went in as CP932.
    EXPECT_EQ(std::string(PrefectureTable[10].Name), "\x90\x5f\x93\xde\x90\xec");
    EXPECT_STREQ(PrefectureTable[0].Name, "北海道");
    EXPECT_STREQ(PrefectureTable[25].Name, "和歌山県");
    EXPECT_STREQ(PrefectureTable[46].Name, "沖縄県");
    // Every call area 0..9 has a prefecture and the table agrees with the
    // code rule for every number.
    int perArea[10] = {};
    for (int p = 1; p <= kPrefectureCount; ++p) {
        char code[3] = {static_cast<char>('0' + p / 10), static_cast<char>('0' + p % 10), 0};
        EXPECT_EQ(CallAreaOfCode(code), PrefectureTable[p - 1].CallArea) << p;
        ++perArea[PrefectureTable[p - 1].CallArea];
    }
    const int expected[10] = {2, 8, 4, 6, 5, 4, 8, 6, 1, 3};
    for (int a = 0; a < 10; ++a) EXPECT_EQ(perArea[a], expected[a]) << a;
}

TEST_F(TallyRules, AccumulationOfOneArea) {
    struct Qso { int32_t date; const char* qsl; };
    const struct {
        const char* name;
        Qso qsos[3];
        int n;
        AreaStat result;
    } cases[] = {
        {"confirmed then worked", {{20100101, "  R"}, {20100202, "   "}}, 2, {20100101, 20100202, 2, 2}},
        {"worked then confirmed", {{20100101, "   "}, {20100202, "  J"}}, 2, {20100101, 20100202, 2, 2}},
        {"first date never lowered", {{20110501, "   "}, {20100101, "   "}}, 2, {20110501, 20110501, 2, 1}},
        {"last date raised only", {{20100101, ""}, {20120101, ""}, {20110101, ""}}, 3, {20100101, 20120101, 3, 1}},
        {"undated first QSO", {{0, ""}, {20100505, ""}}, 2, {20100505, 20100505, 2, 1}},
        {"mark at position 2 only", {{20100101, "RR "}}, 1, {20100101, 20100101, 1, 1}},
        {"short QSL texts have no mark", {{20100101, "R"}, {20100101, "RR"}}, 2, {20100101, 20100101, 2, 1}},
        {"empty QSL", {{20100101, ""}}, 1, {20100101, 20100101, 1, 1}},
    };
    for (const auto& c : cases) {
        AreaStat s = {};
        for (int i = 0; i < c.n; ++i) {
            CurrentQsoDate = c.qsos[i].date;
            AddQso(s, c.qsos[i].qsl);
        }
        EXPECT_EQ(s.FirstDate, c.result.FirstDate) << c.name;
        EXPECT_EQ(s.LastDate, c.result.LastDate) << c.name;
        EXPECT_EQ(s.QsoCount, c.result.QsoCount) << c.name;
        EXPECT_EQ(s.QslState, c.result.QslState) << c.name;
    }
}

TEST_F(TallyRules, ShortQslIgnoresBytesBehindItsEnd) {
    // The shared record keeps an older, longer text behind the NUL.
    const char qsl[6] = {'J', '\0', 'R', 'R', '\0', '\0'};
    AreaStat s = {};
    CurrentQsoDate = 20200101;
    AddQso(s, qsl);
    EXPECT_EQ(s.QslState, 1);
}

TEST_F(TallyRules, AreaLookupInTableOrder) {
    SetCode(JccTable[0], "0101  ");
    SetCode(JccTable[1], "1001  ");
    SetCode(JccTable[2], "0101  ");    // duplicate: the earlier one matches
    SetCode(JccTable[3], "100101");
    // JccTable[4] empty: the table ends here
    SetCode(JccTable[5], "4701  ");
    SetCode(JcgTable[0], "01001 ");
    SetCode(JcgTable[1], "0101  ");

    const struct { int32_t kind; const char* code; int position; } cases[] = {
        {Jcc, "0101  ", 0}, {Jcc, "1001  ", 1}, {Jcc, "100101", 3},
        {Jcc, "4701  ", -1},                       // after the empty entry
        {Jcc, "0101", -1},  {Jcc, "0101 ", -1},    // blanks are part of the code
        {Jcc, "01001 ", -1},                       // a county code is no city
        {Jcg, "01001 ", 0}, {Jcg, "0101  ", 1}, {Jcg, "1001  ", -1},
        {Ajd, "0101  ", -1}, {Waja, "0101  ", -1},
    };
    for (const auto& c : cases) {
        AwardFilter.AwardKind = c.kind;
        EXPECT_EQ(FindAreaEntry(c.code), c.position) << c.kind << " '" << c.code << "'";
    }
}

}  // namespace

// ---- The whole tally over a log in memory -------------------------------

namespace {

using test::MemoryLog;
using test::Qso;

AwardCriteria Criteria(int32_t kind, int32_t start = 0, int32_t end = 20991231, const char* mode = "") {
    AwardCriteria c{};
    c.AwardKind = kind;
    for (int b = 0; b < kBandCount; ++b) c.BandSelected[b] = 1;
    c.StartDate = start;
    c.EndDate = end;
    std::snprintf(c.ModeText, sizeof c.ModeText, "%s", mode);
    return c;
}

TEST(TallyOverRecords, EachKindCountsItsAreasUnderTheCriteria) {
    AreaEntry cities[kAreaTableSize] = {}, counties[kAreaTableSize] = {};
    std::snprintf(cities[0].Code, sizeof cities[0].Code, "0101  ");
    std::snprintf(cities[1].Code, sizeof cities[1].Code, "1001  ");
    std::snprintf(counties[0].Code, sizeof counties[0].Code, "0101  ");   // a city code in the county table
    std::snprintf(counties[1].Code, sizeof counties[1].Code, "01001 ");
    const std::vector<Qso> log = {
        {"20100101", "7.041", "CW", "0101", true},      // Hokkaido, area 8
        {"20100102", "14.074", "FT8", "100101", false}, // a ward of Tokyo: counts for 1001 in JCC
        {"20100103", "5.000", "CW", "0101", false},     // no band
        {"20100104", "7.041", "cw", "1001", false},     // counted only without a mode filter
        {"20100105", "7.041", "CW", "01001A", true},    // a town of county 01001
        {"20100106", "7.041", "CW", "4701", true},      // Okinawa, area 6
        {"20110101", "7.041", "CW", "0101", true},      // after the end date of some cases
    };
    struct Area { int index; AreaStat stat; };
    const struct {
        const char* name;
        AwardCriteria criteria;
        std::vector<Area> areas;   // every other area stays empty
    } cases[] = {
        {"AJD", Criteria(Ajd), {{8, {20100101, 20110101, 3, 2}}, {1, {20100102, 20100104, 2, 1}}, {6, {20100106, 20100106, 1, 2}}}},
        {"WAJA from 2010-01-02 to 2010-12-31", Criteria(Waja, 20100102, 20101231),
         {{1, {20100105, 20100105, 1, 2}}, {10, {20100102, 20100104, 2, 1}}, {47, {20100106, 20100106, 1, 2}}}},
        {"JCC in CW", Criteria(Jcc, 0, 20991231, "CW"), {{0, {20100101, 20110101, 2, 2}}}},
        {"JCC", Criteria(Jcc), {{0, {20100101, 20110101, 2, 2}}, {1, {20100102, 20100104, 2, 1}}}},
        {"JCG", Criteria(Jcg), {{0, {20100101, 20110101, 2, 2}}, {1, {20100105, 20100105, 1, 2}}}},
        {"an end date of 0 ends at the first dated QSO", Criteria(Ajd, 0, 0), {}},
        {"an unknown kind counts nothing", Criteria(9), {}},
    };
    for (const auto& c : cases) {
        MemoryLog source(log);
        const AwardStatistics stats =
            TallyAward(c.criteria, c.criteria.AwardKind == Jcg ? counties : cities, source);
        EXPECT_EQ(stats.Kind, c.criteria.AwardKind) << c.name;
        EXPECT_EQ(source.Opens, 1) << c.name;
        EXPECT_EQ(source.Closes, 1) << c.name;
        for (int i = 0; i < kAreaTableSize; ++i) {
            AreaStat want{};
            for (const Area& a : c.areas)
                if (a.index == i) want = a.stat;
            const AreaStat& got = stats.Areas[i];
            EXPECT_TRUE(got.FirstDate == want.FirstDate && got.LastDate == want.LastDate &&
                        got.QsoCount == want.QsoCount && got.QslState == want.QslState)
                << c.name << ": area " << i << " has " << got.FirstDate << " " << got.LastDate << " "
                << got.QsoCount << " " << got.QslState;
        }
    }
}

TEST(TallyOverRecords, ScanStopsAfterTheEndDateAndPassesOverUnreadableRecords) {
    const std::vector<Qso> log = {{"20100101", "7.041", "CW", "0101"}, {"20100102", "7.041", "CW", "0101"},
                                  {"20100103", "7.041", "CW", "0101"}, {"20100201", "7.041", "CW", "0101"},
                                  {"20100103", "7.041", "CW", "0101"}};
    MemoryLog source(log, {2});
    const AwardStatistics stats = TallyAward(Criteria(Ajd, 0, 20100131), nullptr, source);
    EXPECT_EQ(stats.Areas[8].QsoCount, 2) << "record 2 is left out, record 5 is never reached";
    EXPECT_EQ(source.Reads, 4);
}

TEST(TallyOverRecords, RepeatedTextsAreReadAgainWhenTheirBytesChange) {
    // Most records repeat the date and frequency of the one before; the
    // scan reads those once. A shorter date text over the bytes of a longer
    // one is a new date, and a new frequency text a new band lookup.
    std::vector<Qso> log(6, Qso{"20100501", "7.041", "CW", "0101"});
    log[3].Freq = "14.074";
    log[4].Freq = "7.041";
    MemoryLog source(log);
    std::memcpy(source.Stored(6).Date, "10/0\0" "5/01", 9);   // "10/0", the old bytes behind it
    const AwardStatistics stats = TallyAward(Criteria(Ajd, 20100101), nullptr, source);
    EXPECT_EQ(stats.Areas[8].QsoCount, 5) << "the sixth record's date reads as 100, before the start";
    EXPECT_EQ(source.BandLookups, 2) << "each distinct frequency text is looked up once";

    AwardCriteria no7 = Criteria(Ajd);
    no7.BandSelected[2] = 0;   // 7 MHz
    MemoryLog again(log);
    EXPECT_EQ(TallyAward(no7, nullptr, again).Areas[8].QsoCount, 1);
}

}  // namespace

// ---- What counts toward the award ----------------------------------------

namespace {

TEST(AwardCounting, DeletedAreasCountOnlyUpToTheirDeletionMonth) {
    EXPECT_TRUE(AwardAcceptsQso(0, 20250101));
    EXPECT_TRUE(AwardAcceptsQso(0, 0)) << "an existing area takes an undated QSO";
    EXPECT_TRUE(AwardAcceptsQso(201003, 20100331));
    EXPECT_TRUE(AwardAcceptsQso(201003, 20100301));
    EXPECT_FALSE(AwardAcceptsQso(201003, 20100401));
    EXPECT_FALSE(AwardAcceptsQso(201003, 0)) << "an undated QSO cannot show the area still existed";

    AreaEntry cities[kAreaTableSize] = {};
    std::snprintf(cities[0].Code, sizeof cities[0].Code, "1001  ");   // deleted 2010-03
    cities[0].DeletedYm = 201003;
    std::snprintf(cities[1].Code, sizeof cities[1].Code, "0101  ");
    std::snprintf(cities[2].Code, sizeof cities[2].Code, "0102  ");   // deleted 2005-09, only after
    cities[2].DeletedYm = 200509;
    cities[1].Hidden = 1;   // a hidden area still counts
    const std::vector<Qso> log = {
        {"20100220", "14.074", "FT8", "1001", false},   // 1: before the deletion, worked
        {"20100331", "7.041", "CW", "1001", true},      // 2: in the deletion month, confirmed on 7
        {"20100415", "14.074", "FT8", "1001", true},    // 3: after: not for the award
        {"20110101", "21.074", "FT8", "0101", false},   // 4
        {"20110102", "21.074", "FT8", "0101", true},    // 5: confirmed only on 21
        {"20110103", "7.041", "CW", "0101", false},     // 6
        {"20110104", "7.041", "CW", "0102", true},      // 7: after its deletion
    };
    MemoryLog source(log);
    const AwardStatistics stats = TallyAward(Criteria(Jcc), cities, source);
    const AreaAward& tokyo = stats.Award[0];
    EXPECT_EQ(stats.Areas[0].QsoCount, 3) << "the list still shows every QSO";
    EXPECT_EQ(tokyo.ConfirmedBands, 1u << 2);
    EXPECT_EQ(tokyo.WorkedBands, (1u << 2) | (1u << 4));
    EXPECT_EQ(tokyo.FirstConfirmedRecNo, 2);
    EXPECT_EQ(tokyo.FirstConfirmedDate, 20100331);
    const AreaAward& sapporo = stats.Award[1];
    EXPECT_EQ(sapporo.ConfirmedBands, 1u << 6);
    EXPECT_EQ(sapporo.WorkedBands, (1u << 6) | (1u << 2));
    EXPECT_EQ(sapporo.FirstConfirmedRecNo, 5);
    EXPECT_EQ(sapporo.FirstConfirmedBand, 6);
    EXPECT_EQ(stats.Award[2].WorkedBands, 0u);
    EXPECT_EQ(stats.Areas[2].QslState, 2) << "the list shows it confirmed; the award does not count it";

    const AwardTotals totals = CountAward(stats, cities);
    EXPECT_EQ(totals.Areas, 3);
    EXPECT_EQ(totals.Confirmed, 2);
    EXPECT_EQ(totals.WorkedOnly, 0);
    EXPECT_EQ(totals.ConfirmedOnBand[2], 1);
    EXPECT_EQ(totals.ConfirmedOnBand[6], 1);
    EXPECT_EQ(totals.ConfirmedOnBand[4], 0);

    // The application list: the first confirmed QSO the award takes, in table order.
    const std::vector<ApplicationEntry> entries = ApplicationEntries(stats, cities);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Code, "1001") << "without the master's padding";
    EXPECT_EQ(entries[0].RecNo, 2);
    EXPECT_EQ(entries[1].RecNo, 5);
    EXPECT_EQ(ApplicationListCsv(entries, {{"JA1ABC", "12:00", "CW"}, {"JA8,X", "00:01", "FT8"}}),
              "No,Code,Qth,Call,Date,Time,Band,Mode\r\n"
              "1,1001,,JA1ABC,2010/03/31,12:00,7,CW\r\n"
              "2,0101,,\"JA8,X\",2011/01/02,00:01,21,FT8\r\n");

    // Two confirmed QSOs the award accepts, the later-dated one first in the
    // log: the first in the log's order is the one written.
    const std::vector<Qso> unordered = {
        {"20120505", "14.074", "CW", "0101", false},   // 1
        {"20120606", "21.074", "FT8", "0101", true},   // 2: first confirmed in log order
        {"20090101", "7.041", "CW", "0101", true},     // 3: earlier date, later record
    };
    MemoryLog unorderedSource(unordered);
    const AwardStatistics mixed = TallyAward(Criteria(Jcc), cities, unorderedSource);
    const std::vector<ApplicationEntry> first = ApplicationEntries(mixed, cities);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].RecNo, 2);
    EXPECT_EQ(ApplicationListCsv(first, {{"JA1ABC", "12:00", "FT8"}}),
              "No,Code,Qth,Call,Date,Time,Band,Mode\r\n1,0101,,JA1ABC,2012/06/06,12:00,21,FT8\r\n");

    // The grid keeps to the list's rows but counts every area.
    AwardCriteria unworked = Criteria(Jcc);
    unworked.ShowUnworked = 1;
    ListRows grid;
    BuildBandGridRows(unworked, stats, cities, grid);
    ASSERT_EQ(grid.Count(), 1) << "no area is unworked: only the total row";
    EXPECT_STREQ(grid.Text(0, 0), "計");
    EXPECT_STREQ(grid.Text(0, 3 + 2), "1") << "7 MHz";
    AwardCriteria worked = Criteria(Jcc);
    BuildBandGridRows(worked, stats, cities, grid);
    ASSERT_EQ(grid.Count(), 3) << "the hidden area is not listed";
    EXPECT_STREQ(grid.Text(0, 1), "1001  ");
    EXPECT_STREQ(grid.Text(0, 3 + 2), "C");
    EXPECT_STREQ(grid.Text(0, 3 + 4), "W");
    EXPECT_STREQ(grid.Text(0, 3 + 6), "");
    EXPECT_STREQ(grid.Text(1, 1), "0102  ");
    EXPECT_STREQ(grid.Text(1, 3 + 2), "") << "not for the award after its deletion";
    EXPECT_EQ(BandGridColumns(worked).size(), 3u + kBandCount);
}

TEST(AwardCounting, StatusTextGivesTheTotalsAndTheNextLevel) {
    auto totals = [](int confirmed, int worked, int areas) {
        AwardTotals t;
        t.Confirmed = confirmed;
        t.WorkedOnly = worked;
        t.Areas = areas;
        return t;
    };
    const struct { int32_t kind; AwardTotals totals; const char* text; } cases[] = {
        {Jcc, totals(0, 0, 914), "Cfm 0  Wkd 0  全 914  JCC-100 まで 100"},
        {Jcc, totals(99, 3, 914), "Cfm 99  Wkd 3  全 914  JCC-100 まで 1"},
        {Jcc, totals(100, 0, 914), "Cfm 100  Wkd 0  全 914  JCC-150 まで 50"},
        {Jcc, totals(799, 0, 914), "Cfm 799  Wkd 0  全 914  JCC-800 まで 1"},
        {Jcc, totals(800, 0, 914), "Cfm 800  Wkd 0  全 914  JCC-800 達成"},
        {Jcg, totals(451, 2, 600), "Cfm 451  Wkd 2  全 600  JCG-500 まで 49"},
        {Jcg, totals(512, 0, 600), "Cfm 512  Wkd 0  全 600  JCG-500 達成"},
        {Ajd, totals(9, 1, 10), "Cfm 9  Wkd 1  全 10"},
        {Ajd, totals(10, 0, 10), "Cfm 10  Wkd 0  全 10  AJD 達成"},
        {Waja, totals(47, 0, 47), "Cfm 47  Wkd 0  全 47  WAJA 達成"},
    };
    for (const auto& c : cases) EXPECT_EQ(AwardStatusText(c.kind, c.totals), c.text) << c.text;
}

}  // namespace

// ---- The one rule: which area a QSO belongs to, and whether it counts ----

namespace {

TEST(AwardAreaRule, DecidesTheAreaOfAQsoAndWhetherTheAwardCountsIt) {
    AreaEntry cities[kAreaTableSize] = {}, counties[kAreaTableSize] = {};
    std::snprintf(cities[0].Code, sizeof cities[0].Code, "0101  ");
    std::snprintf(cities[1].Code, sizeof cities[1].Code, "1001  ");   // the 23 wards, deleted 2010-03
    cities[1].DeletedYm = 201003;
    std::snprintf(cities[2].Code, sizeof cities[2].Code, "100101");   // a Tokyo ward, by itself since 2010-04
    std::snprintf(counties[0].Code, sizeof counties[0].Code, "01001 ");
    struct Case {
        int32_t kind;
        const char code[7];   // the Code field's bytes, a NUL where given
        const char* date;
        int area;             // -1: none
        bool counts;
        const char* what;
    };
    const Case cases[] = {
        {Jcc, "0101  ", "21/05/01", 0, true, "a city"},
        {Jcc, "010101", "21/05/01", 0, true, "a designated city's ward counts for its city"},
        {Jcc, "100101", "10/03/31", 1, true, "a Tokyo ward before April 2010 counts for 1001"},
        {Jcc, "100101", "10/04/01", 2, true, "a Tokyo ward from April 2010 counts by itself"},
        {Jcc, "1001  ", "10/03/15", 1, true, "1001 in its deletion month"},
        {Jcc, "1001  ", "10/04/01", 1, false, "1001 after its deletion: its QSO, not the award's"},
        {Jcc, "1001  ", "", 1, false, "an undated QSO of a deleted area"},
        {Jcg, "01001 ", "21/05/01", 0, true, "a county"},
        {Jcg, "01001A", "21/05/01", 0, true, "a town counts for its county"},
        {Jcc, "01001 ", "21/05/01", -1, false, "a county is no city"},
        {Jcg, "0101  ", "21/05/01", -1, false, "a city is no county"},
        {Jcc, "9999  ", "21/05/01", -1, false, "an unknown code"},
        {Jcc, " 0101 ", "21/05/01", -1, false, "a blank before the code"},
        {Jcc, "0101", "21/05/01", -1, false, "a city without its blanks (a NUL after 4)"},
        {Jcc, "01\0" "01 ", "21/05/01", -1, false, "a NUL inside the code"},
        {Jcc, "", "21/05/01", -1, false, "no code"},
        {Ajd, "100101", "21/05/01", 1, true, "AJD: the call area of the prefecture"},
        {Waja, "01001A", "21/05/01", 1, true, "WAJA: the prefecture"},
    };
    for (const Case& c : cases) {
        const AwardAreaRule rule(c.kind, c.kind == Jcg ? counties : cities);
        char code[7];
        std::memcpy(code, c.code, sizeof code);
        char digits[7];
        TakeDateDigits(c.date, digits);
        int32_t date = 0;
        AwardCriteria any{};
        any.EndDate = 99999999;
        CheckQsoDate(any, c.date, &date);
        const QsoArea area = rule.AreaOf(code, digits, date);
        EXPECT_EQ(area.Area, c.area) << c.what;
        EXPECT_EQ(area.Accepted, c.counts) << c.what;
        // The quick test of a scan after one area never turns away a QSO of it.
        for (int other = 0; other < 3 && (c.kind == Jcc || c.kind == Jcg); ++other) {
            if (other == c.area) {
                EXPECT_TRUE(rule.MayBelongTo(c.code, other)) << c.what;
            }
        }
    }
}

TEST(AwardAreaRule, AQuickTestTurnsAwayCodesOfOtherAreasOnly) {
    AreaEntry cities[kAreaTableSize] = {};
    std::snprintf(cities[0].Code, sizeof cities[0].Code, "1001  ");
    std::snprintf(cities[1].Code, sizeof cities[1].Code, "01");   // a short code in a damaged master
    const AwardAreaRule rule(Jcc, cities);
    EXPECT_TRUE(rule.MayBelongTo("100104", 0)) << "a ward may come to its city";
    EXPECT_FALSE(rule.MayBelongTo("1002  ", 0));
    EXPECT_FALSE(rule.MayBelongTo(" 1001 ", 0));
    EXPECT_TRUE(rule.MayBelongTo("01\0X", 1)) << "bytes after the NUL do not count";
    EXPECT_FALSE(rule.MayBelongTo("0101  ", 1));
}

// The tally, the grid and the application list take the rule's answer: a
// QSO the rule gives no area is in no count, one it does not accept is in
// the area's row but in no award figure.
TEST(AwardAreaRule, ScanHandsOnWhatTheRuleDecidesWithTheCodeAsStored) {
    AreaEntry cities[kAreaTableSize] = {};
    std::snprintf(cities[0].Code, sizeof cities[0].Code, "1001  ");
    cities[0].DeletedYm = 201003;
    const std::vector<Qso> log = {
        {"20090101", "7.041", "CW", "100101", true},   // 1: a ward before the period: 1001
        {"20100401", "14.074", "FT8", "1001", true},   // 2: after the deletion
        {"20100402", "50.2", "FM", "100101", true},    // 3: a ward by itself: not 1001
        {"20100403", "0.475", "CW", "1001", false},    // 4: no band, after the deletion
    };
    struct Taken : ScannedQsoSink {
        std::vector<std::string> codes;
        std::vector<int> recNos, bands;
        std::vector<bool> accepted;
        void Take(const ScannedQso& q) override {
            codes.push_back(q.Record->Code);
            recNos.push_back(q.RecNo);
            bands.push_back(q.Band);
            accepted.push_back(q.Accepted);
        }
    };
    const AwardAreaRule rule(Jcc, cities);
    {
        MemoryLog source(log);
        Taken all;
        EXPECT_TRUE(ScanAwardQsos(nullptr, rule, 0, source, all));
        EXPECT_EQ(all.recNos, (std::vector<int>{1, 2, 4})) << "without criteria every band and date";
        EXPECT_EQ(all.codes, (std::vector<std::string>{"100101", "1001  ", "1001  "}));
        EXPECT_EQ(all.accepted, (std::vector<bool>{true, false, false}));
        EXPECT_EQ(all.bands, (std::vector<int>{2, 4, -1}));
    }
    {
        MemoryLog source(log);
        Taken counted;
        const AwardCriteria jcc = Criteria(Jcc);
        EXPECT_TRUE(ScanAwardQsos(&jcc, rule, -1, source, counted));
        EXPECT_EQ(counted.recNos, (std::vector<int>{1, 2})) << "the criteria drop the QSO without a band";
        MemoryLog again(log);
        const AwardStatistics stats = TallyAward(Criteria(Jcc), cities, again);
        EXPECT_EQ(stats.Areas[0].QsoCount, 2);
        EXPECT_EQ(stats.Award[0].WorkedBands, 1u << 2) << "only the accepted QSO";
    }
}

}  // namespace
