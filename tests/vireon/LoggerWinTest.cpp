// loggerwin.exe started as a process of its own, sent WM_COPYDATA from this
// one: the journal must hold the exact bytes of every message.
#include <windows.h>

#include <string>

#include "TestSupport.h"

namespace {

class LoggerWin {
public:
    bool Start(const std::string& journal, bool hang) {
        std::string cmd = "\"" + test::BinFile("loggerwin.exe") + "\" \"" + journal + "\"" + (hang ? " --hang" : "");
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_)) return false;
        for (int i = 0; i < 200 && !window_; ++i) {
            Sleep(50);
            HWND w = FindWindowA("TKvwin", nullptr);
            DWORD pid = 0;
            if (w) GetWindowThreadProcessId(w, &pid);
            if (pid == pi_.dwProcessId) window_ = w;
        }
        return window_ != nullptr;
    }
    ~LoggerWin() {
        if (!pi_.hProcess) return;
        if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 9);
        WaitForSingleObject(pi_.hProcess, 5000);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    HWND Window() const { return window_; }
    HANDLE Process() const { return pi_.hProcess; }

private:
    PROCESS_INFORMATION pi_{};
    HWND window_ = nullptr;
};

// Sends one message and waits at most `ms` for the answer; false on timeout.
bool Send(HWND w, DWORD code, const std::string& bytes, LRESULT* answer, UINT ms = 5000) {
    COPYDATASTRUCT cds{};
    cds.dwData = code;
    cds.cbData = static_cast<DWORD>(bytes.size());
    cds.lpData = bytes.empty() ? nullptr : const_cast<char*>(bytes.data());
    DWORD_PTR result = 0;
    LRESULT ok = SendMessageTimeoutA(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, ms, &result);
    *answer = static_cast<LRESULT>(result);
    return ok != 0;
}

TEST(LoggerWin, JournalsEveryMessageByteForByte) {
    test::TempDir dir("loggerwin");
    std::string journal = dir.File("journal.txt");
    LoggerWin logger;
    ASSERT_TRUE(logger.Start(journal, false));
    char title[64] = {};
    GetWindowTextA(logger.Window(), title, sizeof title);
    EXPECT_STREQ(title, "Vireon (stand-in)");
    // 520 x 360 at 96 DPI, scaled to the screen's DPI (run at 144 and 192
    // DPI too).
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT r{};
    GetWindowRect(logger.Window(), &r);
    EXPECT_EQ(r.right - r.left, MulDiv(520, dpi, 96)) << dpi << " DPI";
    EXPECT_EQ(r.bottom - r.top, MulDiv(360, dpi, 96)) << dpi << " DPI";
    struct Message { DWORD Code; std::string Bytes; const char* Line; };
    const Message messages[] = {
        {0x20010, "JA1ABC/1", "00020010 8 4A41314142432F31"},
        {0x30000, "JA1ABC/1", "00030000 8 4A41314142432F31"},
        {8, "1001  ", "00000008 6 313030312020"},
        {11, "佐藤", "0000000B 4 8DB293A1"},
        {12, std::string("a\0b", 3), "0000000C 3 610062"},
        {0x20010, "", "00020010 0"},
    };
    std::string expected;
    for (const Message& m : messages) {
        LRESULT answer = -1;
        ASSERT_TRUE(Send(logger.Window(), m.Code, m.Bytes, &answer)) << m.Line;
        EXPECT_EQ(answer, 0) << m.Line;
        expected += std::string(m.Line) + "\n";
        EXPECT_EQ(test::ReadFileBytes(journal), expected) << "written at once";
    }
    PostMessageA(logger.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(logger.Process(), 10000), WAIT_OBJECT_0) << "ends on WM_CLOSE";
}

TEST(LoggerWin, HangJournalsTheFirstMessageAndStopsAnswering) {
    test::TempDir dir("loggerwin-hang");
    std::string journal = dir.File("journal.txt");
    LoggerWin logger;
    ASSERT_TRUE(logger.Start(journal, true));
    LRESULT answer = 0;
    EXPECT_FALSE(Send(logger.Window(), 0x20010, "JA1ABC", &answer, 1000)) << "no answer";
    EXPECT_EQ(test::ReadFileBytes(journal), "00020010 6 4A4131414243\n");
    EXPECT_NE(WaitForSingleObject(logger.Process(), 200), WAIT_OBJECT_0) << "still running";
}

}  // namespace
