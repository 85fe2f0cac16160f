// The tally's predicates and its accumulation, on hand-made texts.
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "awards/AwardFilter.h"
#include "awards/AwardTally.h"

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
