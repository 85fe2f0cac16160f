// The shipped CallsignCheck.exe worked from outside: cc-driver types into
// its call-sign box, presses keys and reads back the list, the count box and
// the status bar, on logs made by vireon-tool (from a real ADIF file, or
// generated), also while the logger changes its log and index under it.
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
    std::string Box, Count, Status;
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
            if (cells[0] == "STATUS") seen.Status = cells.size() > 1 ? cells[1] : "";
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

// ---- the call index copy following the logger's

// The QSOs of the tests below: JA1ABC three times (7 MHz FT8, 14 MHz CW
// confirmed), others around it.
std::vector<test::Qso> SmallLog() {
    std::vector<test::Qso> qsos;
    const char* calls[] = {"JA1ABC", "JA1ABD", "JA1ABC", "JR1XYZ", "JA1ABC/1"};
    for (int i = 0; i < 5; ++i) {
        test::Qso q;
        q.Call = calls[i];
        q.Date = "2021010" + std::to_string(i + 1);
        if (i == 2) q.Freq = "14.074", q.Mode = "CW", q.Confirmed = true;
        qsos.push_back(q);
    }
    return qsos;
}

// The logger's log and index as another folder has them, put in place over
// the program's (the logger rewrites them while the program runs).
void TakeLogFrom(const test::TempDir& from, const test::TempDir& to) {
    for (const char* name : {"vireon.vdb", "vireon.dx0"}) test::CopyFileTo(from.File(name), to.File(name));
}

TEST_F(OutsideTest, EnterFindsAQsoTheLoggerAddedAfterTheStartAndLeavesACurrentCopyAlone) {
    ASSERT_NO_FATAL_FAILURE(test::MakeLog(folder_.Path(), SmallLog()));
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string copy = folder_.File("call.idx");
    ASSERT_EQ(test::ReadFileBytes(copy), test::ReadFileBytes(folder_.File("vireon.dx0"))) << "made at start";
    const std::string atStart = test::FileIdentityOf(copy);
    ASSERT_NE(atStart, "");

    Seen seen = Drive({"type", "JA1ABC", "key", "enter", "count", "status"});
    EXPECT_EQ(seen.Count, "交信回数 3 回");
    EXPECT_EQ(seen.Status, "Cfm 14  Wkd 7  /  Cfm CW  Wkd FT8");
    EXPECT_EQ(test::FileIdentityOf(copy), atStart) << "a copy of the same time and size is not written again";

    // The logger logs JA1ABC on 21 MHz SSB, and its index takes the QSO.
    std::vector<test::Qso> more = SmallLog();
    test::Qso added;
    added.Call = "JA1ABC", added.Date = "20210301", added.Freq = "21.200", added.Mode = "SSB";
    more.push_back(added);
    test::TempDir logger("e2e-logger");
    ASSERT_NO_FATAL_FAILURE(test::MakeLog(logger.Path(), more));
    TakeLogFrom(logger, folder_);
    seen = Drive({"key", "enter", "count", "status", "rows", "0,1,2,3"});
    EXPECT_EQ(seen.Count, "交信回数 4 回");
    EXPECT_EQ(seen.Status, "Cfm 14  Wkd 7 21  /  Cfm CW  Wkd FT8 SSB");
    EXPECT_EQ(test::ReadFileBytes(copy), test::ReadFileBytes(folder_.File("vireon.dx0")));
    EXPECT_TRUE(program_.VisibleWindows().size() == 1u) << "no message";
}

TEST_F(OutsideTest, AnOldCopyIsMadeAnewOrWhenItCannotBeReadAndNeverListsAnotherStation) {
    // The log is made anew under a copy of an older, other log's index,
    // whose JA1ABC entries name records 3 to 5.
    auto log = [](const std::vector<const char*>& calls) {
        std::vector<test::Qso> qsos;
        for (size_t i = 0; i < calls.size(); ++i) {
            test::Qso q;
            q.Call = calls[i];
            q.Date = "2021020" + std::to_string(i + 1);
            qsos.push_back(q);
        }
        return qsos;
    };
    test::TempDir old("e2e-old");
    ASSERT_NO_FATAL_FAILURE(test::MakeLog(old.Path(), log({"JR1AAA", "JR1BBB", "JA1ABC", "JA1ABC", "JA1ABC"})));
    ASSERT_NO_FATAL_FAILURE(
        test::MakeLog(folder_.Path(), log({"JA1ABC", "JA1ABD", "JQ0UHH", "JA1ABC/1", "JA1ABD", "JA1ABC"})));
    dump_ = test::DumpLog(folder_.Path());
    std::vector<std::vector<std::string>> exact, onTheOldCopy;
    for (const DumpRow& r : dump_) {
        if (r.Fields[0].compare(0, 6, "JA1ABC") == 0) exact.push_back(Shown(r));
        if (r.Fields[0] == "JA1ABC/1") onTheOldCopy.push_back(Shown(r));   // record 4, the one of 3 to 5
    }
    ASSERT_EQ(exact.size(), 3u);
    ASSERT_EQ(onTheOldCopy.size(), 1u);
    std::sort(exact.begin(), exact.end());
    const std::string copy = folder_.File("call.idx");
    enum Case { ReadOnly, Writable, RefreshFails };
    for (Case c : {ReadOnly, Writable, RefreshFails}) {
        SCOPED_TRACE(c == ReadOnly ? "read-only copy" : c == Writable ? "writable copy" : "no copy can be made");
        ::SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
        test::CopyFileTo(old.File("vireon.dx0"), copy);
        if (c == ReadOnly) ::SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY);
        // A folder where no new file can be made: the copy's refresh fails.
        if (c == RefreshFails && !test::MakeUnwritable(folder_.Path(), true)) {
            std::printf("[ SKIPPED  ] a folder cannot be made unwritable here\n");
            break;
        }
        struct Restore {
            std::string folder;
            ~Restore() { if (!folder.empty()) test::MakeUnwritable(folder, false); }
        } restore{c == RefreshFails ? folder_.Path() : ""};
        ASSERT_NO_FATAL_FAILURE(Start());
        Seen seen = Drive({"type", "JA1ABC", "key", "enter", "rows", "0,1,2,3"});
        std::vector<std::vector<std::string>> rows = seen.Rows;
        std::sort(rows.begin(), rows.end());
        if (c == RefreshFails) {
            // The lookup goes on with the old copy, in silence; what it
            // names of other stations is skipped.
            EXPECT_EQ(test::ReadFileBytes(copy), test::ReadFileBytes(old.File("vireon.dx0")));
            EXPECT_EQ(rows, onTheOldCopy);
            EXPECT_EQ(program_.VisibleWindows().size(), 1u) << "no message";
        } else {
            EXPECT_EQ(rows, exact) << "the copy is made anew before the lookup";
            EXPECT_EQ(::GetFileAttributesA(copy.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
        }
        program_.Kill();
    }
    ::SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(OutsideTest, InAFolderWhereNoCopyCanBeMadeTheLookupReadsTheLoggersIndex) {
    ASSERT_NO_FATAL_FAILURE(test::MakeLog(folder_.Path(), SmallLog()));
    if (!test::MakeUnwritable(folder_.Path(), true)) GTEST_SKIP() << "a folder cannot be made unwritable here";
    struct Restore {
        std::string folder;
        ~Restore() { test::MakeUnwritable(folder, false); }
    } restore{folder_.Path()};
    ASSERT_NO_FATAL_FAILURE(Start());
    Seen seen = Drive({"type", "JA1ABC", "key", "enter", "count", "rows", "0,1"});
    EXPECT_EQ(seen.Count, "交信回数 3 回");
    EXPECT_EQ(seen.Rows.size(), 3u);
    EXPECT_FALSE(test::FileExists(folder_.File("call.idx")));
    EXPECT_EQ(program_.VisibleWindows().size(), 1u) << "no message";
    program_.Kill();
}

}  // namespace
