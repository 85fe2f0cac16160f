// The result list without its window: columns, rows, cell texts and sorting.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "awards/AwardFilter.h"
#include "awards/AwardList.h"

namespace {

class AwardListRules : public ::testing::Test {
protected:
    void SetUp() override {
        savedSort_ = ColumnSortState;
        std::memcpy(savedJcc_, JccTable, sizeof JccTable);
        std::memcpy(savedJcg_, JcgTable, sizeof JcgTable);
        std::memset(JccTable, 0, sizeof JccTable);
        std::memset(JcgTable, 0, sizeof JcgTable);
    }
    void TearDown() override {
        ColumnSortState = savedSort_;
        std::memcpy(JccTable, savedJcc_, sizeof JccTable);
        std::memcpy(JcgTable, savedJcg_, sizeof JcgTable);
    }
    static void SetEntry(AreaEntry& e, const char* code, const char* name, int32_t deletedYm, int32_t hidden) {
        std::memset(&e, 0, sizeof e);
        std::snprintf(e.Code, sizeof e.Code, "%s", code);
        std::snprintf(e.Name, sizeof e.Name, "%s", name);
        e.DeletedYm = deletedYm;
        e.Hidden = hidden;
    }
    static std::vector<std::string> Column(const ListRows& rows, int column) {
        std::vector<std::string> texts;
        for (int i = 0; i < rows.Count(); ++i) texts.push_back(rows.Text(i, column));
        return texts;
    }
    // The rows of stats_ under a kind and the list options.
    void Build(int32_t kind, int32_t unworked, int32_t full, int32_t start) {
        AwardCriteria criteria{};
        criteria.AwardKind = kind;
        criteria.ShowUnworked = unworked;
        criteria.ShowFullList = full;
        criteria.StartDate = start;
        stats_.Kind = kind;
        BuildAwardRows(criteria, stats_, AreaTableOfKind(kind), rows_);
    }
    bool Sort(int column) { return SortByClick(rows_, column, ColumnSortState); }

    ListSortState savedSort_;
    AreaEntry savedJcc_[kAreaTableSize];
    AreaEntry savedJcg_[kAreaTableSize];
    AwardStatistics stats_;
    ListRows rows_;
};

using Texts = std::vector<std::string>;

TEST_F(AwardListRules, ColumnsOfEachKind) {
    EXPECT_EQ(AwardColumnCount(Ajd), 5);
    EXPECT_EQ(AwardColumnCount(Jcg), 7);
    EXPECT_EQ(AwardColumnCount(0), 0);
    EXPECT_EQ(AwardColumnAt(Waja, 5), nullptr);
    EXPECT_EQ(AwardColumnAt(Jcc, -1), nullptr);
    // Titles are CP932: the AJD area title is half-width katakana.
    EXPECT_EQ(std::string(AwardColumnAt(Ajd, 1)->Title), "\xb4\xd8\xb1");
    // Alignment differs between AJD and WAJA for the same dates.
    EXPECT_EQ(AwardColumnAt(Ajd, 2)->Align, ColumnAlign::Right);
    EXPECT_EQ(AwardColumnAt(Waja, 2)->Align, ColumnAlign::Left);
    EXPECT_EQ(AwardColumnAt(Jcc, 3)->Width, 210);
}

TEST_F(AwardListRules, StatCellTexts) {
    const struct { AreaStat s; const char* state; const char* first; const char* last; const char* count; } cases[] = {
        {{0, 0, 0, 0}, "", "", "", "0"},
        {{20110513, 20110513, 3, 1}, "Wkd", "2011/05/13", "", "3"},
        {{19991231, 20000101, 2, 2}, "Cfm", "1999/12/31", "2000/01/01", "2"},
        {{0, 0, 1, 1}, "Wkd", "", "", "1"},                  // an undated QSO
        {{20100101, 20121231, 123456, 7}, "", "2010/01/01", "2012/12/31", "123456"},
    };
    for (const auto& c : cases) {
        stats_.Areas[5] = c.s;
        Build(Ajd, 0, 0, 0);
        // area 5 is the fifth row
        EXPECT_STREQ(rows_.Text(4, 0), c.state);
        EXPECT_STREQ(rows_.Text(4, 2), c.first);
        EXPECT_STREQ(rows_.Text(4, 3), c.last);
        EXPECT_STREQ(rows_.Text(4, 4), c.count);
    }
}

TEST_F(AwardListRules, AjdListsTenAreasWithAreaZeroLast) {
    stats_.Areas[0] = {20200101, 20200101, 4, 1};
    Build(Ajd, 1, 1, 20300101);    // the JCC options play no part
    ASSERT_EQ(rows_.Count(), 10);
    EXPECT_EQ(Column(rows_, 1), (Texts{"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}));
    EXPECT_EQ(Column(rows_, 0), (Texts{"", "", "", "", "", "", "", "", "", "Wkd"}));
    EXPECT_EQ(Column(rows_, 4), (Texts{"0", "0", "0", "0", "0", "0", "0", "0", "0", "4"}));
    EXPECT_STREQ(rows_.Text(9, 2), "2020/01/01");
    for (int i = 0; i < 9; ++i) EXPECT_STREQ(rows_.Text(i, 2), "");
}

TEST_F(AwardListRules, WajaListsAllPrefectures) {
    stats_.Areas[47] = {20050505, 20060606, 2, 2};
    Build(Waja, 0, 0, 0);
    ASSERT_EQ(rows_.Count(), 47);
    EXPECT_STREQ(rows_.Text(0, 1), "北海道");
    EXPECT_STREQ(rows_.Text(10, 1), "神奈川");
    EXPECT_STREQ(rows_.Text(46, 1), "沖縄県");
    EXPECT_STREQ(rows_.Text(46, 0), "Cfm");
    EXPECT_STREQ(rows_.Text(46, 3), "2006/06/06");
    EXPECT_STREQ(rows_.Text(45, 0), "");
}

TEST_F(AwardListRules, AreaRowRules) {
    // code, deleted YYYYMM, hidden, QSL state
    const struct { const char* code; int32_t deleted; int32_t hidden; int32_t state; } entries[] = {
        {"0101  ", 0, 0, 2},        // A: live, confirmed
        {"0102  ", 0, 0, 0},        // B: live, never worked
        {"0103  ", 0, 1, 1},        // C: live, worked, hidden
        {"0104  ", 200912, 0, 1},   // D: deleted before the start month, worked
        {"0105  ", 200912, 1, 1},   // E: deleted before, worked, hidden
        {"0106  ", 200912, 0, 0},   // F: deleted before, not worked
        {"0107  ", 201001, 1, 0},   // G: deleted in the start month, hidden, not worked
        {"0108  ", 201001, 0, 0},   // H: deleted in the start month, not worked
    };
    for (size_t i = 0; i < std::size(entries); ++i) {
        SetEntry(JccTable[i], entries[i].code, "name", entries[i].deleted, entries[i].hidden);
        stats_.Areas[i].QslState = entries[i].state;
        stats_.Areas[i].QsoCount = entries[i].state ? 1 : 0;
    }
    // After the empty entry nothing is listed, even in the full list.
    SetEntry(JccTable[std::size(entries) + 1], "0199  ", "late", 0, 0);

    const struct { const char* name; int32_t unworked, full, start; Texts codes; } cases[] = {
        {"worked", 0, 0, 0, {"0101  ", "0104  "}},
        {"unworked", 1, 0, 0, {"0102  ", "0106  ", "0108  "}},
        {"full list, no start", 0, 1, 0,
         {"0101  ", "0102  ", "0103  ", "0104  ", "0105  ", "0106  ", "0107  ", "0108  "}},
        {"full list from 2010-01-01", 0, 1, 20100101,
         {"0101  ", "0102  ", "0103  ", "0104  ", "0107  ", "0108  "}},
        {"full list from 2009-12-31", 0, 1, 20091231,
         {"0101  ", "0102  ", "0103  ", "0104  ", "0105  ", "0106  ", "0107  ", "0108  "}},
        {"both options", 1, 1, 0, {}},
    };
    for (const auto& c : cases) {
        Build(Jcc, c.unworked, c.full, c.start);
        EXPECT_EQ(Column(rows_, 2), c.codes) << c.name;
        for (int i = 0; i < rows_.Count(); ++i) {
            char number[16];
            std::snprintf(number, sizeof number, "%4d", i + 1);
            EXPECT_STREQ(rows_.Text(i, 0), number) << c.name;   // consecutive, right-aligned
        }
    }
    // The same rules on the county table for JCG.
    SetEntry(JcgTable[0], "01001 ", "郡", 0, 0);
    stats_.Areas[0] = {20100101, 20100101, 1, 2};
    Build(Jcg, 0, 0, 0);
    ASSERT_EQ(rows_.Count(), 1);
    EXPECT_STREQ(rows_.Text(0, 2), "01001 ");
}

TEST_F(AwardListRules, AreaCellsShowTheEntryAsStored) {
    SetEntry(JccTable[0], "0101  ", "ｻｯﾎﾟﾛｼ *05/10", 200510, 0);
    SetEntry(JccTable[1], "100101", "ABCDEFGHIJKLMNOPQRSTUVWXYZ12", 0, 0);   // 28 characters
    stats_.Areas[0] = {20050101, 20050301, 5, 1};
    Build(Jcc, 0, 1, 0);
    ASSERT_EQ(rows_.Count(), 2);
    EXPECT_STREQ(rows_.Text(0, 0), "   1");
    EXPECT_STREQ(rows_.Text(0, 1), "Wkd");
    EXPECT_STREQ(rows_.Text(0, 2), "0101  ");
    EXPECT_STREQ(rows_.Text(0, 3), "ｻｯﾎﾟﾛｼ *05/10");
    EXPECT_STREQ(rows_.Text(0, 4), "2005/01/01");
    EXPECT_STREQ(rows_.Text(0, 5), "2005/03/01");
    EXPECT_STREQ(rows_.Text(0, 6), "5");
    EXPECT_STREQ(rows_.Text(1, 3), "ABCDEFGHIJKLMNOPQRSTUVWXYZ12");
    EXPECT_STREQ(rows_.Text(1, 6), "0");
}

TEST_F(AwardListRules, SortClicksFlipAndCarryAcrossKinds) {
    ColumnSortState = InitialAwardSortState();

    stats_.Areas[1] = {20200101, 20200101, 1, 2};
    stats_.Areas[2] = {20200101, 20200101, 1, 1};
    stats_.Areas[3] = {20200101, 20200101, 1, 2};
    Build(Ajd, 0, 0, 0);
    // First click on column 0: descending; equal texts keep the built order.
    ASSERT_TRUE(Sort(0));
    EXPECT_EQ(Column(rows_, 1), (Texts{"2", "1", "3", "4", "5", "6", "7", "8", "9", "0"}));
    EXPECT_EQ(Column(rows_, 0), (Texts{"Wkd", "Cfm", "Cfm", "", "", "", "", "", "", ""}));
    for (int i = 0; i < rows_.Count(); ++i) EXPECT_EQ(rows_.PositionOf(rows_.RowAt(i)), i);
    // Second click: ascending, empty cells first, then Cfm, then Wkd.
    ASSERT_TRUE(Sort(0));
    EXPECT_EQ(Column(rows_, 0), (Texts{"", "", "", "", "", "", "", "Cfm", "Cfm", "Wkd"}));
    for (int i = 0; i < rows_.Count(); ++i) EXPECT_EQ(rows_.PositionOf(rows_.RowAt(i)), i);

    // Columns without sorting leave the rows and their state alone.
    const Texts before = Column(rows_, 1);
    for (int k : {2, 3, 4, 7, 8, -1}) {
        EXPECT_FALSE(Sort(k)) << k;
        EXPECT_EQ(Column(rows_, 1), before) << k;
    }
    EXPECT_EQ(ColumnSortState.Direction(2), -1);

    // One click on column 0 of an AJD list, then in a later JCC list the
    // next click on column 0 sorts ascending: back to table order.
    ASSERT_TRUE(Sort(0));   // AJD: descending
    for (int i = 0; i < 12; ++i) {
        char code[7];
        std::snprintf(code, sizeof code, "01%02d  ", i + 1);
        SetEntry(JccTable[i], code, "x", 0, 0);
    }
    stats_ = AwardStatistics{};
    Build(Jcc, 1, 0, 0);    // all twelve unworked
    ASSERT_EQ(rows_.Count(), 12);
    ASSERT_TRUE(Sort(0));   // state 0: ascending
    EXPECT_STREQ(rows_.Text(0, 0), "   1");
    EXPECT_STREQ(rows_.Text(11, 0), "  12");
    ASSERT_TRUE(Sort(0));   // descending: 12 first, numerically
    EXPECT_STREQ(rows_.Text(0, 0), "  12");
    EXPECT_STREQ(rows_.Text(2, 0), "  10");
    EXPECT_STREQ(rows_.Text(3, 0), "   9");
    EXPECT_EQ(rows_.PositionOf(0), 11) << "the row built first is shown last";

    // Column 1 starts ascending.
    ASSERT_TRUE(Sort(1));
    EXPECT_EQ(ColumnSortState.Direction(1), 1);
}

}  // namespace
