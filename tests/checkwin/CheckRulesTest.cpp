#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/SettingsKeys.h"
#include "checkwin/CheckRules.h"

namespace {

// ---- Lookup key and length rule ----------------------------------------

TEST(CheckRules, LookupKeyIsSixCharactersCutAtTheFirstSlash) {
    struct Case { const char* typed; const char* key; };
    const Case cases[] = {
        {"JA1ABC/1", "JA1ABC"}, {"JA1AB/3", "JA1AB"}, {"JD1/JA1ABC", "JD1"},
        {"JA1ABCDE", "JA1ABC"}, {"JA1A", "JA1A"},     {"", ""},
        {"/JA1ABC", ""},        {"JA1ABCD/", "JA1ABC"}, {"JA1???", "JA1???"},
        {nullptr, ""},
    };
    for (const auto& c : cases) {
        char key[kLookupKeyLength + 1];
        std::memset(key, 'x', sizeof key);
        int length = FormLookupKey(c.typed, key);
        EXPECT_STREQ(key, c.key) << (c.typed ? c.typed : "(null)");
        EXPECT_EQ(length, static_cast<int>(std::strlen(c.key)));
    }
}

TEST(CheckRules, LengthRuleListsOnlyExactFiveCharacterCallsForAFiveCharacterKey) {
    struct Case { int keyLength; const char* call; bool listed; bool listedUnfiltered; };
    const Case cases[] = {
        {6, "JA1ABC", true, true},   {6, "JA1ABC/P", true, true}, {6, "JA1ABCD", true, true},
        {5, "JA1AB", true, true},    {5, "JA1ABC", false, true},  {5, "JA1AB/3", false, true},
        {5, "JA1A", false, true},    {5, "", false, true},        {4, "JA1A", false, true},
        {0, "", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsListedHit(LookupFilter::ByKeyLength, c.keyLength, c.call), c.listed)
            << c.keyLength << " " << c.call;
        EXPECT_EQ(IsListedHit(LookupFilter::All, c.keyLength, c.call), c.listedUnfiltered);
    }
}

TEST(CheckRules, LengthRuleNeverReadsPastTheCallsEnd) {
    // A three-byte allocation: reading a sixth byte would be caught by the
    // address sanitizer in the native build.
    std::vector<char> shortCall = {'J', 'A', '\0'};
    EXPECT_FALSE(IsListedHit(LookupFilter::ByKeyLength, 5, shortCall.data()));
    std::vector<char> exact = {'J', 'A', '1', 'A', 'B', '\0'};
    EXPECT_TRUE(IsListedHit(LookupFilter::ByKeyLength, 5, exact.data()));
}

// ---- Partial search pattern --------------------------------------------

TEST(CheckRules, PatternKeepsOnlyCharactersAllowedAtTheirPosition) {
    struct Case { const char* typed; const char* pattern; int fixed; };
    const Case cases[] = {
        {"JA1", "JA1???", 3},      {"K1ABC", "???BC?", 2},     {"A1", "??????", 0},
        {"?A1ABC", "?A1ABC", 5},   {"JA1ABC/1", "JA1ABC", 6},  {"7K4XYZ", "7K4XYZ", 6},
        {"0S9ZZZ", "0S9ZZZ", 6},   {"JB1ABC", "J?1ABC", 5},    {"JC1", "J?1???", 2},
        {"JT1", "J?1???", 2},      {"JA1a", "JA1???", 3},      {"", "??????", 0},
        {"JAA", "JA????", 2},      {"JA11AB", "JA1?AB", 5},    {"\x82\xA0JA", "???A??", 1},
        {"1D1", "1D1???", 3},      {"9R", "9R????", 2},        {nullptr, "??????", 0},
    };
    for (const auto& c : cases) {
        SearchPattern p = BuildSearchPattern(c.typed);
        EXPECT_STREQ(p.Text, c.pattern) << (c.typed ? c.typed : "(null)");
        EXPECT_EQ(p.FixedCount, c.fixed) << (c.typed ? c.typed : "(null)");
    }
}

TEST(CheckRules, PatternMatchesFixedPositionsOnly) {
    struct Case { const char* typed; const char* call; bool match; };
    const Case cases[] = {
        {"JA1", "JA1ABC", true},    {"JA1", "JA1AB", true},     {"JA1", "JA1ABC/2", true},
        {"JA1", "JA1", true},       {"JA1", "JA2ABC", false},   {"JA1", "JR1ABC", false},
        {"JA1ABC", "JA1AB", false}, {"JA1ABC", "JA1ABC", true}, {"JA1ABC", "JA1ABCD", true},
        {"K1ABC", "JA1BCD", true},  {"K1ABC", "JA1ABC", false},  {"K1ABC", "7K1BCD", true},  {"K1ABC", "JA1B", false},
        {"??????", "", true},       {"JA", "", false},          {"?A1ABC", "7A1ABC", true},
    };
    for (const auto& c : cases) {
        SearchPattern p = BuildSearchPattern(c.typed);
        EXPECT_EQ(MatchesPattern(p, c.call), c.match) << c.typed << " vs " << c.call;
    }
}

TEST(CheckRules, PatternMatchNeverReadsPastTheCallsEnd) {
    SearchPattern p = BuildSearchPattern("JA1ABC");
    std::vector<char> call = {'J', 'A', '1', '\0'};
    EXPECT_FALSE(MatchesPattern(p, call.data()));
    SearchPattern free = BuildSearchPattern("JA");
    EXPECT_TRUE(MatchesPattern(free, call.data()));
    EXPECT_FALSE(MatchesPattern(p, nullptr));
}

// ---- Count texts ----------------------------------------------------------

TEST(CheckRules, CountTextsAreCodePage932) {
    // 交信回数 3 回 and 検索件数 1001 件, byte for byte.
    EXPECT_EQ(QsoCountText(3), "\x8C\xF0\x90\x4D\x89\xF1\x90\x94 3 \x89\xF1");
    EXPECT_EQ(SearchCountText(1001), "\x8C\x9F\x8D\xF5\x8C\x8F\x90\x94 1001 \x8C\x8F");
    EXPECT_EQ(QsoCountText(0), "\x8C\xF0\x90\x4D\x89\xF1\x90\x94 0 \x89\xF1");
}

// ---- Column table and sorting ------------------------------------------

TEST(CheckRules, ColumnWidthKeysAndDefaultsAgreeWithTheSettingsTable) {
    for (int i = 0; i < kQsoColumnCount; ++i) {
        const QsoColumn& c = QsoColumns[i];
        EXPECT_EQ(std::string(c.WidthKey), "COLUMN" + std::to_string(i));
        SettingsKey key;
        ASSERT_TRUE(LookupSettingsKey(c.WidthKey, &key)) << c.WidthKey;
        EXPECT_EQ(key.Default, c.DefaultWidth) << c.WidthKey;
        EXPECT_EQ(key.SectionIndex, 0);
        EXPECT_EQ(c.Align, i == kColumnCode ? ColumnAlign::Right : ColumnAlign::Left) << i;
    }
    EXPECT_STREQ(QsoColumns[kColumnCall].Header, "Call");
    EXPECT_STREQ(QsoColumns[kColumnCode].Header, "Code");
    EXPECT_STREQ(QsoColumns[kColumnName].Header, "NAME");
    EXPECT_STREQ(QsoColumns[kColumnQth].Header, "QTH");
}

TEST(CheckRules, HeaderClicksSortOnlyTheSortableColumnsAndAlternate) {
    QsoSortState state;
    // Rec.No: descending first; Call..G.L ascending first.
    const struct { int column; int first; } sortable[] = {{0, 1}, {1, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}};
    for (const auto& s : sortable) {
        EXPECT_EQ(state.Click(s.column), s.first) << s.column;
        EXPECT_EQ(state.Click(s.column), 1 - s.first) << s.column;
        EXPECT_EQ(state.Click(s.column), s.first) << s.column;
    }
    for (int column : {2, 3, 4, 5, 10, 11, 12, 13, 14}) {
        EXPECT_EQ(state.Click(column), -1) << column;
        EXPECT_EQ(state.Direction(column), -1) << column;
    }
    EXPECT_EQ(state.Click(-1), -1);
    EXPECT_EQ(state.Click(kQsoColumnCount), -1);
    // The state is the column's own: one click on Call leaves Freq alone.
    QsoSortState fresh;
    fresh.Click(1);
    EXPECT_EQ(fresh.Direction(1), 1);
    EXPECT_EQ(fresh.Direction(6), 0);
}

TEST(CheckRules, CellTextsCompareAsUnsignedBytesShorterFirst) {
    struct Case { const char* a; const char* b; int order; };
    const Case cases[] = {
        {"JA1AB", "JA1ABC", -1}, {"JA1ABC", "JA1AB", 1},   {"abc", "abc", 0},
        {"", "A", -1},           {"Z", "a", -1},           {"\x82\xA0", "z", 1},   // 0x82 > 'z'
        {"\xB1", "\x81\x40", 1}, {"A", nullptr, 1},        {nullptr, "", 0},
        {"ja1abc", "JA1ABC", 1},
    };
    for (const auto& c : cases) {
        auto sign = [](int v) { return (v > 0) - (v < 0); };
        EXPECT_EQ(sign(CompareCellTexts(c.a, c.b, 0)), c.order) << (c.a ? c.a : "(null)");
        EXPECT_EQ(sign(CompareCellTexts(c.a, c.b, 1)), -c.order);
    }
}

TEST(CheckRules, RecordNumberTextsSortByNumber) {
    std::vector<int> numbers = {10, 999999, 2, 100000, 100, 1, 45};
    std::vector<std::string> texts;
    for (int n : numbers) texts.push_back(RecordNumberText(n));
    EXPECT_EQ(RecordNumberText(42), "    42");
    EXPECT_EQ(RecordNumberText(1234567), "1234567");
    std::sort(texts.begin(), texts.end(),
              [](const std::string& a, const std::string& b) { return CompareCellTexts(a.c_str(), b.c_str(), 1) < 0; });
    std::sort(numbers.begin(), numbers.end(), [](int a, int b) { return a > b; });
    // Up to six digits the texts order as the numbers do.
    for (size_t i = 1; i < numbers.size(); ++i) EXPECT_EQ(texts[i], RecordNumberText(numbers[i])) << i;
}

// ---- Link messages ------------------------------------------------------

LinkMessages Twice(const std::string& text) { return {{0x20010, text}, {0x30000, text}}; }

TEST(CheckRules, TypedCallIsSentTwiceOnlyWhenLinkedTargetAndText) {
    struct Case { bool link; bool target; const char* text; LinkMessages sent; };
    const Case cases[] = {
        {true, true, "JA1ABC/1", Twice("JA1ABC/1")},
        {true, true, "JA1???", Twice("JA1???")},
        {true, true, "J", Twice("J")},
        {false, true, "JA1ABC", {}},
        {true, false, "JA1ABC", {}},
        {true, true, "", {}},
        {true, true, " JA1", {}},
        {true, true, nullptr, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CallMessages(c.link, c.target, c.text), c.sent) << c.link << c.target << (c.text ? c.text : "(null)");
}

TEST(CheckRules, ClearSendsOneEmptyCallWhenLinked) {
    EXPECT_EQ(ClearMessages(true, true), (LinkMessages{{0x20010, ""}}));
    EXPECT_TRUE(ClearMessages(false, true).empty());
    EXPECT_TRUE(ClearMessages(true, false).empty());
}

TEST(CheckRules, DoubleClickSendsTheFirstSixCharactersOfTheRowsCall) {
    LinkRow row{"JA1ABC/1", "100101", "Taro", "Tokyo"};
    EXPECT_EQ(DoubleClickMessages(true, true, &row), Twice("JA1ABC"));
    LinkRow shortCall{"JA1AB", "", "", ""};
    EXPECT_EQ(DoubleClickMessages(true, true, &shortCall), Twice("JA1AB"));
    LinkRow blank{" JA1ABC", "", "", ""};
    LinkRow empty{"", "x", "y", "z"};
    EXPECT_TRUE(DoubleClickMessages(true, true, &blank).empty());
    EXPECT_TRUE(DoubleClickMessages(true, true, &empty).empty());
    EXPECT_TRUE(DoubleClickMessages(true, true, nullptr).empty());
    EXPECT_TRUE(DoubleClickMessages(false, true, &row).empty());
    EXPECT_TRUE(DoubleClickMessages(true, false, &row).empty());
    // Five ASCII bytes and a double-byte character: the cut keeps five.
    LinkRow wide{"JA1AB\x82\xA0", "", "", ""};
    EXPECT_EQ(DoubleClickMessages(true, true, &wide), Twice("JA1AB"));
}

TEST(CheckRules, RightClickSendsCallCodeNameAndQthInOrder) {
    LinkRow row{"JA1ABC/1", "100101 ", "\x91\xBE\x98\x59", ""};   // 太郎, no QTH
    LinkMessages expected = {{0, "JA1ABC/1"}, {8, "100101 "}, {11, "\x91\xBE\x98\x59"}, {12, ""}};
    EXPECT_EQ(RowMessages(true, true, &row), expected);
    LinkRow blank{" JA1ABC", "1", "2", "3"};
    EXPECT_TRUE(RowMessages(true, true, &blank).empty());
    EXPECT_TRUE(RowMessages(true, true, nullptr).empty());
    EXPECT_TRUE(RowMessages(false, true, &row).empty());
    EXPECT_TRUE(RowMessages(true, false, &row).empty());
}

TEST(CheckRules, ListTextsAreCutTo127BytesWithoutSplittingACharacter) {
    const std::string wide = "\x81\x81";   // ＝: its trail byte is also a lead byte value
    struct Case { std::string text; size_t kept; };
    const Case cases[] = {
        {std::string(127, 'a'), 127},
        {std::string(128, 'a'), 127},
        {std::string(300, 'a'), 127},
        {std::string(126, 'a') + "\x82\xA0", 126},
        {std::string(125, 'a') + "\x82\xA0" + "b", 127},
        {[&] { std::string s; for (int i = 0; i < 64; ++i) s += wide; return s; }(), 126},
        {[&] { std::string s = "a"; for (int i = 0; i < 64; ++i) s += wide; return s; }(), 127},
        {std::string(128, '\xB1'), 127},   // half-width katakana are single bytes
        {std::string(126, 'a') + "\xE0\x40", 126},
        {std::string(126, 'a') + "\xFC\x4B", 126},
        {std::string(126, 'a') + "\xA0\x40", 127},  // 0xA0 leads nothing
        {"", 0},
    };
    for (const auto& c : cases) {
        std::string cut = CutCp932(c.text.c_str(), kLinkListTextMax);
        EXPECT_EQ(cut.size(), c.kept) << c.text.size();
        EXPECT_EQ(cut, c.text.substr(0, c.kept));
        LinkRow row{"JA1ABC", c.text, c.text, c.text};
        LinkMessages sent = RowMessages(true, true, &row);
        ASSERT_EQ(sent.size(), 4u);
        EXPECT_EQ(sent[1].Bytes, cut);
        EXPECT_EQ(sent[3].Bytes, cut);
    }
    LinkRow longCall{std::string(130, 'J'), "", "", ""};
    EXPECT_EQ(RowMessages(true, true, &longCall)[0].Bytes, std::string(127, 'J'));
}

}  // namespace
