// Loading the JCC and JCG tables from masters made by vireon-tool from
// JARL-style lists.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>

#include "LogStoreFixture.h"
#include "logstore/AreaMaster.h"
#include "logstore/LoggerLibrary.h"

namespace {

using logtest::JarlListLine;
using logtest::LogFolder;

int TableSize(const AreaEntry* table) {
    int n = 0;
    while (n < kAreaTableSize && table[n].Code[0] != '\0') ++n;
    return n;
}

// Code -> entry, checking on the way that every entry is a proper text.
std::map<std::string, const AreaEntry*> ByCode(const AreaEntry* table) {
    std::map<std::string, const AreaEntry*> out;
    for (int i = 0; i < TableSize(table); ++i) {
        const AreaEntry& e = table[i];
        EXPECT_NE(std::memchr(e.Code, '\0', sizeof e.Code), nullptr);
        EXPECT_NE(std::memchr(e.Name, '\0', sizeof e.Name), nullptr);
        EXPECT_EQ(e.Hidden, 0);
        out[e.Code] = &e;
    }
    return out;
}

class AreaMaster : public LogFolder {};

const std::string kJccLines =
    "北海道 01\n" +
    JarlListLine("0101", "Sapporo", "札幌") +
    JarlListLine("0132", "Kameda", "亀田", "Nov. 30,1973") +
    "\n東京都 10\n" +
    JarlListLine("100101", "Chiyoda", "千代田") +
    JarlListLine("100123", "Edogawa", "江戸川") +
    JarlListLine("1001", "Tokyo 23-wards", "東京23区", "Mar.31,2010") +
    JarlListLine("1002", "Hachioji", "八王子") +
    JarlListLine("1050", "Fiftieth", "五十") +
    JarlListLine("1061", "Sixtyfirst", "六十一") +
    JarlListLine("1079", "Seventyninth", "七十九") +
    JarlListLine("1080", "Eightieth", "八十") +
    "\n沖縄県 47\n" +
    JarlListLine("4701", "Naha", "那覇");

const std::string kJcgLines =
    "北海道  01\n" +
    JarlListLine("01001", "Akan", "阿寒") +
    JarlListLine("01004", "Atsuta", "厚田", "Sep.30,2005") +
    JarlListLine("01005", "Abashiri", "網走") +
    "          Ozoracho            大空町\n" +
    "東京都  10\n" +
    JarlListLine("10005", "Nishitama", "西多摩") +
    "沖縄県  47\n" +
    JarlListLine("47009", "Yaeyama", "八重山");

TEST_F(AreaMaster, AdmitsCitiesTokyoWardsAndCountiesWithTheirDeletionDates) {
    UseLibrary();
    // Without the ward list the master ends with an entry of the tables, so
    // the last record must arrive too.
    ASSERT_NO_FATAL_FAILURE(MakeMaster(kJccLines, kJcgLines));
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    ASSERT_EQ(LoadAreaMaster(), 0);

    auto jcc = ByCode(JccTable);
    std::map<std::string, int> expectJcc = {
        {"0101  ", 0}, {"0132  ", 197311}, {"100101", 0}, {"100123", 0},
        {"1001  ", 201003}, {"1002  ", 0}, {"1080  ", 0}, {"4701  ", 0}};
    EXPECT_EQ(TableSize(JccTable), static_cast<int>(expectJcc.size()));
    for (const auto& [code, ym] : expectJcc) {
        ASSERT_TRUE(jcc.count(code)) << "JCC [" << code << "] missing";
        EXPECT_EQ(jcc[code]->DeletedYm, ym) << code;
    }
    EXPECT_NE(std::strchr(jcc["1001  "]->Name, '*'), nullptr);   // the mark stays in the name
    EXPECT_NE(jcc["4701  "]->Name[0], '\0');

    auto jcg = ByCode(JcgTable);
    std::map<std::string, int> expectJcg = {
        {"01001 ", 0}, {"01004 ", 200509}, {"01005 ", 0}, {"10005 ", 0}, {"47009 ", 0}};
    EXPECT_EQ(TableSize(JcgTable), static_cast<int>(expectJcg.size()));
    for (const auto& [code, ym] : expectJcg) {
        ASSERT_TRUE(jcg.count(code)) << "JCG [" << code << "] missing";
        EXPECT_EQ(jcg[code]->DeletedYm, ym) << code;
    }
    // Every record was read, the last ones of both lists included, and the
    // master was closed.
    EXPECT_EQ(Calls("dbf_close"), 1);
}

TEST_F(AreaMaster, EveryLoadEmptiesTheTablesFirst) {
    UseLibrary();
    ASSERT_NO_FATAL_FAILURE(MakeMaster(kJccLines, kJcgLines));
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    ASSERT_EQ(LoadAreaMaster(), 0);
    int jccSize = TableSize(JccTable);
    JccTable[0].Hidden = 1;
    std::memcpy(JccTable[jccSize].Code, "9999  ", 7);   // junk behind the end
    ASSERT_EQ(LoadAreaMaster(), 0);
    EXPECT_EQ(JccTable[0].Hidden, 0);
    EXPECT_EQ(TableSize(JccTable), jccSize);
}

TEST_F(AreaMaster, StopsReadingWhenATableHoldsAThousandEntries) {
    UseLibrary();
    std::string jccLines;
    std::vector<std::string> codes;
    for (int pref = 1; pref <= 47; ++pref) {
        if (pref == 10) continue;
        char header[32];
        std::snprintf(header, sizeof header, "県%02d %02d\n", pref, pref);
        jccLines += header;
        for (int city = 1; city <= 25; ++city) {
            char code[8];
            std::snprintf(code, sizeof code, "%02d%02d", pref, city);
            codes.push_back(code);
            jccLines += JarlListLine(code, "City" + std::string(code), "市");
        }
    }
    ASSERT_GT(codes.size(), 1000u);
    std::string jcgLines = "北海道  01\n" + JarlListLine("01001", "Akan", "阿寒");
    ASSERT_NO_FATAL_FAILURE(MakeMaster(jccLines, jcgLines));
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    ASSERT_EQ(LoadAreaMaster(), 0);
    ASSERT_EQ(TableSize(JccTable), kAreaTableSize);
    auto jcc = ByCode(JccTable);
    EXPECT_EQ(jcc.size(), 1000u);
    // Records after the 1000th city are not read: far fewer reads than the
    // master's 1150 cities and one county.
    EXPECT_LE(Calls("dbf_read"), 1001);
    EXPECT_EQ(Calls("dbf_close"), 1);
}

TEST_F(AreaMaster, MissingOrDamagedMasterFailsAndLeavesNoStaleEntries) {
    UseLibrary();
    ASSERT_NO_FATAL_FAILURE(MakeMaster(kJccLines, kJcgLines));
    std::string good = test::ReadFileBytes(Dir().File("vireon.mst"));
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    ASSERT_EQ(LoadAreaMaster(), 0);
    std::map<std::string, const AreaEntry*> full = ByCode(JccTable);

    std::vector<test::DamagedFile> cases = test::DamagedFiles(good);
    cases.push_back({"cut in the last record", true, good.substr(0, good.size() - 30)});
    cases.push_back({"header only", true, good.substr(0, 16)});
    cases.push_back({"no records", true, test::WithNoRecords(good)});
    // Read without error, but with no code the tables take (no JCC and no
    // JCG entry in it).
    ASSERT_NO_FATAL_FAILURE(MakeMaster("東京都 10\n" + JarlListLine("1050", "Fiftieth", "五十"),
                                       "北海道  01\n" + JarlListLine("50001", "Nowhere", "無")));
    cases.push_back({"no JCC and no JCG entry", true, test::ReadFileBytes(Dir().File("vireon.mst"))});
    for (const test::DamagedFile& c : cases) {
        SCOPED_TRACE(c.What);
        test::PutDamagedFile(c, Dir().File("vireon.mst"));
        JccTable[0].Code[0] = '0';
        EXPECT_EQ(LoadAreaMaster(), -1);
        // What stayed was read from the file before the failure: entries of
        // the good master, if any.
        for (int i = 0; i < TableSize(JccTable); ++i)
            EXPECT_TRUE(full.count(JccTable[i].Code)) << JccTable[i].Code;
    }
}

// JARL's published lists beside the project: every code of the city list
// (none of them 105x-107x) and of the county list arrives, deleted entries
// with their month of deletion.
int CountListCodes(const std::string& bytes, size_t minDigits, size_t maxDigits, int* deleted) {
    std::istringstream lines(bytes);
    std::string line;
    int codes = 0;
    *deleted = 0;
    while (std::getline(lines, line)) {
        if (line.size() < 3 || (line[0] != ' ' && line[0] != '*') || line[1] != ' ') continue;
        size_t digits = 0;
        while (2 + digits < line.size() && std::isdigit(static_cast<unsigned char>(line[2 + digits]))) ++digits;
        if (digits < minDigits || digits > maxDigits) continue;
        ++codes;
        if (line[0] == '*' && line.find('"') != std::string::npos) ++*deleted;
    }
    return codes;
}

int DeletedIn(const AreaEntry* table) {
    int n = 0;
    for (int i = 0; i < TableSize(table); ++i) n += table[i].DeletedYm != 0;
    return n;
}

TEST_F(AreaMaster, LoadsJarlsPublishedLists) {
    REQUIRE_SHARED_DATA("jarl/jcc-list.txt");
    REQUIRE_SHARED_DATA("jarl/jcg-list.txt");
    REQUIRE_SHARED_DATA("jarl/ku-list.txt");
    UseLibrary();
    ASSERT_NO_FATAL_FAILURE(Tool({"make-master", "--jcc", test::SharedDataFile("jarl/jcc-list.txt"),
                                  "--jcg", test::SharedDataFile("jarl/jcg-list.txt"),
                                  "--ku", test::SharedDataFile("jarl/ku-list.txt")}));
    int jccDeleted = 0, jcgDeleted = 0;
    int jccCodes = CountListCodes(test::ReadFileBytes(test::SharedDataFile("jarl/jcc-list.txt")), 4, 6, &jccDeleted);
    int jcgCodes = CountListCodes(test::ReadFileBytes(test::SharedDataFile("jarl/jcg-list.txt")), 5, 5, &jcgDeleted);
    ASSERT_GT(jccCodes, 0);

    ASSERT_EQ(LoadLoggerLibrary(), 0);
    ASSERT_EQ(LoadAreaMaster(), 0);
    EXPECT_EQ(TableSize(JccTable), jccCodes);
    EXPECT_EQ(TableSize(JcgTable), jcgCodes);
    EXPECT_EQ(DeletedIn(JccTable), jccDeleted);
    EXPECT_EQ(DeletedIn(JcgTable), jcgDeleted);

    auto jcc = ByCode(JccTable);
    auto jcg = ByCode(JcgTable);
    struct Known { bool city; const char* code; int ym; } known[] = {
        {true, "1001  ", 201003},   // Tokyo 23 wards, as one city until March 2010
        {true, "100101", 0},
        {true, "100123", 0},
        {true, "0132  ", 197311},   // "Nov. 30,1973"
        {true, "0101  ", 0},
        {false, "01004 ", 200509},
        {false, "01012 ", 195501},
        {false, "01001 ", 0},
    };
    for (const Known& k : known) {
        auto& table = k.city ? jcc : jcg;
        ASSERT_TRUE(table.count(k.code)) << "[" << k.code << "] missing";
        EXPECT_EQ(table[k.code]->DeletedYm, k.ym) << k.code;
    }
    // The wards of the ward list are counted by their cities and stay out.
    EXPECT_FALSE(jcc.count("010101"));
    EXPECT_FALSE(jcg.count("010101"));
}

}  // namespace
