// The window-free rules: date digits of a record, deletion marks, which
// master codes make which table, and the two code normalisers.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "logstore/AreaMaster.h"
#include "logstore/CallIndexCopy.h"
#include "logstore/QsoRecord.h"

namespace {

// A 7-byte Code field as the shared record holds it: `text`, then stale
// bytes of an earlier record, then NULs.
struct CodeField {
    char bytes[7];
    CodeField(const std::string& text, const std::string& stale = "") {
        std::memset(bytes, 0, sizeof bytes);
        std::string all = text + stale;
        std::memcpy(bytes, all.data(), std::min(all.size(), sizeof bytes));
    }
    std::string Text() const { return std::string(bytes, strnlen(bytes, sizeof bytes)); }
};

std::string Nul(const char* text) { return std::string(text) + '\0'; }

TEST(TakeDateDigits, TakesYearMonthDayPositionsUpToTheTextsEnd) {
    struct Case { std::string field; const char* digits; } cases[] = {
        {Nul("10/03/31"), "100331"},
        {Nul("99/12/01"), "991201"},
        {Nul("10/03"), "1003"},
        {Nul("10/0"), "100"},
        {Nul("1"), "1"},
        {Nul(""), ""},
        // Bytes of a longer earlier date stay behind the NUL of a short one.
        {Nul("10") + "/03/31", "10"},
        {Nul("10/03") + "/31", "1003"},
        {Nul("") + "09/01/15", ""},
    };
    for (const Case& c : cases) {
        char date[9];
        std::memset(date, 0, sizeof date);
        std::memcpy(date, c.field.data(), std::min(c.field.size(), sizeof date));
        char digits[7];
        std::memset(digits, '#', sizeof digits);
        TakeDateDigits(date, digits);
        EXPECT_STREQ(digits, c.digits) << "date " << c.field.c_str();
    }
}

TEST(HasQslReceivedMark, ReadsPositionTwoOfTheTextOnly) {
    struct Case { std::string field; bool confirmed; } cases[] = {
        {Nul("  R"), true}, {Nul("JJJ"), true}, {Nul("  RJ"), true},
        {Nul("RR "), false}, {Nul("   "), false},
        // A text ending before position 2 has no mark.
        {Nul(""), false}, {Nul("R"), false}, {Nul("RR"), false},
        // Bytes of a longer earlier text stay behind the NUL of a short one.
        {Nul("J") + "RR", false}, {Nul("JJ") + "R", false}, {Nul("") + "  R", false},
    };
    for (const Case& c : cases) {
        char qsl[6] = {};
        std::memcpy(qsl, c.field.data(), std::min(c.field.size(), sizeof qsl));
        EXPECT_EQ(HasQslReceivedMark(qsl), c.confirmed) << "QSL " << c.field.c_str();
    }
    EXPECT_FALSE(HasQslReceivedMark(nullptr));
}

TEST(CallIndexCopy, IsMadeAnewWhenTimeOrSizeDifferAndTheLoggersIndexServesWithoutOne) {
    const IndexFileStamp logger{true, 24019572, 1000};
    struct Case { const char* name; IndexFileStamp logger, copy; bool stale; };
    const Case cases[] = {
        {"same time and size", logger, {true, 24019572, 1000}, false},
        {"other time", logger, {true, 24019572, 999}, true},
        {"other size", logger, {true, 24019548, 1000}, true},
        {"no copy", logger, {}, true},
        {"no logger's index", {}, {true, 12, 5}, false},
        {"neither", {}, {}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(CallIndexCopyIsStale(c.logger, c.copy), c.stale) << c.name;
    EXPECT_STREQ(CallIndexToOpen(true, true), "call.idx");
    EXPECT_STREQ(CallIndexToOpen(true, false), "call.idx");
    EXPECT_STREQ(CallIndexToOpen(false, true), "vireon.dx0");
    EXPECT_STREQ(CallIndexToOpen(false, false), "call.idx");
}

TEST(ParseDeletionMark, ReadsYearAndMonthWithTheFiftyOnePivot) {
    struct Case { std::string name; int ym; } cases[] = {
        {"Kameda", 0},
        {"", 0},
        {"Tokyo 23-wards*10/03", 201003},
        {"*51/01", 205101},
        {"*52/01", 195201},
        {"*99/03", 199903},
        {"*05/10", 200510},
        {"*00/01", 200001},
        {"Kamiiso* 06/ 2", 200602},       // blanks before the numbers
        {"x*73/11ku", 197311},            // reading stops at the first non-digit
        {"a*10", 0},                      // '*' without '/' after it: not deleted
        {"a/b*10", 0},                    // the '/' must come after the '*'
        {std::string(22, 'a') + "*10/03", 201003},            // ends at the 28th character
        {std::string(23, 'a') + "*10/03", 201000},            // month cut at the 28th
        {std::string(25, 'a') + "*10/03", 0},                 // '/' past the 28th
        {std::string(28, 'a') + "*10/03", 0},                 // mark past the 28th
    };
    for (const Case& c : cases) EXPECT_EQ(ParseDeletionMark(c.name.c_str()), c.ym) << c.name;
}

TEST(ParseDeletionMark, GarbledNumbersDoNotOverflow) {
    // The sanitizer build stops on a signed overflow; the result only has to
    // stay a positive date-like number.
    EXPECT_GT(ParseDeletionMark("*99999999999999999/99999999"), 190000);
}

TEST(ParseDeletionMark, StopsAtTheNameWithoutReadingPastIt) {
    // A 28-byte name with no NUL, as a master record holds it, followed by
    // bytes that would make a mark if read.
    char name[40];
    std::memset(name, 'a', sizeof name);
    std::memcpy(name + 28, "*10/03", 7);
    EXPECT_EQ(ParseDeletionMark(name), 0);
    std::memcpy(name + 20, "*10/", 4);
    EXPECT_EQ(ParseDeletionMark(name), 201000);   // "aaaa" after '/' gives month 0
}

TEST(ClassifyMasterCode, FollowsTheFiveRulesInOrder) {
    using K = MasterCodeKind;
    struct Case { std::string code; K kind; } cases[] = {
        {"0101  ", K::Jcc},    // a city
        {"4701  ", K::Jcc},
        {"1050  ", K::Skip},   // 105x, 106x, 107x cities are not counted
        {"1061  ", K::Skip},
        {"1079  ", K::Skip},
        {"1080  ", K::Jcc},
        {"1049  ", K::Jcc},
        {"1001  ", K::Jcc},    // Tokyo 23 wards as one city
        {"100101", K::Jcc},    // and each of its wards
        {"100123", K::Jcc},
        {"010101", K::Skip},   // other wards are counted by their city
        {"01001 ", K::Jcg},    // a county
        {"10501 ", K::Jcg},    // five digits: the 105 rule is for cities only
        {"47001 ", K::Jcg},
        {"01001A", K::Skip},   // five digits with a non-blank sixth
        {Nul("01001"), K::Skip},
        {"5001  ", K::Skip},   // no prefecture above 47
        {"50001 ", K::Skip},
        {"      ", K::Skip},
        {Nul(""), K::Skip},
        // Stale bytes behind a NUL count as absent: "0100" is a city-shaped
        // code, not the county "01001 ".
        {Nul("0100") + "1 ", K::Jcc},
        {Nul("01") + "001 ", K::Jcc},
        {Nul("") + "0101 ", K::Skip},
    };
    for (const Case& c : cases) {
        CodeField field(c.code.substr(0, 6));
        EXPECT_EQ(ClassifyMasterCode(field.bytes), c.kind) << "code [" << field.Text() << "]";
    }
}

TEST(NormalizeJccCode, KeepsCitiesFoldsWardsAndKeepsTokyoWardsInTheWardPeriod) {
    struct Case { std::string code; const char* date; int result; const char* after; } cases[] = {
        {"0101  ", "200101", 3, "0101  "},
        {"4701  ", "", 3, "4701  "},
        {"0101AB", "200101", 3, "0101AB"},       // four digits, whatever follows
        {"5001  ", "200101", 0, "5001  "},       // first digit above 4
        {"110101", "150101", 8, "1101  "},       // a Yokohama ward counts for Yokohama
        {"010101", "990101", 8, "0101  "},
        {"100101", "100115", 8, "1001  "},       // January 2010: before the ward period
        {"100101", "100331", 8, "1001  "},
        {"100101", "100401", 7, "100101"},       // April 2010: the ward counts by itself
        {"100123", "250601", 7, "100123"},
        {"100101", "300131", 7, "100101"},       // January 2030: last month of the period
        {"100101", "300201", 8, "1001  "},
        {"100101", "1004", 7, "100101"},         // the day is not needed
        {"100101", "100", 8, "1001  "},          // an incomplete date is outside the period
        {"100101", "", 8, "1001  "},
        {"100101", "1O04", 8, "1001  "},         // a non-digit in YYMM
        {"01001 ", "200101", 0, "01001 "},
        {"01001A", "200101", 0, "01001A"},
        {"12345", "200101", 0, "12345"},
        {"", "200101", 0, ""},
    };
    for (const Case& c : cases) {
        CodeField field(c.code);
        EXPECT_EQ(NormalizeJccCode(field.bytes, c.date), c.result) << c.code << " " << c.date;
        EXPECT_EQ(field.Text(), c.after) << c.code << " " << c.date;
    }
}

TEST(NormalizeJccCode, NeverTakesStaleBytesForCodeDigits) {
    // "1001" then NUL, with "01" of an earlier ward code behind it: a city,
    // not a ward.
    CodeField tokyo(Nul("1001"), "01");
    EXPECT_EQ(NormalizeJccCode(tokyo.bytes, "200101"), 3);
    CodeField shortCode(Nul("01"), "0101");
    EXPECT_EQ(NormalizeJccCode(shortCode.bytes, "200101"), 0);
    EXPECT_EQ(std::memcmp(shortCode.bytes, "01\0" "0101", 7), 0);   // untouched
}

TEST(NormalizeJcgCode, FoldsTownsIntoCountiesAndKeepsCounties) {
    struct Case { std::string code; std::string stale; int result; const char* after; } cases[] = {
        {"01001A", "", 9, "01001 "},          // a town counts for its county
        {"01001/", "", 9, "01001 "},
        {"01001\x82", "", 9, "01001 "},      // first byte of a double-byte character
        {Nul("01001"), "", 9, "01001 "},     // five digits ended by NUL
        {Nul("01001"), "7", 9, "01001 "},    // ...with a stale byte behind the NUL
        {"01001 ", "", 4, "01001 "},
        {"0101  ", "", 0, "0101  "},
        {"010101", "", 0, "010101"},
        {"0100 1", "", 0, "0100 1"},
        {Nul("0100"), "1A", 0, "0100"},      // stale "1A" must not make it five digits
        {Nul(""), "01001A", 0, ""},
    };
    for (const Case& c : cases) {
        CodeField field(c.code, c.stale);
        EXPECT_EQ(NormalizeJcgCode(field.bytes), c.result) << "[" << c.code << "]";
        EXPECT_EQ(field.Text(), c.after) << "[" << c.code << "]";
    }
}

TEST(NormalizeJcgCode, RewrittenCodeIsEndedAtTheSeventhByte) {
    CodeField field("01001A", "Z");   // no NUL inside the 7 bytes before the call
    ASSERT_EQ(NormalizeJcgCode(field.bytes), 9);
    EXPECT_EQ(std::memcmp(field.bytes, "01001 \0", 7), 0);
    CodeField ward("110101", "Z");
    ASSERT_EQ(NormalizeJccCode(ward.bytes, "200101"), 8);
    EXPECT_EQ(std::memcmp(ward.bytes, "1101  \0", 7), 0);
}

}  // namespace
