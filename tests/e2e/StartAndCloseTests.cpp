// The shipped CallsignCheck.exe, started under Wine in a fresh folder.
#include <gtest/gtest.h>

#include "ProgramRunner.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/SettingsKeys.h"
#include "res/version.h"

namespace {

TEST(Program, StartsShowsOneWindowAndEndsWhenItIsClosed) {
    test::TempDir folder("e2e-start");
    test::CopyFileTo(test::BinFile("CallsignCheck.exe"), folder.File("CallsignCheck.exe"));
    std::string lib = test::BinFile(test::LibraryFileName());
    if (test::FileExists(lib)) test::CopyFileTo(lib, folder.File(test::LibraryFileName()));

    e2e::RunningProgram program;
    ASSERT_TRUE(program.Start(folder.File("CallsignCheck.exe"), {}, folder.Path()));
    HWND main = program.WaitForWindow(CC_CAPTION);
    ASSERT_NE(main, nullptr) << "the main window did not appear";
    EXPECT_EQ(program.VisibleWindows().size(), 1u) << "the main dialog is the program's only window";

    ::PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 1234;
    ASSERT_TRUE(program.WaitForExit(15000, &code)) << "the process did not end with its window";
    EXPECT_EQ(program.VisibleWindows().size(), 0u);
}

// A fresh folder with the program and the library, the INI's lines
// (without empty ones), and the lines a window at a place leaves.
void Install(const test::TempDir& folder) {
    test::CopyFileTo(test::BinFile("CallsignCheck.exe"), folder.File("CallsignCheck.exe"));
    test::CopyFileTo(test::BinFile(test::LibraryFileName()), folder.File(test::LibraryFileName()));
}

std::vector<std::string> IniLines(const std::string& path) {
    std::vector<std::string> lines(1);
    for (char c : test::ReadFileBytes(path)) {
        if (c == '\n') lines.emplace_back();
        else if (c != '\r') lines.back() += c;
    }
    std::vector<std::string> kept;
    for (auto& l : lines) if (!l.empty()) kept.push_back(l);
    return kept;
}

std::vector<std::string> StoredLines(RECT r, int column5) {
    const int widths[] = {60, 78, 78, 62, 40, column5, 68, 45, 63, 60, 45, 111, 236, 305, 305};
    std::vector<std::string> lines = {"[Aplication]", "TOP=" + std::to_string(r.top), "LEFT=" + std::to_string(r.left),
                                      "WIDTH=" + std::to_string(r.right - r.left),
                                      "HIGHT=" + std::to_string(r.bottom - r.top)};
    for (int i = 0; i < 15; ++i) lines.push_back("COLUMN" + std::to_string(i) + "=" + std::to_string(widths[i]));
    return lines;
}

// Puts the window at r and column 5 at a width, as the operator's mouse would.
void Arrange(HWND main, RECT r, int column5) {
    ::SetWindowPos(main, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutA(::GetDlgItem(main, 1005), LVM_SETCOLUMNWIDTH, 5, column5, SMTO_ABORTIFHUNG, 5000, &answer);
}

TEST(Program, TwoCopiesClosingAtOnceLeaveTheWholeSettingsOfOne) {
    const RECT places[2] = {{150, 120, 950, 620}, {300, 200, 1200, 800}};
    const int widths[2] = {77, 88};
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        test::TempDir folder("e2e-two");
        Install(folder);
        e2e::RunningProgram copies[2];
        HWND windows[2] = {};
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(copies[i].Start(folder.File("CallsignCheck.exe"), {}, folder.Path()));
            windows[i] = copies[i].WaitForWindow(CC_CAPTION);
            ASSERT_NE(windows[i], nullptr);
            Arrange(windows[i], places[i], widths[i]);
        }
        for (HWND w : windows) ::PostMessageA(w, WM_CLOSE, 0, 0);
        for (auto& copy : copies) ASSERT_TRUE(copy.WaitForExit(15000));
        const std::vector<std::string> lines = IniLines(folder.File("CallsignCheck.ini"));
        EXPECT_TRUE(lines == StoredLines(places[0], widths[0]) || lines == StoredLines(places[1], widths[1]))
            << test::ReadFileBytes(folder.File("CallsignCheck.ini"));
    }
}

// A writer that keeps the settings lock (here this test, another process to
// the program) has stopped: the closing program waits its while, then
// stores its settings without the lock instead of dropping them.
TEST(Program, ASettingsLockHeldPastTheWaitDelaysTheWritesButNeverDropsThem) {
    test::TempDir folder("e2e-locked");
    Install(folder);
    HANDLE lock = ::CreateMutexA(nullptr, TRUE, SettingsLockName(folder.File("CallsignCheck.ini").c_str()).c_str());
    ASSERT_NE(lock, nullptr);
    struct Release {
        HANDLE lock;
        ~Release() {
            ::ReleaseMutex(lock);
            ::CloseHandle(lock);
        }
    } release{lock};
    e2e::RunningProgram program;
    ASSERT_TRUE(program.Start(folder.File("CallsignCheck.exe"), {}, folder.Path()));
    HWND main = program.WaitForWindow(CC_CAPTION);
    ASSERT_NE(main, nullptr);
    const RECT place = {160, 110, 860, 530};
    Arrange(main, place, 66);
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(program.WaitForExit(2000)) << "the program waits for the lock";
    EXPECT_FALSE(test::FileExists(folder.File("CallsignCheck.ini")));
    ASSERT_TRUE(program.WaitForExit(15000)) << "and not for ever";
    EXPECT_EQ(program.VisibleWindows().size(), 0u);
    EXPECT_EQ(IniLines(folder.File("CallsignCheck.ini")), StoredLines(place, 66));
}

TEST(Program, TheEndOfTheSessionStoresTheSettingsBeforeWindowsEndsTheProgram) {
    test::TempDir folder("e2e-session");
    Install(folder);
    e2e::RunningProgram program;
    ASSERT_TRUE(program.Start(folder.File("CallsignCheck.exe"), {}, folder.Path()));
    HWND main = program.WaitForWindow(CC_CAPTION);
    ASSERT_NE(main, nullptr);
    const RECT place = {140, 90, 840, 510};
    Arrange(main, place, 77);
    // As Windows does: ask, tell, then end the process without a close.
    DWORD_PTR answer = 0;
    ASSERT_NE(::SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
    EXPECT_NE(answer, 0u);
    ASSERT_NE(::SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
    program.Kill();
    EXPECT_EQ(IniLines(folder.File("CallsignCheck.ini")), StoredLines(place, 77));
}

}  // namespace
