// The link with the running logging program, against the real stand-in
// logger window (loggerwin.exe) in a process of its own: what arrives, in
// which order, and that a logger that stops answering does not stop us.
#include <chrono>
#include <sstream>

#include "CheckWindowFixture.h"
#include "ProgramRunner.h"
#include "res/resource.h"

namespace checkwin_test {
namespace {

const std::vector<Qso> kLog = {
    Station("JA1ABC", "20210101", "100101", "佐藤", "千代田区"),
    Station("JA1ABC/1", "20210102", "1001", "鈴木", "横浜市"),
    Station("JA1XYZ", "20210103", "", "", ""),
};

// One journal line of loggerwin: code, length, the bytes in hex.
std::string Line(unsigned code, const std::string& bytes) {
    char head[32];
    std::snprintf(head, sizeof head, "%08X %u", code, static_cast<unsigned>(bytes.size()));
    std::string line = head;
    if (bytes.empty()) return line;
    line += ' ';
    static const char kHex[] = "0123456789ABCDEF";
    for (unsigned char b : bytes) {
        line += kHex[b >> 4];
        line += kHex[b & 15];
    }
    return line;
}

class LinkTest : public CheckWindowTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(MakeLog(kLog)); }

    HWND StartLogger(bool hang) {
        std::vector<std::string> args = {Folder().File("journal.txt")};
        if (hang) args.push_back("--hang");
        EXPECT_TRUE(logger_.Start(test::BinFile("loggerwin.exe"), args, Folder().Path()));
        return gui::WaitFor([] { return ::FindWindowA("TKvwin", nullptr); }, 20000);
    }

    // The journal lines that arrived since the last call.
    std::vector<std::string> NewLines() {
        std::vector<std::string> lines;
        std::istringstream in(test::ReadFileBytes(Folder().File("journal.txt")));
        std::string line;
        size_t n = 0;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (n++ >= seen_) lines.push_back(line);
        }
        seen_ = n;
        return lines;
    }

    e2e::RunningProgram logger_;
    size_t seen_ = 0;
};

using Lines = std::vector<std::string>;

TEST_F(LinkTest, EachTriggerSendsItsMessagesInOrderOnlyWhenTheLinkIsOn) {
    HWND loggerWindow = StartLogger(false);
    ASSERT_NE(loggerWindow, nullptr);
    const std::string call = "JA1ABC/1";
    const std::string code = "1001  ", name = Cp932(L"鈴木"), qth = Cp932(L"横浜市");
    Run([&](HWND main) {
        HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
        auto lookUp = [&](const char* typed) {
            Type(main, typed);
            Press(box, VK_RETURN);
        };
        // Unticked: nothing from any trigger, and the lookup still runs.
        lookUp("JA1ABC");
        EXPECT_EQ(ListCount(main), 2);
        SelectRow(main, 1);
        NotifyList(main, NM_DBLCLK);
        NotifyList(main, NM_RCLICK);
        Press(box, VK_DOWN);
        Press(box, VK_ESCAPE);
        gui::Settle(main);
        EXPECT_EQ(NewLines(), Lines{});

        SetLink(main, true);
        Type(main, call.c_str());
        Press(box, VK_DOWN);
        EXPECT_EQ(NewLines(), (Lines{Line(0x20010, call), Line(0x30000, call)})) << "the typed text, 8 bytes";
        ::Sleep(200);   // a change of the foreground window reaches the display late
        EXPECT_NE(::GetForegroundWindow(), loggerWindow) << "Down leaves the logger behind";
        EXPECT_EQ(ListCount(main), 2) << "the lookup used JA1ABC";

        Press(box, VK_RETURN);
        EXPECT_EQ(NewLines(), (Lines{Line(0x20010, call), Line(0x30000, call)}));
        EXPECT_TRUE(gui::WaitUntil([&] { return ::GetForegroundWindow() == loggerWindow; }, 5000))
            << "Enter brings the logger to the front";

        // Row hand-overs take the texts as the list shows them.
        SelectRow(main, 1);
        NotifyList(main, NM_DBLCLK);
        EXPECT_EQ(NewLines(), (Lines{Line(0x20010, "JA1ABC"), Line(0x30000, "JA1ABC")}));
        NotifyList(main, NM_RCLICK);
        EXPECT_EQ(NewLines(), (Lines{Line(0, call), Line(8, code), Line(11, name), Line(12, qth)}));

        lookUp("JA1XYZ");
        NewLines();
        SelectRow(main, 0);
        NotifyList(main, NM_RCLICK);
        EXPECT_EQ(NewLines(), (Lines{Line(0, "JA1XYZ"), Line(8, ""), Line(11, ""), Line(12, "")})) << "empty texts too";

        SelectRow(main, -1);
        NotifyList(main, NM_DBLCLK);
        NotifyList(main, NM_RCLICK);
        EXPECT_EQ(NewLines(), Lines{}) << "no row selected";

        for (const char* nothing : {"", " JA1"}) {
            lookUp(nothing);
            EXPECT_EQ(NewLines(), Lines{}) << "'" << nothing << "'";
        }

        Press(box, VK_ESCAPE);
        EXPECT_EQ(NewLines(), Lines{Line(0x20010, "")});
        Press(box, VK_TAB);
        EXPECT_EQ(NewLines(), Lines{Line(0x20010, "")});

        // After F3 the pattern itself is handed over by Enter.
        Type(main, "JA1");
        Press(box, VK_F3);
        EXPECT_EQ(NewLines(), Lines{});
        Press(box, VK_RETURN);
        EXPECT_EQ(NewLines(), (Lines{Line(0x20010, "JA1???"), Line(0x30000, "JA1???")}));

        // The hand-over does not depend on the lookup.
        UseLibrary(false);
        Type(main, "JA1ABC");
        gui::PostKey(box, VK_RETURN);
        MessageBoxSeen seen = WaitForMessageBox(main);
        ASSERT_NE(seen.Window, nullptr);
        Dismiss(seen);
        gui::Settle(main);
        EXPECT_EQ(NewLines(), (Lines{Line(0x20010, "JA1ABC"), Line(0x30000, "JA1ABC")}));
        UseLibrary(true);
    });
}

TEST_F(LinkTest, NothingIsSentWithoutALoggerAndTheLookupRuns) {
    Run([&](HWND main) {
        ASSERT_EQ(::FindWindowA("TKvwin", nullptr), nullptr);
        SetLink(main, true);
        Type(main, "JA1ABC");
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_RETURN);
        EXPECT_EQ(ListCount(main), 2);
        SelectRow(main, 0);
        NotifyList(main, NM_RCLICK);
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_ESCAPE);
        EXPECT_TRUE(::IsWindow(main));
    });
    EXPECT_FALSE(test::FileExists(Folder().File("journal.txt")));
}

TEST_F(LinkTest, CopyDataReceivedChangesNothing) {
    Run([&](HWND main) {
        Type(main, "JA1ABC");
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_RETURN);
        char text[] = "JA1XYZ";
        COPYDATASTRUCT data{0x20010, 6, text};
        EXPECT_EQ(::SendMessageA(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
        gui::Settle(main);
        EXPECT_EQ(CallBox(main), "JA1ABC");
        EXPECT_EQ(ListCount(main), 2);
        EXPECT_EQ(CountBox(main), "交信回数 2 回");
    });
}

TEST_F(LinkTest, LoggerThatStopsAnsweringHoldsUsOnlyForTheBound) {
    ASSERT_NE(StartLogger(true), nullptr);
    Run([&](HWND main) {
        HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
        SetLink(main, true);
        for (UINT key : {VK_RETURN, VK_ESCAPE, VK_RETURN}) {
            SCOPED_TRACE(key);
            Type(main, "JA1ABC");
            auto start = std::chrono::steady_clock::now();
            Press(box, key);
            double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            EXPECT_LT(seconds, 5.0) << "the window answers again after the bound";
        }
        // The logger took the first message and answered none: the send that
        // timed out ended that trigger's sends.
        EXPECT_EQ(NewLines(), Lines{Line(0x20010, "JA1ABC")});
        EXPECT_EQ(ListCount(main), 2) << "the lookups ran";
    });
}

}  // namespace
}  // namespace checkwin_test
