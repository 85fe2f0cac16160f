#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/SettingsKeys.h"
#include "checkwin/CheckRules.h"

namespace {

TEST(CheckRules, LookupKeyIsSixCharactersCutAtTheFirstSlash) {
    struct Case { const char* typed; const char* key; };
    const Case cases[] = {{"JA1ABC/1", "JA1ABC"}, {"JA1AB/3", "JA1AB"}, {"JD1/JA1ABC", "JD1"},
                          {"JA1ABCDE", "JA1ABC"}, {"/JA1", ""},         {"", ""}, {nullptr, ""}};
    for (const auto& c : cases) {
        char key[kLookupKeyLength + 1];
        std::memset(key, 'x', sizeof key);
        EXPECT_EQ(FormLookupKey(c.typed, key), static_cast<int>(std::strlen(c.key)));
        EXPECT_STREQ(key, c.key);
    }
}

TEST(CheckRules, ListedHitsBeginWithTheKeyAndAFiveCharacterKeyListsOnlyCallsOfExactlyFive) {
    struct Case { const char* key; std::vector<char> call; bool byKeyLength, all; };
    // Calls in vectors of their own length: a read past the NUL trips ASan.
    const Case cases[] = {
        // The length rule.
        {"JA1ABC", {'J', 'A', '1', 'A', 'B', 'C', '/', 'P', 0}, true, true},
        {"JA1AB", {'J', 'A', '1', 'A', 'B', 0}, true, true},
        {"JA1AB", {'J', 'A', '1', 'A', 'B', 'C', 0}, false, true},
        {"JA1AB", {'J', 'A', '1', 'A', 'B', '/', '3', 0}, false, true},
        {"JD1", {'J', 'D', '1', 0}, false, true},
        // A stale or damaged index names records of other stations: never listed.
        {"JA1ABC", {'J', 'Q', '0', 'U', 'H', 'H', 0}, false, false},
        {"JA1ABD", {'J', 'A', '1', 'A', 'B', 'C', 0}, false, false},
        {"JA1AB", {'J', 'A', '1', 'A', 'C', 0}, false, false},
        {"JA1ABC", {'J', 'A', '1', 'A', 'B', 0}, false, false},
        {"JA1ABC", {0}, false, false},
        {"JA1ABC", {'j', 'a', '1', 'a', 'b', 'c', 0}, false, false},
        {"JA1AB", {'J', 'A', '1', 'A', 'B', ' ', 0}, false, true},
    };
    for (const auto& c : cases) {
        const int keyLength = static_cast<int>(std::strlen(c.key));
        EXPECT_EQ(IsListedHit(LookupFilter::ByKeyLength, c.key, keyLength, c.call.data()), c.byKeyLength)
            << c.key << " " << c.call.data();
        EXPECT_EQ(IsListedHit(LookupFilter::All, c.key, keyLength, c.call.data()), c.all) << c.key << " " << c.call.data();
    }
}

TEST(CheckRules, PatternKeepsOnlyCharactersAllowedAtTheirPosition) {
    struct Case { const char* typed; const char* pattern; int fixed; };
    const Case cases[] = {
        {"JA1", "JA1???", 3},    {"K1ABC", "???BC?", 2},    {"A1", "??????", 0},     {"?A1ABC", "?A1ABC", 5},
        {"JA1ABC/1", "JA1ABC", 6}, {"7S0ZZZ", "7S0ZZZ", 6}, {"JB1", "J?1???", 2},    {"JT1a", "J?1???", 2},
        {"JA11AB", "JA1?AB", 5}, {"\x82\xA0JA", "???A??", 1}, {"", "??????", 0},
    };
    for (const auto& c : cases) {
        SearchPattern p = BuildSearchPattern(c.typed);
        EXPECT_STREQ(p.Text, c.pattern) << c.typed;
        EXPECT_EQ(p.FixedCount, c.fixed) << c.typed;
    }
}

TEST(CheckRules, PatternMatchesFixedPositionsAndNothingPastTheCallsEnd) {
    struct Case { const char* typed; std::vector<char> call; bool match; };
    const Case cases[] = {
        {"JA1", {'J', 'A', '1', 'A', 'B', 0}, true},         {"JA1", {'J', 'A', '1', 'A', 'B', 'C', '/', '2', 0}, true},
        {"JA1", {'J', 'A', '1', 0}, true},                   {"JA1", {'J', 'R', '1', 'A', 'B', 'C', 0}, false},
        {"JA1ABC", {'J', 'A', '1', 'A', 'B', 0}, false},     {"K1ABC", {'7', 'K', '1', 'B', 'C', 'D', 0}, true},
        {"K1ABC", {'J', 'A', '1', 'B', 0}, false},           {"A1", {0}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesPattern(BuildSearchPattern(c.typed), c.call.data()), c.match) << c.typed << " " << c.call.data();
}

TEST(CheckRules, CountTextsAreCodePage932) {
    EXPECT_EQ(QsoCountText(0), "\x8C\xF0\x90\x4D\x89\xF1\x90\x94 0 \x89\xF1");           // 交信回数 0 回
    EXPECT_EQ(SearchCountText(1001), "\x8C\x9F\x8D\xF5\x8C\x8F\x90\x94 1001 \x8C\x8F");  // 検索件数 1001 件
}

TEST(CheckRules, ColumnWidthKeysAndDefaultsAgreeWithTheSettingsTable) {
    for (int i = 0; i < kQsoColumnCount; ++i) {
        SettingsKey key;
        const std::string name = "COLUMN" + std::to_string(i);
        ASSERT_TRUE(LookupSettingsKey(name.c_str(), &key));
        EXPECT_EQ(key.KeyIndex, 6 + i);
        EXPECT_EQ(key.Default, QsoColumns[i].Width) << i;
    }
}

TEST(CheckRules, HeaderClicksSortOnlySortableColumnsAndAlternate) {
    ListSortState state(QsoColumns, kQsoColumnCount);
    for (auto [column, first] : std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}}) {
        EXPECT_EQ(state.Click(column), first) << column;
        EXPECT_EQ(state.Click(column), 1 - first) << column;
    }
    EXPECT_EQ(state.Click(1), 0);
    EXPECT_EQ(state.Direction(1), 1) << "the next click on Call sorts descending";
    EXPECT_EQ(state.Direction(6), 0) << "other columns keep their own state";
    for (int column : {2, 3, 4, 5, 10, 11, 12, 13, 14, -1, kQsoColumnCount}) {
        EXPECT_EQ(state.Click(column), -1) << column;
        EXPECT_EQ(state.Direction(column), -1) << column;
    }
}

TEST(CheckRules, RecordNumbersSortAsNumbers) {
    EXPECT_EQ(RecordNumberText(42), "    42");
    EXPECT_LT(CompareCellText(RecordNumberText(99).c_str(), RecordNumberText(100).c_str()), 0);
}

LinkMessages Twice(const std::string& text) { return {{0x20010, text}, {0x30000, text}}; }

TEST(CheckRules, LinkSendsOnlyWhenOnWithATargetAndACallThatDoesNotStartBlank) {
    const LinkRow row{"JA1ABC/1", "100101 ", "\x91\xBE\x98\x59", ""}, blank{" JA1", "1", "2", "3"};
    const LinkRow wide{"JA1AB\x82\xA0", "", "", ""};
    struct Case { LinkMessages sent, expected; };
    const Case cases[] = {
        {CallMessages(true, true, "JA1ABC/1"), Twice("JA1ABC/1")},
        {CallMessages(false, true, "JA1ABC"), {}},   {CallMessages(true, false, "JA1ABC"), {}},
        {CallMessages(true, true, ""), {}},          {CallMessages(true, true, " JA1"), {}},
        {ClearMessages(true, true), {{0x20010, ""}}}, {ClearMessages(false, true), {}}, {ClearMessages(true, false), {}},
        {DoubleClickMessages(true, true, &row), Twice("JA1ABC")},
        {DoubleClickMessages(true, true, &wide), Twice("JA1AB")},   // no half character
        {DoubleClickMessages(true, true, &blank), {}}, {DoubleClickMessages(true, true, nullptr), {}},
        {DoubleClickMessages(false, true, &row), {}},  {DoubleClickMessages(true, false, &row), {}},
        {RowMessages(true, true, &row), {{0, "JA1ABC/1"}, {8, "100101 "}, {11, "\x91\xBE\x98\x59"}, {12, ""}}},
        {RowMessages(true, true, &blank), {}},  {RowMessages(true, true, nullptr), {}},
        {RowMessages(false, true, &row), {}},   {RowMessages(true, false, &row), {}},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) EXPECT_EQ(cases[i].sent, cases[i].expected) << i;
}

TEST(CheckRules, ListTextsAreCutTo127BytesWithoutSplittingACharacter) {
    auto repeat = [](const std::string& s, int n) { std::string r; while (n--) r += s; return r; };
    struct Case { std::string text; size_t kept; };
    const Case cases[] = {
        {repeat("a", 127), 127}, {repeat("a", 300), 127}, {repeat("a", 126) + "\x82\xA0", 126},
        {repeat("a", 125) + "\x82\xA0" "b", 127},
        {repeat("\x81\x81", 64), 126},         // ＝: its trail byte has a lead byte's value
        {"a" + repeat("\x81\x81", 64), 127},
        {repeat("\xB1", 128), 127},            // half-width katakana: single bytes
        {repeat("a", 126) + "\xFC\x4B", 126}, {repeat("a", 126) + "\xA0\x40", 127},
    };
    for (const auto& c : cases) {
        LinkRow row{"JA1ABC", c.text, c.text, c.text};
        LinkMessages sent = RowMessages(true, true, &row);
        ASSERT_EQ(sent.size(), 4u);
        EXPECT_EQ(sent[1].Bytes, c.text.substr(0, c.kept)) << c.text.size();
        EXPECT_EQ(sent[3].Bytes, c.text.substr(0, c.kept));
    }
}

}  // namespace
