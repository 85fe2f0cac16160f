// The rows, sort state and text order every list of the program shares.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lists/ListRows.h"
#include "lists/TextFit.h"

namespace {

TEST(CellTextOrder, BytesAreUnsignedAndAShorterTextComesFirst) {
    const struct { const char* a; const char* b; int sign; } cases[] = {
        {"", "Cfm", -1}, {"Cfm", "Wkd", -1}, {"Wkd", "Wkd", 0}, {"ab", "abc", -1}, {"JA1AB", "JA1ABC", -1},
        {"Z", "a", -1},                               // case is significant: bytes, not letters
        {"\x82\xa0", "\x7f", 1},                      // a lead byte sorts after ASCII
        {"\xB1", "\x81\x40", 1},                      // half-width katakana after a lead byte
        {"\x93\x8c", "\x96\x6b", -1},                 // 東 before 北 by bytes
        {"   9", "  10", -1}, {"  10", " 100", -1},   // right-aligned numbers sort as numbers
        {"A", nullptr, 1}, {nullptr, "", 0},          // a null text reads as ""
    };
    for (const auto& c : cases) {
        int r = CompareCellText(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << (c.a ? c.a : "null") << " vs " << (c.b ? c.b : "null");
        r = CompareCellText(c.b, c.a);
        EXPECT_EQ((r > 0) - (r < 0), -c.sign) << (c.b ? c.b : "null") << " vs " << (c.a ? c.a : "null");
    }
}

TEST(ListRows, CellsAreCopiedCutAndPaddedToTheColumns) {
    ListRows rows(3);
    std::string source = "JA1ABC";
    rows.AddRow();
    rows.AddCell(source.c_str());
    rows.AddCell("0101  ", 4);            // at most four bytes
    rows.AddCell("third");
    rows.AddCell("a fourth cell is dropped");
    source = "JA9ZZZ";                    // the row keeps its own copy
    rows.AddRow();
    rows.AddCell("only one");             // the other cells stay empty
    rows.AddRow();                        // no cell at all
    ASSERT_EQ(rows.Count(), 3);
    EXPECT_STREQ(rows.Text(0, 0), "JA1ABC");
    EXPECT_STREQ(rows.Text(0, 1), "0101");
    EXPECT_STREQ(rows.Text(0, 2), "third");
    EXPECT_STREQ(rows.Text(1, 0), "only one");
    EXPECT_STREQ(rows.Text(1, 2), "");
    EXPECT_STREQ(rows.Text(2, 1), "");
    for (auto [position, column] : std::vector<std::pair<int, int>>{{-1, 0}, {3, 0}, {0, -1}, {0, 3}})
        EXPECT_STREQ(rows.Text(position, column), "") << position << "," << column;
    // Sorting a row whose cells were left out puts its empty text first.
    rows.Sort(2, 0);
    EXPECT_STREQ(rows.Text(2, 2), "third");
    rows.Reset(1);
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_EQ(rows.ColumnCount(), 1);
}

TEST(ListRows, SortIsStableAndRowsKeepTheirNumbersAndPositions) {
    ListRows rows(2);
    const char* cells[][2] = {{"b", "1"}, {"a", "2"}, {"b", "3"}, {"a", "4"}, {"c", "5"}};
    for (const auto& c : cells) {
        rows.AddRow();
        rows.AddCell(c[0]);
        rows.AddCell(c[1]);
    }
    auto second = [&] {
        std::string s;
        for (int i = 0; i < rows.Count(); ++i) s += rows.Text(i, 1);
        return s;
    };
    rows.Sort(0, 0);
    EXPECT_EQ(second(), "24135");
    rows.Sort(0, 1);
    EXPECT_EQ(second(), "51324") << "descending keeps equal rows in their order too";
    EXPECT_EQ(rows.RowAt(0), 4);
    EXPECT_EQ(rows.PositionOf(4), 0);
    EXPECT_STREQ(rows.RowText(4, 1), "5");
    rows.Sort(5, 0);   // no such column: nothing moves
    EXPECT_EQ(second(), "51324");
    EXPECT_EQ(rows.RowAt(-1), -1);
    EXPECT_EQ(rows.PositionOf(5), -1);
    rows.AddRow(0);    // shown first, numbered last
    rows.AddCell("z");
    EXPECT_EQ(rows.RowAt(0), 5);
    EXPECT_EQ(rows.PositionOf(4), 1);
}

TEST(ListSortState, ClicksFlipOnlySortableColumns) {
    const ListColumn columns[] = {{"A", 10, ColumnAlign::Left, 1}, {"B", 10, ColumnAlign::Left, 0},
                                  {"C", 10, ColumnAlign::Right, -1}};
    ListSortState state(columns, 3);
    ListRows rows(3);
    for (const char* t : {"x", "y"}) {
        rows.AddRow();
        rows.AddCell(t);
    }
    EXPECT_TRUE(SortByClick(rows, 0, state));   // descending first
    EXPECT_STREQ(rows.Text(0, 0), "y");
    EXPECT_EQ(state.Direction(0), 0);
    EXPECT_TRUE(SortByClick(rows, 0, state));
    EXPECT_STREQ(rows.Text(0, 0), "x");
    EXPECT_EQ(state.Click(1), 0);
    EXPECT_EQ(state.Direction(1), 1);
    for (int column : {2, 3, -1}) {
        EXPECT_FALSE(SortByClick(rows, column, state)) << column;
        EXPECT_EQ(state.Direction(column), -1) << column;
    }
    EXPECT_EQ(ListSortState().Click(0), -1) << "a state without columns sorts nothing";
}

TEST(Cp932, CutsOnlyBetweenWholeCharacters) {
    const struct { const char* text; size_t max; size_t length; } cases[] = {
        {"JA1ABC", 4, 4}, {"\x82\xA0\x82\xA2", 3, 2}, {"\x82\xA0\x82\xA2", 4, 4},
        {"A\x82", 5, 2},       // a lead byte before the NUL counts alone
        {"\xB1\xB2", 1, 1},    // half-width katakana are single bytes
        {"", 3, 0}, {nullptr, 3, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(WholeCp932Length(c.text, c.max), c.length) << c.max;
}

}  // namespace

namespace {

TEST(RowsAsText, TabTextForTheClipboardAndCsvForFiles) {
    const ListColumn columns[] = {{"No", 10, ColumnAlign::Right, -1}, {"Qth", 10, ColumnAlign::Left, -1},
                                  {"Code", 10, ColumnAlign::Left, -1, true}};
    ListRows rows(3);
    const char* cells[][3] = {{"1", "札幌市", "0101  "}, {"2", "a,b", "01001 "}, {"3", "say \"hi\"", " 10 "},
                              {"4", "two\r\nlines", "1001"},   {"5", "", "      "}};
    for (const auto& c : cells) {
        rows.AddRow();
        for (const char* cell : c) rows.AddCell(cell);
    }
    rows.Sort(0, 1);   // shown 5, 4, 3, 2, 1
    EXPECT_EQ(RowsAsTabText(columns, 3, rows, {4, 0}), "No\tQth\tCode\r\n1\t札幌市\t0101  \r\n5\t\t      \r\n")
        << "selected rows in the order asked, under the titles";
    EXPECT_EQ(RowsAsTabText(columns, 3, rows, {}), "No\tQth\tCode\r\n");
    // An area code loses its padding in a file, nothing else does.
    EXPECT_EQ(RowsAsCsv(columns, 3, rows),
              "No,Qth,Code\r\n5,,\r\n4,\"two\r\nlines\",1001\r\n3,\"say \"\"hi\"\"\", 10\r\n2,\"a,b\",01001\r\n"
              "1,札幌市,0101\r\n");
    const struct { const char* in; const char* out; } fields[] = {
        {"", ""}, {"plain", "plain"}, {"a,b", "\"a,b\""}, {"\"", "\"\"\"\""}, {"cr\r", "\"cr\r\""},
        {"lf\n", "\"lf\n\""}, {" 0101  ", " 0101  "}, {"\x83\x5C", "\x83\x5C"},   // ソ: a trail byte is no quote
    };
    for (const auto& f : fields) EXPECT_EQ(CsvField(f.in), f.out) << f.in;
}

TEST(RowsAsText, TabsAndLineEndsInACellBecomeBlanksInTheTabText) {
    // A name, QTH or remark typed with a tab or a line break in the logger.
    const ListColumn columns[] = {{"Call", 10, ColumnAlign::Left, -1}, {"Name", 10, ColumnAlign::Left, -1},
                                  {"Rem", 10, ColumnAlign::Left, -1}};
    ListRows rows(3);
    rows.AddRow();
    for (const char* cell : {"JA1ABC", "Taro\tYamada", "QSL\r\nvia\rbureau\n"}) rows.AddCell(cell);
    rows.AddRow();
    for (const char* cell : {"JA2XYZ", "\x83\x5C\t\x95\x5C", "\t"}) rows.AddCell(cell);   // ソ\t表: trail bytes kept
    EXPECT_EQ(RowsAsTabText(columns, 3, rows, {0, 1}),
              "Call\tName\tRem\r\nJA1ABC\tTaro Yamada\tQSL  via bureau \r\nJA2XYZ\t\x83\x5C \x95\x5C\t \r\n");
}

}  // namespace

namespace {

TEST(TextFit, ATextTooWideEndsInAnEllipsisCutBetweenCharacters) {
    // Every byte one unit wide: a double-byte character is two.
    const auto bytes = [](const std::string& t) { return static_cast<int>(t.size()); };
    const struct { const char* text; int width; const char* fitted; } cases[] = {
        {"Wkd 7 14", 8, "Wkd 7 14"},          // fits exactly: unchanged
        {"Wkd 7 14", 100, "Wkd 7 14"},
        {"", 0, ""},
        {"Wkd 7 14", 7, "Wkd 7…"},           // the blank before the sign goes
        {"Wkd 7 14", 6, "Wkd…"},
        {"Wkd 7 14", 2, "…"},                 // nothing but the sign fits
        {"Wkd 7 14", 0, "…"},
        {"全 914  JCC", 5, "全…"},           // 全 is two bytes
        {"全 914  JCC", 3, "…"},             // never half of 全
        {"\x83\x5C\x83\x5C\x83\x5C", 5, "\x83\x5C…"},   // ソソソ: a trail byte is no character of its own
    };
    for (const auto& c : cases) EXPECT_EQ(FitWithEllipsis(c.text, c.width, bytes), c.fitted) << c.text << " in " << c.width;
    // A start whose measure is not its length (a font): still the longest that fits.
    const auto wideW = [](const std::string& t) {
        int w = 0;
        for (char ch : t) w += ch == 'W' ? 3 : 1;
        return w;
    };
    EXPECT_EQ(FitWithEllipsis("aWWb", 6, wideW), "aW…");
}

}  // namespace
