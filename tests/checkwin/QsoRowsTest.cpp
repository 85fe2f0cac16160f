// The rows the QSO list shows: what a record becomes, sorting, and the
// worked/confirmed summary read from them.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "checkwin/QsoRows.h"
#include "checkwin/WorkedSummary.h"

namespace {

// A record as the library leaves it in the shared buffer: fixed fields, and
// pointer fields into texts it owns.
struct RecordWithTexts {
    QsoRecord Record{};
    std::string My, Freq, Mode, Name, Qth, Remarks1, Remarks2;

    explicit RecordWithTexts(const char* call, const char* code = "1001  ") {
        std::memset(&Record, 0, sizeof Record);
        std::strcpy(Record.Call, call);
        std::strcpy(Record.Date, "21/03/04");
        std::strcpy(Record.Time, "12:34");
        std::strcpy(Record.Code, code);
        std::strcpy(Record.GL, "PM95");
        std::strcpy(Record.QSL, "S R");
        std::strcpy(Record.His, "-10");
        My = "-12", Freq = "7.041", Mode = "FT8", Name = "\x8D\xB2\x93\xA1", Qth = "\x93\x8C\x8B\x9E";  // 佐藤, 東京
        Remarks1 = "QSL via JARL";
        Record.My = My.c_str();
        Record.Freq = Freq.c_str();
        Record.Mode = Mode.c_str();
        Record.Name = Name.c_str();
        Record.QTH = Qth.c_str();
        Record.Remarks1 = Remarks1.c_str();
        Record.Remarks2 = nullptr;   // the library may leave a pointer null
    }
};

std::vector<std::string> RowTexts(const QsoRows& rows, int position) {
    std::vector<std::string> texts;
    for (int c = 0; c < kQsoColumnCount; ++c) texts.push_back(rows.Text(position, c));
    return texts;
}

std::vector<std::string> Column(const QsoRows& rows, int column) {
    std::vector<std::string> texts;
    for (int i = 0; i < rows.Count(); ++i) texts.push_back(rows.Text(i, column));
    return texts;
}

TEST(QsoRows, RowShowsTheRecordsTextsAsStoredInColumnOrder) {
    QsoRows rows;
    auto r = std::make_unique<RecordWithTexts>("JA1ABC/1");
    rows.Insert(0, r->Record, 42);
    // The row keeps copies: the next read overwrites the buffer.
    std::memset(r->Record.Call, 'X', sizeof r->Record.Call);
    r->Name = "changed";
    const std::vector<std::string> want = {"    42", "JA1ABC/1", "21/03/04", "12:34", "-10", "-12", "7.041", "FT8",
                                           "1001  ", "PM95", "S R", "\x8D\xB2\x93\xA1", "\x93\x8C\x8B\x9E",
                                           "QSL via JARL", ""};
    EXPECT_EQ(RowTexts(rows, 0), want);
    EXPECT_EQ(rows.RecordNumber(0), 42);
    EXPECT_STREQ(rows.Text(1, 1), "");
    EXPECT_STREQ(rows.Text(0, kQsoColumnCount), "");
    EXPECT_STREQ(rows.Text(-1, 0), "");
}

TEST(QsoRows, FixedFieldsWithoutTheirNulEndAtTheFieldsWidth) {
    QsoRows rows;
    auto r = std::make_unique<RecordWithTexts>("JA1ABC");
    std::memset(r->Record.Call, 'A', sizeof r->Record.Call);   // no NUL in the field
    std::memset(r->Record.Code, '9', sizeof r->Record.Code);
    rows.Insert(0, r->Record, 1234567);
    EXPECT_EQ(std::string(rows.Text(0, 1)), std::string(21, 'A'));
    EXPECT_EQ(std::string(rows.Text(0, 8)), std::string(7, '9'));
    EXPECT_STREQ(rows.Text(0, 0), "1234567") << "longer numbers are not cut";
}

TEST(QsoRows, SortOrdersByBytesKeepsEqualRowsInOrderAndRowsKeepTheirIdentity) {
    QsoRows rows;
    const char* calls[] = {"JR1XYZ", "JA1ABC", "7K1AAA", "JA1ABC", "JA1AB"};
    const char* codes[] = {"1001  ", "100101", "0101  ", "1001  ", "01001A"};
    for (int i = 0; i < 5; ++i) {
        auto r = std::make_unique<RecordWithTexts>(calls[i], codes[i]);
        rows.Insert(rows.Count(), r->Record, (i + 1) * 9);
    }
    rows.Sort(1, 0);
    EXPECT_EQ(Column(rows, 1), (std::vector<std::string>{"7K1AAA", "JA1AB", "JA1ABC", "JA1ABC", "JR1XYZ"}));
    EXPECT_EQ(rows.RecordNumber(2), 18) << "equal texts keep their order";
    EXPECT_EQ(rows.RecordNumber(3), 36);
    rows.Sort(0, 1);
    EXPECT_EQ(Column(rows, 0), (std::vector<std::string>{"    45", "    36", "    27", "    18", "     9"}));
    rows.Sort(8, 0);
    EXPECT_EQ(Column(rows, 8), (std::vector<std::string>{"01001A", "0101  ", "1001  ", "1001  ", "100101"}));
    for (int p = 0; p < rows.Count(); ++p) EXPECT_EQ(rows.PositionOf(rows.RowAt(p)), p);
    EXPECT_EQ(rows.RowAt(5), -1);
    EXPECT_EQ(rows.PositionOf(5), -1);
}

TEST(QsoRows, InsertAtAPositionAndClear) {
    QsoRows rows;
    for (const char* call : {"JA1AAA", "JA1CCC", "JA1BBB"}) {
        auto r = std::make_unique<RecordWithTexts>(call);
        rows.Insert(call[3] == 'B' ? 1 : rows.Count(), r->Record, 1);
    }
    EXPECT_EQ(Column(rows, 1), (std::vector<std::string>{"JA1AAA", "JA1BBB", "JA1CCC"}));
    EXPECT_EQ(rows.PositionOf(2), 1);
    rows.Clear();
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_STREQ(rows.Text(0, 1), "");
}

// The library's band lookup stands in as a table of whole texts.
int TestBandOf(const char* freq) {
    const struct { const char* freq; int band; } bands[] = {
        {"1.9", 0}, {"3.5", 1}, {"7.041", 2}, {"14.074", 4}, {"144.1", 10}, {"2400", 13}, {"99.9", 14}, {"-3", -2},
    };
    for (const auto& b : bands)
        if (std::strcmp(freq, b.freq) == 0) return b.band;
    return -1;
}

TEST(WorkedSummary, BandsInBandOrderModesByFirstAppearanceConfirmedBeforeWorked) {
    struct Qso { const char* freq; const char* mode; const char* qsl; };
    struct Case { const char* name; std::vector<Qso> qsos; const char* text; };
    const Case cases[] = {
        {"never confirmed", {{"7.041", "CW", ""}, {"14.074", "CW", ""}}, "Wkd 7 14  /  Wkd CW"},
        {"every QSO confirmed", {{"7.041", "CW", "  R"}}, "Cfm 7  /  Cfm CW"},
        // Bands by index whatever the rows' order; modes as they first appear.
        {"band order", {{"2400", "FT8", ""}, {"1.9", "FT8", ""}, {"144.1", "FT8", ""}, {"3.5", "FT8", ""}},
         "Wkd 1.9 3.5 144 2400  /  Wkd FT8"},
        {"modes by first appearance", {{"7.041", "SSB", ""}, {"7.041", "CW", ""}, {"7.041", "SSB", ""}, {"7.041", "FT8", ""}},
         "Wkd 7  /  Wkd SSB CW FT8"},
        // One confirmed QSO puts its band and mode under Cfm, before or after
        // worked ones; the others stay under Wkd.
        {"Cfm wins over Wkd",
         {{"7.041", "CW", "  R"}, {"7.041", "FT8", ""}, {"14.074", "FT8", ""}, {"14.074", "RTTY", ""}, {"14.074", "RTTY", "  J"}},
         "Cfm 7 14  /  Cfm CW RTTY  Wkd FT8"},
        {"worked then confirmed", {{"14.074", "CW", ""}, {"7.041", "CW", ""}, {"7.041", "CW", "  R"}},
         "Cfm 7  Wkd 14  /  Cfm CW"},
        // A frequency of no band counts for its mode only, an empty mode for
        // its band only; the "/" goes when a side is empty.
        {"QSO of no band", {{"10.5x", "CW", "  R"}, {"7.041", "FT8", ""}, {"99.9", "SSB", ""}, {"-3", "AM", ""}},
         "Wkd 7  /  Cfm CW  Wkd FT8 SSB AM"},
        {"no band at all", {{"", "CW", ""}, {"abc", "FT8", "  R"}}, "Cfm FT8  Wkd CW"},
        {"no mode text", {{"7.041", "", "  R"}, {"14.074", "", ""}}, "Cfm 7  Wkd 14"},
        {"neither", {{"", "", "  R"}}, ""},
        // The QSL mark is position 2 of the text; shorter texts have none.
        {"empty QSL text", {{"7.041", "CW", ""}}, "Wkd 7  /  Wkd CW"},
        {"short QSL texts", {{"7.041", "CW", "R"}, {"7.041", "SSB", "RR"}, {"7.041", "FT8", "RR "}},
         "Wkd 7  /  Wkd CW SSB FT8"},
        // Modes are whole texts, byte for byte.
        {"modes byte for byte", {{"7.041", "SSB", ""}, {"7.041", "ssb", "  R"}, {"7.041", "SSB2", ""}},
         "Cfm 7  /  Cfm ssb  Wkd SSB SSB2"},
        {"no rows", {}, ""},
    };
    for (const Case& c : cases) {
        QsoRows rows;
        for (const Qso& q : c.qsos) {
            auto r = std::make_unique<RecordWithTexts>("JA1ABC");
            r->Freq = q.freq;
            r->Mode = q.mode;
            r->Record.Freq = r->Freq.c_str();
            r->Record.Mode = r->Mode.c_str();
            std::memset(r->Record.QSL, 0, sizeof r->Record.QSL);
            std::strcpy(r->Record.QSL, q.qsl);
            rows.Insert(rows.Count(), r->Record, rows.Count() + 1);
        }
        EXPECT_EQ(WorkedSummaryText(rows, TestBandOf), c.text) << c.name;
    }
}

}  // namespace
