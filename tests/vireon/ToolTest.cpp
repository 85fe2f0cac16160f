// vireon-tool on real-world files and on files written here, its outputs
// read back with the library's readers and through `vireon-tool dump`.
#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "VireonTestLib.h"
#include "vireon/Generator.h"
#include "vireon/Store.h"

using namespace vxtest;

namespace {

class ToolTest : public VireonFolder {
protected:
    // `vireon-tool dump` split into rows of 15 columns.
    std::vector<std::vector<std::string>> Dump() {
        std::string out = Tool({"dump"});
        std::vector<std::vector<std::string>> rows;
        std::istringstream in(out);
        std::string line;
        while (std::getline(in, line)) {
            std::vector<std::string> cols;
            size_t start = 0;
            for (;;) {
                size_t tab = line.find('\t', start);
                cols.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
                if (tab == std::string::npos) break;
                start = tab + 1;
            }
            EXPECT_EQ(cols.size(), 15u) << line;
            rows.push_back(cols);
        }
        return rows;
    }
    enum Col { kNo, kCall, kDate, kTime, kHis, kMy, kFreq, kMode, kCode, kGL, kQSL, kName, kQTH, kRem1, kRem2 };
};

// The CALL values of an ADIF file, read with a plain pattern of their own.
std::vector<std::string> AdifCalls(const std::string& bytes) {
    std::vector<std::string> calls;
    std::regex tag("<CALL:(\\d+)>", std::regex::icase);
    for (std::sregex_iterator it(bytes.begin(), bytes.end(), tag), end; it != end; ++it)
        calls.push_back(bytes.substr(size_t(it->position() + it->length()), std::stoul((*it)[1])));
    return calls;
}

TEST_F(ToolTest, ImportsTheSmallLogInDateOrderAndReportsWhatItSkips) {
    test::WriteFileBytes(File("small.adi"), kSmallAdif);
    std::string out = Tool({"import-adif", "small.adi"});
    EXPECT_NE(out.find("imported 6, skipped 2"), std::string::npos) << out;
    EXPECT_NE(out.find("record 7 (line 10): no CALL"), std::string::npos) << out;
    EXPECT_NE(out.find("record 8 (line 11, JA2XYZ): QSO_DATE \"20211332\" is not a date"), std::string::npos) << out;
    EXPECT_NE(out.find("NAME cut to 23 bytes"), std::string::npos) << out;
    auto rows = Dump();
    ASSERT_EQ(rows.size(), kSmallLog.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const SmallQso& q = kSmallLog[i];
        const char* want[15] = {"", q.Call, q.Date, q.Time, q.His, q.My, q.Freq, q.Mode, q.Code, q.GL,
                                q.QSL, q.Name, q.QTH, q.Remarks1, q.Remarks2};
        EXPECT_EQ(rows[i][kNo], std::to_string(i + 1));
        for (int c = 1; c < 15; ++c) EXPECT_EQ(rows[i][size_t(c)], want[c]) << "row " << i + 1 << " column " << c;
    }
}

TEST_F(ToolTest, ImportsShiftJisTextAsItIs) {
    // 佐藤 in Shift_JIS, and a double-byte character whose second byte is '\'.
    std::string sjis = "\x8D\xB2\x93\xA1\x95\x5C";
    test::WriteFileBytes(File("sjis.adi"), "<CALL:6>JA1ABC <QSO_DATE:8>20200101 <TIME_ON:4>0000 <NAME:6>" + sjis + "<EOR>");
    std::string out = Tool({"import-adif", "sjis.adi"});
    EXPECT_NE(out.find("Shift_JIS"), std::string::npos) << out;
    auto rows = Dump();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kName], sjis);
    EXPECT_EQ(rows[0][kName], std::string("佐藤表")) << "the CP932 bytes of the same text";
}

TEST_F(ToolTest, ImportsEveryQsoOfTheFt8LogWithPortableCallsIntact) {
    REQUIRE_SHARED_DATA("adif/ja-ft8-2021.adi");
    std::string path = test::SharedDataFile("adif/ja-ft8-2021.adi");
    std::string out = Tool({"import-adif", path});
    EXPECT_NE(out.find("imported 126, skipped 0"), std::string::npos) << out;
    auto rows = Dump();
    ASSERT_EQ(rows.size(), 126u);
    std::multiset<std::string> stored, given;
    for (const auto& r : rows) stored.insert(r[kCall]);
    for (const auto& c : AdifCalls(test::ReadFileBytes(path))) given.insert(c);
    EXPECT_EQ(stored, given);
    EXPECT_EQ(stored.count("JA0AMA/1"), 1u);
    EXPECT_EQ(stored.count("7K4MSS/P"), 1u);
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(rows[i - 1][kDate] + rows[i - 1][kTime], rows[i][kDate] + rows[i][kTime]) << "row " << i + 1;
    for (const auto& r : rows) EXPECT_NE(vireon::BandOfFrequencyText(r[kFreq].c_str()), -1) << r[kFreq];
    // The index lists every record once, in call order.
    vireon::IndexFile ix;
    ASSERT_TRUE(ix.Open("vireon.dx0", true));
    ASSERT_EQ(ix.Count(), 126u);
    std::string previous;
    std::set<uint32_t> recNos;
    for (uint32_t i = 0; i < ix.Count(); ++i) {
        char call[21] = {};
        uint32_t rec;
        ASSERT_TRUE(ix.Entry(i, call, &rec));
        EXPECT_LE(previous, std::string(call));
        EXPECT_EQ(rows[rec - 1][kCall], call);
        previous = call;
        recNos.insert(rec);
    }
    EXPECT_EQ(recNos.size(), 126u);
}

TEST_F(ToolTest, ImportsTheAdifTestFileWithoutLosingRecords) {
    REQUIRE_SHARED_DATA("adif/adif-316-test-qsos.adi");
    std::string out = Tool({"import-adif", test::SharedDataFile("adif/adif-316-test-qsos.adi")});
    // Every record is imported. Four multi-line values carry lengths counted
    // with CR LF line ends in a file with LF line ends; read as counted they
    // would swallow the next tag (QSO_DATE) and cost three records.
    EXPECT_NE(out.find("imported 6191, skipped 0"), std::string::npos) << out.substr(out.size() > 2000 ? out.size() - 2000 : 0);
    EXPECT_NE(out.find("note: 4 multi-line field(s)"), std::string::npos);
    auto rows = Dump();
    ASSERT_EQ(rows.size(), 6191u);
    // The Japanese QSOs carry their prefecture numbers as codes.
    std::set<std::string> prefectures;
    for (const auto& r : rows)
        if (!r[kCode].empty()) prefectures.insert(r[kCode]);
    EXPECT_EQ(prefectures.size(), 47u);
    EXPECT_EQ(prefectures.count("01    "), 1u);
    EXPECT_EQ(prefectures.count("47    "), 1u);
}

TEST_F(ToolTest, MakesTheMasterFromTheJarlLists) {
    REQUIRE_SHARED_DATA("jarl/jcc-list.txt");
    std::string out = Tool({"make-master", "--jcc", test::SharedDataFile("jarl/jcc-list.txt"), "--jcg",
                            test::SharedDataFile("jarl/jcg-list.txt"), "--ku", test::SharedDataFile("jarl/ku-list.txt")});
    EXPECT_NE(out.find("JCC: 914 entries, 99 deleted, 0 skipped"), std::string::npos) << out;
    EXPECT_NE(out.find("JCG: 623 entries, 244 deleted, 0 skipped"), std::string::npos) << out;
    EXPECT_NE(out.find("ward: 182 entries, 7 deleted, 0 skipped"), std::string::npos) << out;
    vireon::MasterFile m;
    ASSERT_TRUE(m.Open("vireon.mst", true));
    ASSERT_EQ(m.Count(), 914u + 623u + 182u);
    std::map<std::string, std::string> names;
    int marked = 0;
    for (uint32_t r = 1; r <= m.Count(); ++r) {
        const unsigned char* rec = m.Record(int32_t(r));
        std::string code(reinterpret_cast<const char*>(rec), 6);
        std::string name(reinterpret_cast<const char*>(rec + 6), strnlen(reinterpret_cast<const char*>(rec + 6), 28));
        names[code] = name;
        if (name.find('*') != std::string::npos) ++marked;
    }
    EXPECT_EQ(marked, 99 + 244 + 7);
    const std::pair<const char*, const char*> known[] = {
        {"0132  ", "亀田*73/11"},    // "Nov. 30,1973"
        {"0706  ", "原町*05/12"},    // "Dec.31,2005 without its closing quote
        {"0610  ", "泉*88/02"},
        {"1017  ", "保谷*01/01"},    // a double-byte blank before the date
        {"0101  ", "札幌"},
        {"100101", "千代田"},
        {"01004 ", "厚田*05/09"},
        {"01005 ", "網走"},
        {"09013 ", "(欠番）*"},      // reserved: marked, no date
        {"250105", "東*89/02"},      // 平成元年2月12日以前
        {"402108", "八幡*74/03"},    // 昭和49年3月31日以前
        {"010101", "中央"},
    };
    for (const auto& k : known) EXPECT_EQ(names[k.first], k.second) << k.first;
}

TEST_F(ToolTest, GeneratesTheSameLogForTheSameSeed) {
    MakeSmallMaster();
    Tool({"generate", "3000", "--seed", "7"});
    std::string log1 = test::ReadFileBytes(File("vireon.vdb")), ix1 = test::ReadFileBytes(File("vireon.dx0"));
    Tool({"generate", "3000", "--seed", "7"});
    EXPECT_TRUE(log1 == test::ReadFileBytes(File("vireon.vdb")));
    EXPECT_TRUE(ix1 == test::ReadFileBytes(File("vireon.dx0")));
    Tool({"generate", "3000", "--seed", "8"});
    EXPECT_FALSE(log1 == test::ReadFileBytes(File("vireon.vdb")));
    // `index` rebuilds the very index that generate wrote.
    test::RemoveFile(File("vireon.dx0"));
    Tool({"index"});
    Tool({"generate", "3000", "--seed", "8"});
    std::string generated = test::ReadFileBytes(File("vireon.dx0"));
    Tool({"index"});
    EXPECT_TRUE(generated == test::ReadFileBytes(File("vireon.dx0")));
    EXPECT_EQ(log1.size(), 64u + 3000u * 256u);
}

TEST_F(ToolTest, GeneratedLogHasEveryShapeTheProgramMeets) {
    MakeSmallMaster();
    Tool({"generate", "5000", "--seed", "3"});
    auto rows = Dump();
    ASSERT_EQ(rows.size(), 5000u);
    std::map<std::string, int> perCall;
    std::set<int> bands;
    int outOfBand = 0, confirmed = 0, shortQsl = 0, foreign = 0, slashDigit = 0, slashP = 0, jd1 = 0;
    std::map<std::string, int> shapes;
    std::string previous;
    for (const auto& r : rows) {
        ++perCall[r[kCall]];
        int band = vireon::BandOfFrequencyText(r[kFreq].c_str());
        if (band < 0) ++outOfBand;
        else bands.insert(band);
        if (r[kQSL].size() > 2 && r[kQSL][2] != ' ') ++confirmed;
        if (r[kQSL].size() < 3) ++shortQsl;
        const std::string& c = r[kCall];
        if (std::regex_search(c, std::regex("/[0-9]$"))) ++slashDigit;
        if (std::regex_search(c, std::regex("/P$"))) ++slashP;
        if (c.compare(0, 4, "JD1/") == 0) ++jd1;
        const std::string& code = r[kCode];
        if (code.empty()) { ++foreign; EXPECT_EQ(c.find('/'), std::string::npos) << c; }
        else if (std::regex_match(code, std::regex("[0-9]{4}  "))) ++shapes["city"];
        else if (std::regex_match(code, std::regex("[0-9]{6}"))) ++shapes["ward"];
        else if (std::regex_match(code, std::regex("[0-9]{5} "))) ++shapes["county"];
        else if (std::regex_match(code, std::regex("[0-9]{5}[A-Z]"))) ++shapes["town"];
        else ADD_FAILURE() << "code shape \"" << code << "\"";
        // Dates ascend from 1990 to 2026 (two-digit years 90..99, 00..26).
        std::string yyyy = (r[kDate] < "52" ? "20" : "19") + r[kDate];
        EXPECT_LE(previous, yyyy + r[kTime]);
        previous = yyyy + r[kTime];
    }
    EXPECT_EQ(rows.front()[kDate].substr(0, 2), "90");
    EXPECT_EQ(rows.back()[kDate].substr(0, 2), "26");
    EXPECT_GT(perCall[vireon::kBusyCall], 1000) << "one call past the 1000-match bound";
    EXPECT_GT(perCall["JA1AB"], 0) << "a five-character call";
    EXPECT_GT(perCall["JA1ABD"], 0) << "a six-character call beginning with it";
    EXPECT_GT(slashDigit, 0);
    EXPECT_GT(slashP, 0);
    EXPECT_GT(jd1, 0);
    EXPECT_GT(foreign, 0);
    for (const char* s : {"city", "ward", "county", "town"}) EXPECT_GT(shapes[s], 0) << s;
    EXPECT_EQ(bands.size(), 14u);
    EXPECT_GT(outOfBand, 0);
    EXPECT_GT(shortQsl, 0);
    EXPECT_NEAR(confirmed, 2500, 250);
    size_t stations = 0;
    for (const auto& pc : perCall) stations += pc.second == 1;
    EXPECT_GT(stations, 100u) << "a long tail of stations worked once";
}

TEST_F(ToolTest, BadInputGivesAMessageAndANonzeroCode) {
    test::WriteFileBytes(File("notadif.txt"), "just some text\nwithout any tags\n");
    test::WriteFileBytes(File("nolist.txt"), "no codes here\n");
    struct Case { std::vector<std::string> Args; const char* Message; };
    const Case cases[] = {
        {{}, "no command"},
        {{"frobnicate"}, "unknown command frobnicate"},
        {{"import-adif"}, "one file name"},
        {{"import-adif", "missing.adi"}, "cannot read missing.adi"},
        {{"import-adif", "notadif.txt"}, "holds no ADIF records"},
        {{"make-master", "--jcc", "nolist.txt"}, "needs --jcc FILE and --jcg FILE"},
        {{"make-master", "--jcc", "nolist.txt", "--jcg", "nolist.txt"}, "holds no JCC entries"},
        {{"make-master", "--jcc"}, "needs a file name"},
        {{"generate"}, "needs the number"},
        {{"generate", "12x"}, "N must be a number"},
        {{"generate", "10", "--seed", "-1"}, "--seed must be a number"},
        {{"generate", "10"}, "cannot read the master vireon.mst"},
        {{"generate", "10", "--colour", "red"}, "unknown option --colour"},
        {{"dump"}, "cannot open the log"},
        {{"index"}, "cannot open the log"},
        {{"dump", "extra"}, "takes no arguments"},
    };
    for (const Case& c : cases) {
        std::string out;
        int code = test::RunVireonTool(c.Args, dir_.Path(), &out);
        std::string line;
        for (const auto& a : c.Args) line += a + " ";
        EXPECT_NE(code, 0) << line;
        EXPECT_NE(out.find(c.Message), std::string::npos) << line << "\n" << out;
    }
    std::string help;
    EXPECT_EQ(test::RunVireonTool({"--help"}, dir_.Path(), &help), 0);
    for (const char* cmd : {"import-adif", "make-master", "generate", "index", "dump"})
        EXPECT_NE(help.find(cmd), std::string::npos) << cmd;
}

}  // namespace
