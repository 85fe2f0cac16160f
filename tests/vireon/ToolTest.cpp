// vireon-tool on real-world files and on files written here, its outputs
// read back with the library's readers and through `vireon-tool dump`.
#include <algorithm>
#include <cstring>
#include <tuple>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "VireonTestLib.h"
#include "vireon/Adif.h"
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
    std::string out = Tool({"import-adif", "small.adi"}, 1);
    EXPECT_NE(out.find("imported 6, skipped 2, changed 1"), std::string::npos) << out;
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
    std::string out = Tool({"import-adif", test::SharedDataFile("adif/adif-316-test-qsos.adi")}, 1);
    // Every record is imported. Four multi-line values carry lengths counted
    // with CR LF line ends in a file with LF line ends; read as counted they
    // would swallow the next tag (QSO_DATE) and cost three records. They,
    // fields cut and codes not taken make ten records changed.
    EXPECT_NE(out.find("imported 6191, skipped 0, changed 10"), std::string::npos) << out.substr(out.size() > 2000 ? out.size() - 2000 : 0);
    std::regex note("(^|\n)note record ");
    EXPECT_EQ(std::distance(std::sregex_iterator(out.begin(), out.end(), note), std::sregex_iterator()), 11);
    std::regex crlf("note record [0-9]+ \\(line [0-9]+, [A-Z0-9]+\\): [A-Z_]+: length [0-9]+ counts CR LF line ends");
    EXPECT_EQ(std::distance(std::sregex_iterator(out.begin(), out.end(), crlf), std::sregex_iterator()), 4) << out;
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
    Tool({"generate", "3000", "--seed", "7", "--replace"});
    EXPECT_TRUE(log1 == test::ReadFileBytes(File("vireon.vdb")));
    EXPECT_TRUE(ix1 == test::ReadFileBytes(File("vireon.dx0")));
    Tool({"generate", "3000", "--replace", "--seed", "8"});
    EXPECT_FALSE(log1 == test::ReadFileBytes(File("vireon.vdb")));
    // `index` rebuilds the very index that generate wrote.
    test::RemoveFile(File("vireon.dx0"));
    Tool({"index"});
    Tool({"generate", "3000", "--seed", "8", "--replace"});
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
    int outOfBand = 0, confirmed = 0, via = 0, foreign = 0, slashDigit = 0, slashP = 0, jd1 = 0;
    std::map<std::string, int> shapes;
    std::string previous;
    for (const auto& r : rows) {
        ++perCall[r[kCall]];
        int band = vireon::BandOfFrequencyText(r[kFreq].c_str());
        if (band < 0) ++outOfBand;
        else bands.insert(band);
        // Three positions: sent, via, received, blanks where no mark is.
        ASSERT_EQ(r[kQSL].size(), 3u) << r[kQSL];
        EXPECT_NE(std::string(" S").find(r[kQSL][0]), std::string::npos) << r[kQSL];
        EXPECT_NE(std::string(" JDE").find(r[kQSL][1]), std::string::npos) << r[kQSL];
        EXPECT_NE(std::string(" R").find(r[kQSL][2]), std::string::npos) << r[kQSL];
        if (r[kQSL][2] != ' ') ++confirmed;
        if (r[kQSL][1] != ' ') ++via;
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
    EXPECT_GT(via, 0);
    EXPECT_NEAR(confirmed, 2500, 250);
    size_t stations = 0;
    for (const auto& pc : perCall) stations += pc.second == 1;
    EXPECT_GT(stations, 100u) << "a long tail of stations worked once";
}

TEST_F(ToolTest, BadInputGivesAMessageAndTheDocumentedCode) {
    test::WriteFileBytes(File("notadif.txt"), "just some text\nwithout any tags\n");
    test::WriteFileBytes(File("nolist.txt"), "no codes here\n");
    test::WriteFileBytes(File("noeor.adi"), "<CALL:6>JA1ABC <QSO_DATE:8>20200101 <TIME_ON:4>1200\n");
    struct Case { std::vector<std::string> Args; int Exit; const char* Message; };
    const Case cases[] = {
        {{}, 2, "no command"},
        {{"frobnicate"}, 2, "unknown command frobnicate"},
        {{"import-adif"}, 2, "one file name"},
        {{"import-adif", "a.adi", "b.adi"}, 2, "one file name"},
        {{"import-adif", "--force", "a.adi"}, 2, "unknown option --force"},
        {{"import-adif", "missing.adi"}, 2, "cannot read missing.adi"},
        {{"import-adif", "notadif.txt"}, 3, "holds no ADIF records"},
        {{"import-adif", "noeor.adi"}, 3, "no record of noeor.adi can be imported; nothing was written"},
        {{"make-master", "--jcc", "nolist.txt"}, 2, "needs --jcc FILE and --jcg FILE"},
        {{"make-master", "--jcc", "nolist.txt", "--jcg", "nolist.txt"}, 3, "holds no JCC entries"},
        {{"make-master", "--jcc"}, 2, "needs a file name"},
        {{"generate"}, 2, "needs the number"},
        {{"generate", "12x"}, 2, "N must be a number"},
        {{"generate", "10", "--seed", "-1"}, 2, "--seed must be a number"},
        {{"generate", "10", "--master", "missing.mst"}, 2, "cannot read the master missing.mst"},
        {{"generate", "10", "--colour", "red"}, 2, "unknown option --colour"},
        {{"generate", "10", "--seed"}, 2, "--seed needs a value"},
        {{"dump", "extra"}, 2, "takes no arguments"},
        {{"dump"}, 2, "cannot open the log"},
        {{"index"}, 2, "cannot open the log"},
    };
    for (const Case& c : cases) {
        std::string out;
        int code = test::RunVireonTool(c.Args, dir_.Path(), &out);
        std::string line;
        for (const auto& a : c.Args) line += a + " ";
        EXPECT_EQ(code, c.Exit) << line << "\n" << out;
        EXPECT_NE(out.find(c.Message), std::string::npos) << line << "\n" << out;
    }
    EXPECT_FALSE(test::FileExists(File("vireon.vdb"))) << "a failed import writes no log";
    std::string help;
    EXPECT_EQ(test::RunVireonTool({"--help"}, dir_.Path(), &help), 0);
    for (const char* cmd : {"import-adif", "--replace", "make-master", "generate", "index", "dump"})
        EXPECT_NE(help.find(cmd), std::string::npos) << cmd;
}

// ---- import-adif on hostile files ----

// Five QSOs, one a line, JA1XXX to JA5XXX on 2020-01-01 to -05 (so the log
// keeps file order); `extra[i]` is put into record i + 1 before its <EOR>,
// `eor[i]` false leaves that <EOR> out.
std::string FiveRecords(const std::vector<std::string>& extra, std::vector<bool> eor = {}) {
    eor.resize(5, true);
    std::string out;
    for (int i = 0; i < 5; ++i) {
        std::string n = std::to_string(i + 1);
        out += "<CALL:6>JA" + n + "XXX <QSO_DATE:8>2020010" + n + " <TIME_ON:4>1200 " +
               (size_t(i) < extra.size() ? extra[size_t(i)] : std::string()) + (eor[size_t(i)] ? "<EOR>\n" : "\n");
    }
    return out;
}

// The first n records (lines) of FiveRecords.
std::string FirstRecords(const std::string& five, int n) {
    return five.substr(0, five.find("<CALL:6>JA" + std::to_string(n + 1)));
}

struct HostileCase {
    const char* What;
    std::string Adif;
    int Exit;
    std::vector<std::string> Calls;                 // the log, in order
    std::vector<std::tuple<size_t, int, std::string>> Texts;   // row, dump column, text
    std::vector<std::string> Reports;               // in the tool's output
};

const std::vector<std::string> kAllFive = {"JA1XXX", "JA2XXX", "JA3XXX", "JA4XXX", "JA5XXX"};

std::vector<HostileCase> HostileCases() {
    enum { kName = 11, kQth = 12, kRem1 = 13, kRem2 = 14 };
    const std::string big(300000, 'x');
    return {
        {"lengths as written, '<' inside a value", FiveRecords({"", "<COMMENT:8>a<b> c<d <NAME:4:S>Taro "}), 0, kAllFive,
         {{1, kRem1, "a<b> c<d"}, {1, kName, "Taro"}}, {"imported 5, skipped 0, changed 0"}},
        {"a length past the record's <EOR>", FiveRecords({"", "<COMMENT:60>short"}), 1, kAllFive,
         {{1, kRem1, "short"}},
         {"note record 2 (line 2, JA2XXX): COMMENT: length 60 runs past the record's <EOR>; read up to the next tag (5 bytes)",
          "imported 5, skipped 0, changed 1"}},
        {"a length into the next field", FiveRecords({"", "<NAME:12>Taro <QTH:5>Tokyo "}), 1, kAllFive,
         {{1, kName, "Taro"}, {1, kQth, "Tokyo"}}, {"record 2 (line 2, JA2XXX): NAME: length 12 runs into the next field <QTH>"}},
        {"a huge length in record 2 of 5", FiveRecords({"", "<NAME:999999999>Taro "}), 1, kAllFive, {{1, kName, "Taro"}},
         {"NAME: length 999999999 is absurd (more than 1048576 bytes); read up to the next tag (4 bytes)"}},
        {"an 11-digit length", FiveRecords({"", "<NAME:12345678901>Taro "}), 1, kAllFive, {{1, kName, "Taro"}},
         {"NAME: length 12345678901 is absurd"}},
        {"a negative length", FiveRecords({"", "<NAME:-4>Taro "}), 1, kAllFive, {{1, kName, "Taro"}},
         {"record 2 (line 2, JA2XXX): NAME: length \"-4\" is negative"}},
        {"a length that is no number", FiveRecords({"", "<NAME:x4>Taro <QTH:>Tokyo <COMMENT:-1>FB "}), 1, kAllFive,
         {{1, kName, "Taro"}, {1, kQth, "Tokyo"}, {1, kRem1, "FB"}},
         {"NAME: length \"x4\" is not a number", "QTH: length \"\" is not a number", "COMMENT: length \"-1\" is negative"}},
        {"a length short of its text", FiveRecords({"", "<NAME:2>Taroh "}), 1, kAllFive, {{1, kName, "Taroh"}},
         {"NAME: length 2 ends inside the text that follows it; read up to the next tag (5 bytes)"}},
        {"a CALL of negative length",
         "<CALL:6>JA1XXX <QSO_DATE:8>20200101 <TIME_ON:4>1200 <EOR>\n<CALL:-6>JA2XXX <QSO_DATE:8>20200102 <TIME_ON:4>1200 <EOR>\n",
         1, {"JA1XXX", "JA2XXX"}, {}, {"record 2 (line 2, JA2XXX): CALL: length \"-6\" is negative"}},
        {"a length past the end of the file", FiveRecords({"", "", "", "", "<NAME:50>Sato"}), 1, kAllFive,
         {{4, kName, "Sato"}}, {"record 5 (line 5, JA5XXX): NAME: length 50 runs past the end of the file; read up to the next tag (4 bytes)"}},
        {"an <EOR> missing between records", FiveRecords({}, {true, false}), 1, kAllFive, {},
         {"record 2 (line 2, JA2XXX): no <EOR> closes it; a second CALL (line 3) begins the next record",
          "imported 5, skipped 0, changed 1"}},
        {"no <EOR> after the last record", FiveRecords({}, {true, true, true, true, false}), 1,
         {"JA1XXX", "JA2XXX", "JA3XXX", "JA4XXX"}, {},
         {"skipped record 5 (line 5, JA5XXX): no <EOR> closes it before the end of the file",
          "imported 4, skipped 1, changed 0", "skipped for no <EOR>: 1"}},
        {"two records and no <EOR> at all", FirstRecords(FiveRecords({}, {false, false, false, false, false}), 2), 1,
         {"JA1XXX"}, {}, {"imported 1, skipped 1, changed 1"}},
        {"a length counted with CR LF in a file with LF", FiveRecords({"", "<NOTES:4>a\nb"}), 1, kAllFive,
         {{1, kRem2, "a b"}}, {"record 2 (line 2, JA2XXX): NOTES: length 4 counts CR LF line ends; read with the file's LF line ends (3 bytes)"}},
        {"a value longer than the reader's window", FiveRecords({"", "<NOTES:300000>" + big + " "}), 1, kAllFive,
         {{1, kRem2, big.substr(0, 38)}, {2, kName, ""}}, {"record 2 (line 2, JA2XXX): NOTES cut to 38 bytes"}},
        {"a value over the record's <EOR> into a later record", FiveRecords({"", "<NAME:70>Sato"}), 1, kAllFive,
         {{1, kName, "Sato"}, {2, kName, ""}}, {"NAME: length 70 runs past the record's <EOR>"}},
    };
}

TEST_F(ToolTest, ImportReportsEveryBadLengthAndLosesNoLaterRecord) {
    for (const HostileCase& c : HostileCases()) {
        SCOPED_TRACE(c.What);
        test::RemoveFile(File("vireon.vdb"));
        test::RemoveFile(File("vireon.dx0"));
        test::WriteFileBytes(File("in.adi"), c.Adif);
        std::string out = Tool({"import-adif", "in.adi"}, c.Exit);
        for (const std::string& r : c.Reports) EXPECT_NE(out.find(r), std::string::npos) << r << "\n" << out;
        auto rows = Dump();
        std::vector<std::string> calls;
        for (const auto& r : rows) calls.push_back(r[kCall]);
        EXPECT_EQ(calls, c.Calls) << out;
        for (const auto& t : c.Texts) {
            ASSERT_LT(std::get<0>(t), rows.size());
            EXPECT_EQ(rows[std::get<0>(t)][size_t(std::get<1>(t))], std::get<2>(t)) << "row " << std::get<0>(t);
        }
        for (const char* leftover : {"vireon.vdb.new", "vireon.dx0.new", "vireon.vdb.unsorted"})
            EXPECT_FALSE(test::FileExists(File(leftover))) << leftover;
    }
}

// The streaming reader gives the same records however the file arrives.
TEST_F(ToolTest, ReaderGivesTheSameRecordsWhateverTheReadSize) {
    auto fields = [](const vireon::AdifRecord& r) {
        std::string s = std::to_string(r.Ordinal) + "@" + std::to_string(r.Line) + (r.Terminated ? "" : " open");
        for (const auto& f : r.Fields) s += "|" + f.Name + "=" + f.Value;
        for (const auto& p : r.Problems) s += "|!" + p;
        return s;
    };
    for (const HostileCase& c : HostileCases()) {
        SCOPED_TRACE(c.What);
        std::vector<std::string> whole;
        for (const auto& r : vireon::ReadAdifRecords(c.Adif)) whole.push_back(fields(r));
        EXPECT_FALSE(whole.empty());
        for (size_t step : {size_t(1), size_t(7), size_t(4093)}) {
            size_t at = 0;
            vireon::AdifReader reader([&](char* buf, size_t n, bool*) {
                size_t k = std::min({n, step, c.Adif.size() - at});
                std::memcpy(buf, c.Adif.data() + at, k);
                at += k;
                return k;
            });
            std::vector<std::string> got;
            vireon::AdifRecord r;
            while (reader.Next(&r)) got.push_back(fields(r));
            EXPECT_EQ(got, whole) << "reads of " << step << " bytes";
        }
    }
}

// ---- encodings ----

// One ADIF field; the length is that of the bytes unless given.
std::string Field(const std::string& name, const std::string& bytes, long length = -1) {
    return "<" + name + ":" + std::to_string(length < 0 ? long(bytes.size()) : length) + ">" + bytes + " ";
}

struct JaQso { const char* Call; const char* Utf8Name; const char* Utf8Qth; const char* Name; const char* Qth; };
// The same texts in UTF-8 (u8 literals) and CP932 (plain literals).
const JaQso kJaLog[] = {
    {"JA1AAA", u8"田中太郎", u8"東京都千代田区", "田中太郎", "東京都千代田区"},
    {"JA3BBB", u8"佐藤花子", u8"大阪市", "佐藤花子", "大阪市"},
    {"JA8CCC", u8"鈴木", u8"札幌市ｶﾀｶﾅ", "鈴木", "札幌市ｶﾀｶﾅ"},
};

// The log as an ADIF export, record i's texts in UTF-8 when bytes[i] is 'u'
// and in Shift_JIS when it is 's', its lengths counted likewise by lengths[i]
// (the two differ in a file re-encoded after it was written).
std::string JaExport(const char* bytes, const char* lengths) {
    std::string out = "exported by the tests\n<EOH>\n";
    for (int i = 0; i < 3; ++i) {
        const JaQso& q = kJaLog[i];
        auto pick = [&](char kind, const char* utf8, const char* sjis) { return std::string(kind == 'u' ? utf8 : sjis); };
        out += Field("CALL", q.Call) + Field("QSO_DATE", "2021010" + std::to_string(i + 1)) + Field("TIME_ON", "0900") +
               Field("NAME", pick(bytes[i], q.Utf8Name, q.Name), long(pick(lengths[i], q.Utf8Name, q.Name).size())) +
               Field("QTH", pick(bytes[i], q.Utf8Qth, q.Qth), long(pick(lengths[i], q.Utf8Qth, q.Qth).size())) + "<EOR>\n";
    }
    return out;
}

TEST_F(ToolTest, EncodingIsDecidedPerRecordAndNothingIsStoredGarbledWithoutANote) {
    enum { kName = 11, kQth = 12 };
    struct Case {
        const char* What;
        std::string Adif;
        int Exit;
        std::vector<std::pair<std::string, std::string>> Want;   // name, QTH per record
        std::vector<std::string> Reports;
    };
    std::vector<std::pair<std::string, std::string>> all;
    for (const JaQso& q : kJaLog) all.emplace_back(q.Name, q.Qth);
    std::string broken = JaExport("uuu", "uuu");
    broken.insert(broken.find(u8"佐藤花子") + std::string(u8"佐藤").size(), "\xFF");
    broken.replace(broken.find("<NAME:12>" + std::string(u8"佐藤")), 9, "<NAME:13>");
    const Case cases[] = {
        {"UTF-8 export", JaExport("uuu", "uuu"), 0, all, {"text read as UTF-8 in 3 record(s), as Shift_JIS in 0"}},
        {"Shift_JIS export", JaExport("sss", "sss"), 0, all, {"as Shift_JIS in 3"}},
        {"UTF-8 export re-encoded to Shift_JIS", JaExport("sss", "uuu"), 1, all,
         {"record 1 (line 3, JA1AAA): NAME: length 12 runs into the next field <QTH>; read up to the next tag (8 bytes)",
          "record 1 (line 3, JA1AAA): QTH: length 21 runs past the record's <EOR>"}},
        {"Shift_JIS export re-encoded to UTF-8", JaExport("uuu", "sss"), 1, all,
         {"record 2 (line 4, JA3BBB): NAME: length 8 ends inside the text that follows it; read up to the next tag (12 bytes)"}},
        {"a Shift_JIS record between UTF-8 records", JaExport("usu", "usu"), 0, all,
         {"encoding record 2 (line 4, JA3BBB): read as Shift_JIS (record 1 was UTF-8)"}},
        {"one broken byte in a UTF-8 file", broken, 1,
         {all[0], {"佐藤?花子", kJaLog[1].Qth}, all[2]},
         {"record 2 (line 4, JA3BBB): NAME: 1 byte(s) that are neither UTF-8 nor Shift_JIS became '?' (read as UTF-8)"}},
        {"Latin-1 text", Field("CALL", "DL1ABC") + Field("QSO_DATE", "20210101") + Field("TIME_ON", "0900") +
                         Field("NAME", "M\xFCller") + Field("QTH", "K\xF6ln") + "<EOR>\n",
         1, {{"M?ller", "K?ln"}}, {"NAME: 1 byte(s) that are neither UTF-8 nor Shift_JIS became '?'"}},
    };
    std::vector<std::vector<std::string>> firstDump;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        test::WriteFileBytes(File("in.adi"), c.Adif);
        std::string out = Tool({"import-adif", "--replace", "in.adi"}, c.Exit);
        for (const std::string& r : c.Reports) EXPECT_NE(out.find(r), std::string::npos) << r << "\n" << out;
        auto rows = Dump();
        ASSERT_EQ(rows.size(), c.Want.size()) << out;
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i][kName], c.Want[i].first) << "row " << i;
            EXPECT_EQ(rows[i][kQth], c.Want[i].second) << "row " << i;
        }
        // The four exports of the same log give the same log, byte for byte.
        if (firstDump.empty()) {
            firstDump = rows;
        } else if (c.Want == all) {
            EXPECT_EQ(rows, firstDump);
        }
    }
}

// ---- an existing log ----

TEST_F(ToolTest, ImportNeverReplacesALogUnlessToldAndThenOnlyWhenFinished) {
    MakeSmallLog();
    const std::string log = test::ReadFileBytes(File("vireon.vdb")), index = test::ReadFileBytes(File("vireon.dx0"));
    test::WriteFileBytes(File("two.adi"), FirstRecords(FiveRecords({}), 2));
    test::WriteFileBytes(File("none.adi"), "<CALL:6>JA1XXX <EOR>\n");
    auto unchanged = [&](const char* what) {
        EXPECT_TRUE(test::ReadFileBytes(File("vireon.vdb")) == log) << what;
        EXPECT_TRUE(test::ReadFileBytes(File("vireon.dx0")) == index) << what;
    };
    std::string out = Tool({"import-adif", "two.adi"}, 2);
    EXPECT_NE(out.find("this folder already holds vireon.vdb and vireon.dx0; nothing was changed. Give --replace"),
              std::string::npos) << out;
    unchanged("without --replace");
    Tool({"import-adif", "--replace", "none.adi"}, 3);
    unchanged("nothing importable");
    ASSERT_TRUE(test::MakeDir(File("vireon.vdb.new")));   // the new log cannot be written
    out = Tool({"import-adif", "--replace", "two.adi"}, 4);
    EXPECT_NE(out.find("cannot write"), std::string::npos) << out;
    unchanged("the new log could not be written");
    test::RemoveTree(File("vireon.vdb.new"));
    out = Tool({"import-adif", "two.adi", "--replace"});
    EXPECT_EQ(Dump().size(), 2u) << out;
    for (const char* leftover : {"vireon.vdb.new", "vireon.dx0.new", "vireon.vdb.unsorted"})
        EXPECT_FALSE(test::FileExists(File(leftover))) << leftover;
    // An index alone is no less a log to keep.
    test::RemoveFile(File("vireon.vdb"));
    Tool({"import-adif", "two.adi"}, 2);
    EXPECT_FALSE(test::FileExists(File("vireon.vdb")));
}

// ---- generate ----

TEST_F(ToolTest, GenerateWithoutAMasterUsesTheBuiltInSample) {
    std::string out = Tool({"generate", "500", "--seed", "2"});
    EXPECT_NE(out.find("codes from the built-in sample master"), std::string::npos) << out;
    auto rows = Dump();
    ASSERT_EQ(rows.size(), 500u);
    std::set<std::string> prefectures;
    for (const auto& r : rows) {
        if (!r[kCode].empty()) prefectures.insert(r[kCode].substr(0, 2));
        EXPECT_EQ(r[kQSL].size(), 3u);
        if (!r[kCode].empty()) {
            EXPECT_FALSE(r[kQTH].empty()) << r[kCode] << " has a name in the sample";
        }
    }
    EXPECT_GT(prefectures.size(), 30u);
    EXPECT_EQ(*prefectures.begin(), "01");
    EXPECT_LE(*prefectures.rbegin(), "47");
    MakeSmallMaster();
    out = Tool({"generate", "500", "--seed", "2", "--replace"});
    EXPECT_NE(out.find("codes from vireon.mst"), std::string::npos) << out;
}

TEST_F(ToolTest, GenerateKeepsAnExistingLogOrIndexUnlessToldToReplaceIt) {
    Tool({"generate", "20", "--seed", "4"});
    const std::string log = test::ReadFileBytes(File("vireon.vdb")), index = test::ReadFileBytes(File("vireon.dx0"));
    for (const char* only : {"", "vireon.dx0", "vireon.vdb"}) {
        SCOPED_TRACE(*only ? std::string("only ") + only : "both");
        test::WriteFileBytes(File("vireon.vdb"), log);
        test::WriteFileBytes(File("vireon.dx0"), index);
        if (*only) test::RemoveFile(File(std::string(only) == "vireon.dx0" ? "vireon.vdb" : "vireon.dx0"));
        const std::string out = Tool({"generate", "30", "--seed", "5"}, 2);
        EXPECT_NE(out.find("already holds"), std::string::npos) << out;
        EXPECT_NE(out.find("--replace"), std::string::npos) << out;
        const std::string kept = *only ? only : "both";
        if (kept != "vireon.dx0") {
            EXPECT_TRUE(test::ReadFileBytes(File("vireon.vdb")) == log);
        }
        if (kept != "vireon.vdb") {
            EXPECT_TRUE(test::ReadFileBytes(File("vireon.dx0")) == index);
        }
    }
    Tool({"generate", "30", "--seed", "5", "--replace"});
    EXPECT_EQ(Dump().size(), 30u);
}

}  // namespace
