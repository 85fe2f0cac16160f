#include "LogStoreFixture.h"

#include <sstream>

#include "logstore/LoggerLibrary.h"

namespace logtest {

namespace {

std::string LibraryExtension() {
    std::string name = test::LibraryFileName();
    return name.substr(name.rfind('.'));
}

}  // namespace



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
    ASSERT_NO_FATAL_FAILURE(test::MakeLog(dir_.Path(), qsos));
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
