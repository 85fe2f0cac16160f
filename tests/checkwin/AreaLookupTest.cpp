// The area lookup without a window: which text asks for an area, which area
// a typed code or a QSO's code names, the QSOs listed for it in one pass,
// and what the status bar says.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MemoryLog.h"
#include "checkwin/AreaLookup.h"

namespace {

using test::MemoryLog;
using test::Qso;

class AreaLookupRules : public ::testing::Test {
protected:
    void SetUp() override {
        Entry(cities_[0], "0101  ", "札幌");
        Entry(cities_[1], "1001  ", "東京23区 *10/03", 201003);
        Entry(cities_[2], "100101", "千代田");
        Entry(cities_[3], "0102  ", "旭川");
        Entry(counties_[0], "01001 ", "石狩郡");
    }
    static void Entry(AreaEntry& e, const char* code, const char* name, int32_t deleted = 0) {
        std::snprintf(e.Code, sizeof e.Code, "%s", code);
        std::snprintf(e.Name, sizeof e.Name, "%s", name);
        e.DeletedYm = deleted;
    }
    AreaTarget Jcc(int area) const { return {::Jcc, area, ""}; }

    AreaEntry cities_[kAreaTableSize] = {};
    AreaEntry counties_[kAreaTableSize] = {};
};

std::vector<int> RecordNumbers(const QsoRows& rows) {
    std::vector<int> numbers;
    for (int i = 0; i < rows.Count(); ++i) numbers.push_back(rows.RecordNumber(i));
    return numbers;
}

TEST_F(AreaLookupRules, TypedCodesNameACityWardCountyOrTown) {
    struct Case {
        const char* typed;
        bool isCode;
        int32_t kind;
        int area;
    };
    const Case cases[] = {
        {"0101", true, ::Jcc, 0},
        {"100101", true, ::Jcc, 2},      // a ward counted by itself
        {"010105", true, ::Jcc, 0},      // any other ward: its city
        {"01001", true, ::Jcg, 0},
        {"01001A", true, ::Jcg, 0},      // a town: its county
        {"01001a", true, ::Jcg, 0},
        {"9999", true, 0, -1},           // in neither table
        {"99999Z", true, 0, -1},
        {"0103", true, 0, -1},
        {"JA1ABC", false, 0, -1},        // call signs are never all digits
        {"123", false, 0, -1},
        {"1234567", false, 0, -1},
        {"01001AB", false, 0, -1},
        {"0100A1", false, 0, -1},
        {"0101 ", false, 0, -1},
        {"", false, 0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAreaCodeText(c.typed), c.isCode) << c.typed;
        if (!c.isCode) continue;
        const AreaTarget t = AreaOfTypedCode(c.typed, cities_, counties_);
        EXPECT_EQ(t.Kind, c.kind) << c.typed;
        EXPECT_EQ(t.Area, c.area) << c.typed;
        EXPECT_EQ(t.Code, c.kind == 0 ? c.typed : "") << c.typed;
    }
}

TEST_F(AreaLookupRules, AQsosCodeNamesTheAreaTheTallyCountsItFor) {
    struct Case {
        const char* code;
        const char* date;
        int32_t kind;
        int area;
        const char* box;
    };
    const Case cases[] = {
        {"100101", "09/12/31", ::Jcc, 1, "1001"},   // before the ward period
        {"100101", "10/04/01", ::Jcc, 2, "100101"},
        {"010105", "21/01/01", ::Jcc, 0, "0101"},
        {"01001A", "21/01/01", ::Jcg, 0, "01001"},
        {"01001 ", "21/01/01", ::Jcg, 0, "01001"},
        {"9999  ", "21/01/01", 0, -1, "9999"},
        {"ABC", "21/01/01", 0, -1, "ABC"},
    };
    for (const Case& c : cases) {
        const AreaTarget t = AreaOfQsoCode(c.code, c.date, cities_, counties_);
        EXPECT_EQ(t.Kind, c.kind) << c.code;
        EXPECT_EQ(t.Area, c.area) << c.code;
        EXPECT_EQ(AreaCodeText(t, t.Kind == ::Jcg ? counties_ : cities_), c.box) << c.code;
    }
}

TEST_F(AreaLookupRules, OnePassListsTheAreasQsosAndTheStatusCountsOnlyThoseThatCount) {
    const std::vector<Qso> log = {
        {"20090101", "7.041", "CW", "100101", true},    // 1: ward before the period: 1001, confirmed on 7
        {"20090102", "14.074", "FT8", "0101", true},    // 2: another city
        {"20100301", "14.074", "FT8", "1001", false},   // 3: worked on 14
        {"20100401", "21.074", "SSB", "1001", true},    // 4: after the deletion: listed, not counted
        {"20100402", "21.074", "FT8", "100101", true},  // 5: the ward by itself
        {"20100403", "0.475", "CW", "1001  ", false},   // 6: no band, after the deletion
        {"20100404", "7.041", "CW", "9999", false},     // 7: a code of no table
    };
    const char* tokyo = "JCC 1001 東京23区 *10/03  ";
    struct Case {
        AreaTarget target;
        std::vector<int> recNos;
        std::string status;
    };
    const Case cases[] = {
        {Jcc(1), {1, 3, 4, 6}, tokyo + std::string("Cfm 7  Wkd 14  /  Cfm CW  Wkd FT8")},
        {Jcc(2), {5}, "JCC 100101 千代田  Cfm 21  /  Cfm FT8"},
        {Jcc(3), {}, "JCC 0102 旭川  未交信"},
        {{::Jcg, 0, ""}, {}, "JCG 01001 石狩郡  未交信"},
        {{0, -1, "9999"}, {7}, "JCC/JCG の表にない番号です"},
    };
    for (const Case& c : cases) {
        MemoryLog source(log);
        QsoRows rows;
        const AreaEntry* table = c.target.Kind == ::Jcg ? counties_ : cities_;
        const AreaQsos found = ListAreaQsos(c.target, table, nullptr, -1, source, rows);
        EXPECT_EQ(RecordNumbers(rows), c.recNos) << c.status;
        EXPECT_EQ(found.Listed, static_cast<int>(c.recNos.size()));
        EXPECT_EQ(AreaStatusText(c.target, table, found), c.status);
        EXPECT_EQ(source.Opens, 1) << "one pass";
        EXPECT_EQ(source.Reads, static_cast<int>(log.size())) << "one pass";
    }
    // Rows keep the code as stored, the ward's too.
    MemoryLog source(log);
    QsoRows rows;
    ListAreaQsos(Jcc(1), cities_, nullptr, -1, source, rows);
    EXPECT_STREQ(rows.Text(0, kColumnCode), "100101");

    // Only deleted-area QSOs after the deletion: listed, yet not worked.
    MemoryLog late({{"20110101", "7.041", "CW", "1001", true}});
    QsoRows lateRows;
    const AreaQsos found = ListAreaQsos(Jcc(1), cities_, nullptr, -1, late, lateRows);
    EXPECT_EQ(found.Listed, 1);
    EXPECT_EQ(AreaStatusText(Jcc(1), cities_, found), tokyo + std::string("未交信"));
}

TEST_F(AreaLookupRules, FromTheAwardResultsUnderTheCriteriaAndOneBand) {
    const std::vector<Qso> log = {
        {"20090101", "7.041", "CW", "0101", true},      // 1
        {"20090102", "14.074", "FT8", "0101", false},   // 2
        {"20090103", "7.041", "SSB", "010102", false},  // 3: a ward of the city
        {"20200101", "7.041", "CW", "0101", true},      // 4: after the end date
    };
    AwardCriteria criteria{};
    criteria.AwardKind = ::Jcc;
    for (int b = 0; b < kBandCount; ++b) criteria.BandSelected[b] = 1;
    criteria.EndDate = 20151231;
    struct Case {
        int band;
        std::vector<int> recNos;
        const char* status;
    };
    const Case cases[] = {
        {-1, {1, 2, 3}, "JCC 0101 札幌  Cfm 7  Wkd 14  /  Cfm CW  Wkd FT8 SSB"},
        {2, {1, 3}, "JCC 0101 札幌  Cfm 7  /  Cfm CW  Wkd SSB"},
        {4, {2}, "JCC 0101 札幌  Wkd 14  /  Wkd FT8"},
        {6, {}, "JCC 0101 札幌  未交信"},
    };
    for (const Case& c : cases) {
        MemoryLog source(log);
        QsoRows rows;
        const AreaQsos found = ListAreaQsos(Jcc(0), cities_, &criteria, c.band, source, rows);
        EXPECT_EQ(RecordNumbers(rows), c.recNos) << c.band;
        EXPECT_EQ(AreaStatusText(Jcc(0), cities_, found), c.status);
    }
}

TEST_F(AreaLookupRules, ResultRowsNameTheirAreaAndTheWindowItsCaption) {
    struct Case {
        int32_t kind;
        const char* code;
        int area;   // -1: no area (Kind 0)
        const char* caption;
    };
    const Case cases[] = {
        {::Ajd, "1", 1, "AJD 1"},
        {::Ajd, "0", 0, "AJD 0"},
        {::Waja, "10", 10, "10 東京都"},
        {::Waja, "神奈川", 11, "11 神奈川"},
        {::Waja, "48", -1, ""},
        {::Jcc, "1001  ", 1, "1001 東京23区 *10/03"},
        {::Jcg, "01001 ", 0, "01001 石狩郡"},
        {::Jcc, "", -1, ""},       // the grid's totals
        {::Jcc, "9999  ", -1, ""},
    };
    for (const Case& c : cases) {
        const AreaEntry* table = c.kind == ::Jcg ? counties_ : cities_;
        const AreaTarget t = AreaOfAwardRow(c.kind, table, c.code);
        EXPECT_EQ(t.Area, c.area) << c.code;
        EXPECT_EQ(t.Kind, c.area < 0 ? 0 : c.kind) << c.code;
        if (c.area >= 0) {
            EXPECT_EQ(AreaCaption(t, table), c.caption);
        }
    }
}

}  // namespace
