// The check window beside the main window, run for real: opened by F6 and
// by the menu, following what is typed into the call box, looking a chosen
// call up, remembering its place, telling an unreadable log once.
#include "CheckWindowFixture.h"

#include <commctrl.h>

#include "checkwin/CheckWindowTable.h"
#include "res/resource.h"

namespace checkwin_test {
namespace {

const std::vector<Qso> kLog = {
    Station("JA1ABC", "20210101"),   Station("JA1ABC", "20220315"), Station("JA1ABD", "20200101"),
    Station("JD1/JA1ABC", "20190101"), Station("JA1ABC/2", "20180101"), Station("7K1XYZ", "20170101"),
};

class CheckFollowTest : public CheckWindowTest {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(MakeLog(kLog)); }
    HWND Check() { return Dialog().CheckWin().m_hWnd; }
    HWND CheckList() { return ::GetDlgItem(Check(), IDC_CHECKLIST); }
    std::vector<std::vector<std::string>> CheckRows() { return gui::ReadListRows(CheckList(), {0, 4}); }
    std::string CheckStatus() { return gui::WindowText(::GetDlgItem(Check(), IDC_CHECKSTATUS)); }
};

bool MenuChecked(HWND main) {
    return (::GetMenuState(::GetMenu(main), ID_CHECKWINDOW, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Keys typed into the call box as the keyboard's characters arrive, then
// time for the window to follow (its update is posted after each change).
void TypeKeys(HWND main, const std::string& keys) {
    HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
    for (char c : keys) ::PostMessageA(box, WM_CHAR, static_cast<WPARAM>(c == '\b' ? VK_BACK : c), 0);
    gui::Settle(main);
    gui::Settle(main);
}

using Rows = std::vector<std::vector<std::string>>;
const std::string kContains = Cp932(L"含む"), kOneOff = Cp932(L"1字違い");

TEST_F(CheckFollowTest, F6AndTheMenuOpenAndCloseItBesideTheMainWindowLeavingTheFocusInTheCallBox) {
    Run([&](HWND main) {
        HWND box = ::GetDlgItem(main, IDC_CALLSIGN);
        EXPECT_FALSE(MenuChecked(main));
        Press(box, VK_F6);
        ASSERT_TRUE(Check() && ::IsWindowVisible(Check()));
        EXPECT_EQ(gui::WindowText(Check()), Cp932(L"チェック"));
        EXPECT_TRUE(::GetWindowLongA(Check(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        EXPECT_EQ(::GetWindow(Check(), GW_OWNER), main);
        EXPECT_TRUE(MenuChecked(main));
        EXPECT_EQ(FocusOf(main), box);
        RECT m, c;
        ::GetWindowRect(main, &m);
        ::GetWindowRect(Check(), &c);
        EXPECT_EQ(c.left, m.right) << "beside the main window's right edge";
        EXPECT_EQ(c.top, m.top);
        Press(box, VK_F6);
        EXPECT_FALSE(::IsWindowVisible(Check()));
        EXPECT_FALSE(MenuChecked(main));
        ::SendMessageA(main, WM_COMMAND, ID_CHECKWINDOW, 0);
        EXPECT_TRUE(::IsWindowVisible(Check()));
        EXPECT_TRUE(MenuChecked(main));
        // Its close box hides it too.
        ::SendMessageA(Check(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(::IsWindowVisible(Check()));
        EXPECT_FALSE(MenuChecked(main));
    });
}

TEST_F(CheckFollowTest, ListsFollowEveryChangeOfTheCallBox) {
    Run([&](HWND main) {
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_F6);
        TypeKeys(main, "J");
        EXPECT_EQ(CheckRows(), Rows{});
        EXPECT_EQ(CheckStatus(), "");
        TypeKeys(main, "A1AB");
        EXPECT_EQ(CheckRows(), (Rows{{"JA1ABC", kContains}, {"JA1ABC/2", kContains}, {"JA1ABD", kContains},
                                     {"JD1/JA1ABC", kContains}}));
        TypeKeys(main, "C");
        EXPECT_EQ(gui::ReadListRows(CheckList(), {0, 1, 2, 3, 4})[0],
                  (std::vector<std::string>{"JA1ABC", "2", "22/03/15", "Wkd", kContains}));
        EXPECT_EQ(CheckRows(), (Rows{{"JA1ABC", kContains}, {"JA1ABC/2", kContains}, {"JD1/JA1ABC", kContains},
                                     {"JA1ABD", kOneOff}}));
        EXPECT_EQ(Dialog().CheckWin().Looks()[0], CheckRowLook::Exact);
        EXPECT_EQ(CheckStatus(), Cp932(L"含む 3 件  1字違い 1 件"));
        TypeKeys(main, "\b\b\bQQ");
        EXPECT_EQ(CheckRows(), Rows{});
        EXPECT_EQ(CheckStatus(), Cp932(L"該当なし"));
        // Text put in by other means (a paste, the clear) is followed too.
        Type(main, "7K1");
        gui::Settle(main);
        gui::Settle(main);
        EXPECT_EQ(CheckRows(), (Rows{{"7K1XYZ", kContains}}));
        EXPECT_EQ(CountBox(main), "") << "following the box looks nothing up";
        // Ctrl+C in its list copies the selected rows under the titles.
        LVITEMA item{};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(CheckList(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
        gui::SetClipboardText("before");
        gui::PostCtrlKey(CheckList(), 'C');
        EXPECT_EQ(gui::ClipboardText(), "Call\tQSO\tLast\tQSL\t" + Cp932(L"種別") + "\r\n7K1XYZ\t1\t17/01/01\tWkd\t" +
                                            kContains + "\r\n");
    });
}

TEST_F(CheckFollowTest, DoubleClickOrEnterOnARowLooksTheCallUp) {
    Run([&](HWND main) {
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_F6);
        TypeKeys(main, "JA1AB");
        NMITEMACTIVATE nm{};
        nm.hdr.hwndFrom = CheckList();
        nm.hdr.idFrom = IDC_CHECKLIST;
        nm.hdr.code = NM_DBLCLK;
        nm.iItem = 2;   // JA1ABD
        ::SendMessageA(Check(), WM_NOTIFY, IDC_CHECKLIST, reinterpret_cast<LPARAM>(&nm));
        gui::Settle(main);
        gui::Settle(main);
        EXPECT_EQ(CallBox(main), "JA1ABD");
        EXPECT_EQ(CountBox(main), Cp932(L"交信回数 1 回"));
        EXPECT_EQ(ListCount(main), 1);
        EXPECT_EQ(FocusOf(main), ::GetDlgItem(main, IDC_CALLSIGN));
        EXPECT_EQ(CheckRows()[0], (std::vector<std::string>{"JA1ABD", kContains}));

        // Enter on the selected row, in the check window's list.
        LVITEMA item{};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(CheckList(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));   // JA1ABC
        Press(CheckList(), VK_RETURN);
        gui::Settle(main);
        EXPECT_EQ(CallBox(main), "JA1ABC");
        EXPECT_EQ(CountBox(main), Cp932(L"交信回数 3 回")) << "JA1ABC twice and JA1ABC/2";
    });
}

TEST_F(CheckFollowTest, PlaceSizeAndOpenStateAreRememberedAndAPlaceOffTheScreensIsNotUsed) {
    Run([&](HWND main) {
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_F6);
        ::SetWindowPos(Check(), nullptr, 300, 220, 280, 330, SWP_NOZORDER | SWP_NOACTIVATE);
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(main); }));
    });
    for (const char* line : {"[Check]", "CHECKOPEN=1", "CHECKLEFT=300", "CHECKTOP=220", "CHECKWIDTH=280", "CHECKHIGHT=330"})
        EXPECT_NE(IniText().find(line), std::string::npos) << line << "\n" << IniText();
    const std::string before = IniText();
    Run([&](HWND main) {
        ASSERT_TRUE(gui::WaitUntil([&] { return Check() && ::IsWindowVisible(Check()); }));
        RECT c;
        ::GetWindowRect(Check(), &c);
        EXPECT_EQ(c.left, 300);
        EXPECT_EQ(c.top, 220);
        EXPECT_EQ(c.right - c.left, 280);
        EXPECT_EQ(c.bottom - c.top, 330);
        EXPECT_TRUE(MenuChecked(main));
        EXPECT_EQ(FocusOf(main), ::GetDlgItem(main, IDC_CALLSIGN));
        EXPECT_EQ(IniText(), before) << "nothing is written while the window is open";
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_F6);
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(main); }));
    });
    EXPECT_NE(IniText().find("CHECKOPEN=0"), std::string::npos) << IniText();
    // Stored on a monitor that is gone: it opens beside the main window.
    std::string ini = IniText();
    ini.replace(ini.find("CHECKLEFT=300"), 13, "CHECKLEFT=-9000");
    test::WriteFileBytes(IniPath(), ini);
    Run([&](HWND main) {
        Press(::GetDlgItem(main, IDC_CALLSIGN), VK_F6);
        RECT m, c;
        ::GetWindowRect(main, &m);
        ::GetWindowRect(Check(), &c);
        EXPECT_EQ(c.left, m.right);
        EXPECT_EQ(c.top, m.top);
    });
}

TEST_F(CheckFollowTest, AnUnreadableLogIsToldOnceForEachStateOfTheFile) {
    test::WriteFileBytes(Folder().File("vireon.vdb"), "not a log");
    Run([&](HWND main) {
        ::PostMessageA(::GetDlgItem(main, IDC_CALLSIGN), WM_KEYDOWN, VK_F6, 0);
        MessageBoxSeen box = WaitForMessageBox(main);
        EXPECT_EQ(box.Text, Cp932(L"vireon.vdb を開けません"));
        Dismiss(box);
        gui::Settle(main);
        EXPECT_EQ(CheckStatus(), Cp932(L"ログを読めません"));
        TypeKeys(main, "JA1");
        EXPECT_EQ(WaitForMessageBox(main, 500).Window, nullptr) << "told once";
        EXPECT_EQ(CheckStatus(), Cp932(L"ログを読めません"));
        // Another state of the file is read again, and told again.
        test::WriteFileBytes(Folder().File("vireon.vdb"), "still not a log");
        ::PostMessageA(::GetDlgItem(main, IDC_CALLSIGN), WM_CHAR, 'A', 0);
        box = WaitForMessageBox(main);
        EXPECT_EQ(box.Text, Cp932(L"vireon.vdb を開けません"));
        Dismiss(box);
    });
}

}  // namespace
}  // namespace checkwin_test
