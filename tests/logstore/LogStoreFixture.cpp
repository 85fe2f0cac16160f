#include "LogStoreFixture.h"

#include <sstream>

#include "logstore/LoggerLibrary.h"

namespace logtest {

namespace {

void Field(std::string& out, const char* name, const std::string& value) {
    if (value.empty()) return;
    out += "<" + std::string(name) + ":" + std::to_string(value.size()) + ">" + value + " ";
}

std::string LibraryExtension() {
    std::string name = test::LibraryFileName();
    return name.substr(name.rfind('.'));
}

}  // namespace

std::string AdifOf(const std::vector<Qso>& qsos) {
    std::string out = "made by the logstore tests\n<ADIF_VER:5>3.1.4 <EOH>\n";
    for (const Qso& q : qsos) {
        Field(out, "CALL", q.Call);
        Field(out, "QSO_DATE", q.Date);
        Field(out, "TIME_ON", q.Time);
        Field(out, "FREQ", q.Freq);
        Field(out, "MODE", q.Mode);
        Field(out, "CNTY", q.Cnty);
        Field(out, "NAME", q.Name);
        if (q.Confirmed) Field(out, "QSL_RCVD", "Y");
        out += "<EOR>\n";
    }
    return out;
}


void LogFolder::MakeMaster(const std::string& jccLines, const std::string& jcgLines,
                           const std::string& kuLines) {
    test::WriteFileBytes(dir_.File("jcc.txt"),
                         "ＪＣＣリスト    test\n\n  No.     市名(ﾛｰﾏ字)       市名(漢字)  消滅日\n\n" + jccLines);
    test::WriteFileBytes(dir_.File("jcg.txt"),
                         "ＪＣＧリスト    test\n  No.     郡名(ﾛｰﾏ字)       郡名(漢字)  消滅日\n \n" + jcgLines);
    std::vector<std::string> args = {"make-master", "--jcc", "jcc.txt", "--jcg", "jcg.txt"};
    if (!kuLines.empty()) {
        test::WriteFileBytes(dir_.File("ku.txt"), "政令指定都市の区番号\n\nNo.\t区名(ﾛｰﾏ字)\t区名(漢字)\n\n" + kuLines);
        args.push_back("--ku");
        args.push_back("ku.txt");
    }
    ASSERT_NO_FATAL_FAILURE(Tool(args));
}

void LogFolder::TearDown() { FreeLoggerLibrary(); }

void LogFolder::UseLibrary(const std::string& variant) {
    test::CopyFileTo(test::BinFile(variant + LibraryExtension()), dir_.File(test::LibraryFileName()));
}

void LogFolder::Tool(const std::vector<std::string>& args) {
    std::string output;
    int code = test::RunVireonTool(args, dir_.Path(), &output);
    std::string line;
    for (const auto& a : args) line += a + " ";
    ASSERT_EQ(code, 0) << "vireon-tool " << line << "\n" << output;
}

void LogFolder::MakeLog(const std::vector<Qso>& qsos) {
    test::WriteFileBytes(dir_.File("log.adi"), AdifOf(qsos));
    ASSERT_NO_FATAL_FAILURE(Tool({"import-adif", "log.adi"}));
    test::CopyFileTo(dir_.File("vireon.dx0"), dir_.File("call.idx"));
}

std::vector<DumpRow> LogFolder::Dump() { return test::DumpLog(dir_.Path()); }

int LogFolder::Calls(const char* entry) {
    using CallCount = int(VIREON_API*)(const char*);
    auto count = reinterpret_cast<CallCount>(FindLoggerEntry("VireonDebugCallCount"));
    EXPECT_NE(count, nullptr) << "the library has no call counter";
    return count ? count(entry) : -1;
}

}  // namespace logtest
