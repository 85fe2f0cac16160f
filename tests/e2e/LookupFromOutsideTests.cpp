// The shipped CallsignCheck.exe worked from outside: cc-driver types into
// its call-sign box, presses keys and reads back the list and the count box,
// on a log made by vireon-tool from a real ADIF file.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "ProgramRunner.h"
#include "TestSupport.h"
#include "res/version.h"

namespace {

const char kAdif[] = "adif/ja-ft8-2021.adi";

using DumpRow = test::DumpedRecord;

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> cells;
    std::istringstream in(line);
    std::string cell;
    while (std::getline(in, cell, '\t')) cells.push_back(cell);
    return cells;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// What the driver printed: the boxes and the rows.
struct Seen {
    std::string Box, Count;
    std::vector<std::vector<std::string>> Rows;
};

class OutsideTest : public ::testing::Test {
protected:
    OutsideTest() : folder_("e2e-outside") {}

    void SetUp() override {
        test::CopyFileTo(test::BinFile("CallsignCheck.exe"), folder_.File("CallsignCheck.exe"));
        test::CopyFileTo(test::BinFile(test::LibraryFileName()), folder_.File(test::LibraryFileName()));
    }

    void MakeLogFromAdif() {
        std::string out;
        ASSERT_EQ(test::RunVireonTool({"import-adif", test::SharedDataFile(kAdif)}, folder_.Path(), &out), 0) << out;
        dump_ = test::DumpLog(folder_.Path());
        ASSERT_GT(dump_.size(), 10u);
    }

    void Start() {
        ASSERT_TRUE(program_.Start(folder_.File("CallsignCheck.exe"), {}, folder_.Path()));
        ASSERT_NE(program_.WaitForWindow(CC_CAPTION), nullptr);
    }

    Seen Drive(const std::vector<std::string>& commands) {
        std::vector<std::string> args = {std::to_string(program_.Pid())};
        args.insert(args.end(), commands.begin(), commands.end());
        std::string out;
        EXPECT_EQ(test::RunProgram(test::BinFile("cc-driver.exe"), args, &out), 0) << out;
        Seen seen;
        for (const std::string& line : Lines(out)) {
            std::vector<std::string> cells = Split(line);
            if (cells.empty()) continue;
            if (cells[0] == "BOX") seen.Box = cells.size() > 1 ? cells[1] : "";
            if (cells[0] == "COUNT") seen.Count = cells.size() > 1 ? cells[1] : "";
            if (cells[0] == "ROW") {
                cells.erase(cells.begin());
                cells.resize(4);   // trailing empty cells are dropped by the split
                seen.Rows.push_back(cells);
            }
        }
        return seen;
    }

    // Rec.No (as shown, "%6d"), Call, Date, Time of a record.
    static std::vector<std::string> Shown(const DumpRow& r) {
        char number[16];
        std::snprintf(number, sizeof number, "%6d", r.RecNo);
        return {number, r.Fields[0], r.Fields[1], r.Fields[2]};
    }

    test::TempDir folder_;
    e2e::RunningProgram program_;
    std::vector<DumpRow> dump_;
};

TEST_F(OutsideTest, EnterListsEveryQsoWithTheStationAndF3EveryFittingCall) {
    REQUIRE_SHARED_DATA(kAdif);
    ASSERT_NO_FATAL_FAILURE(MakeLogFromAdif());
    // The six-character call worked most often.
    std::map<std::string, int> worked;
    for (const DumpRow& r : dump_)
        if (r.Fields[0].size() == 6) ++worked[r.Fields[0]];
    auto busiest = std::max_element(worked.begin(), worked.end(),
                                    [](const auto& a, const auto& b) { return a.second < b.second; });
    ASSERT_NE(busiest, worked.end());
    const std::string call = busiest->first;

    std::vector<std::vector<std::string>> exact, partial;
    for (const DumpRow& r : dump_) {
        if (r.Fields[0].compare(0, 6, call) == 0) exact.push_back(Shown(r));
        if (r.Fields[0].compare(0, 3, call, 0, 3) == 0) partial.push_back(Shown(r));
    }
    ASSERT_GT(exact.size(), 1u) << call;
    ASSERT_GT(partial.size(), exact.size()) << call;

    ASSERT_NO_FATAL_FAILURE(Start());
    Seen seen = Drive({"type", call, "key", "enter", "box", "count", "rows", "0,1,2,3"});
    EXPECT_EQ(seen.Box, call);
    EXPECT_EQ(seen.Count, "交信回数 " + std::to_string(exact.size()) + " 回");
    // Rows come in the index's order; the set must be exactly the station's.
    std::vector<std::vector<std::string>> rows = seen.Rows;
    std::sort(rows.begin(), rows.end());
    std::sort(exact.begin(), exact.end());
    EXPECT_EQ(rows, exact) << call;

    seen = Drive({"type", call.substr(0, 3), "key", "f3", "box", "count", "rows", "0,1,2,3"});
    EXPECT_EQ(seen.Box, call.substr(0, 3) + "???");
    EXPECT_EQ(seen.Count, "検索件数 " + std::to_string(partial.size()) + " 件");
    EXPECT_EQ(seen.Rows, partial) << "every fitting record, in record order";

    seen = Drive({"key", "escape", "box", "count", "rows", "0"});
    EXPECT_EQ(seen.Box, "");
    EXPECT_EQ(seen.Count, "");
    EXPECT_TRUE(seen.Rows.empty());

    HWND main = program_.WaitForWindow(CC_CAPTION);
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program_.WaitForExit(15000));
    std::string ini = test::ReadFileBytes(folder_.File("CallsignCheck.ini"));
    EXPECT_EQ(ini.find("[Aplication]"), 0u) << ini;
    EXPECT_NE(ini.find("TOP=100"), std::string::npos) << ini;
    EXPECT_NE(ini.find("COLUMN14=305"), std::string::npos) << ini;
}

TEST_F(OutsideTest, EnterHandsTheTypedCallToTheRunningLogger) {
    // A log without the station: the lookup finds nothing, the hand-over
    // goes on.
    test::Qso other;
    other.Date = "20210101";
    other.Call = "JR1XYZ";
    ASSERT_NO_FATAL_FAILURE(test::MakeLog(folder_.Path(), {other}));
    e2e::RunningProgram logger;
    ASSERT_TRUE(logger.Start(test::BinFile("loggerwin.exe"), {folder_.File("journal.txt")}, folder_.Path()));
    ASSERT_NE(logger.WaitForWindow(""), nullptr);
    ASSERT_NO_FATAL_FAILURE(Start());
    Drive({"link", "on", "type", "JA1ABC/1", "key", "enter", "key", "escape"});
    EXPECT_EQ(test::ReadFileBytes(folder_.File("journal.txt")),
              "00020010 8 4A41314142432F31\n00030000 8 4A41314142432F31\n00020010 0\n");
}

TEST_F(OutsideTest, WithoutTheLibraryTheProgramSaysSoAndEndsWritingNothing) {
    test::RemoveFile(folder_.File(test::LibraryFileName()));
    ASSERT_TRUE(program_.Start(folder_.File("CallsignCheck.exe"), {}, folder_.Path()));
    HWND box = program_.WaitForWindow("CallsignCheck");
    ASSERT_NE(box, nullptr) << "a message box captioned with the program's name";
    EXPECT_EQ(e2e::WindowText(::GetDlgItem(box, 0xFFFF)), "VIREON50.DLLがみつかりません\nプログラムを終了します");
    EXPECT_EQ(program_.VisibleWindows().size(), 1u) << "only the message shows";
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 0;
    ASSERT_TRUE(program_.WaitForExit(15000, &code)) << "the program ends after the message";
    EXPECT_FALSE(test::FileExists(folder_.File("CallsignCheck.ini")));
}

}  // namespace
