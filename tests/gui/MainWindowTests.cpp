// The main dialog, its menu, the version box and the award dialogs opening
// over it, driven through the real modal loops under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "GuiDriver.h"
#include "TestSupport.h"
#include "app/MainWindowPlacement.h"
#include "app/ProgramObjects.h"
#include "app/SettingsFile.h"
#include "checkwin/CallsignCheckDialog.h"
#include "res/resource.h"
#include "res/version.h"

namespace {

struct ControlSpec {
    int id;             // -1: the static label
    const char* cls;
    const char* text;
    int x, y, w, h;     // dialog units
    bool visible;
};

const ControlSpec kMainControls[] = {
    {-1, "Static", "CallSign", 6, 7, 33, 8, true},
    {IDC_CALLSIGN, "Edit", "", 44, 6, 36, 10, true},
    {IDC_LINKTOLOGGER, "Button", "VIREON\x82\xD6\x93\x5D\x91\x97", 90, 6, 64, 10, true},  // VIREONへ転送
    {IDC_QSOLIST, "SysListView32", "", 0, 30, 476, 160, true},
    {IDC_COUNT, "Edit", "", 173, 6, 84, 10, true},
    {IDC_TESTBUTTON, "Button", "TEST", 300, 10, 40, 10, false},
};

HWND ControlOf(HWND dialog, int id) {
    if (id != -1) return ::GetDlgItem(dialog, id);
    return ::FindWindowExA(dialog, nullptr, "Static", "CallSign");
}

class MainWindowTest : public ::testing::Test {
protected:
    // The main dialog needs the logging library in the current folder; it
    // keeps its settings in an INI file of the test's own.
    void SetUp() override {
        folder_ = std::make_unique<test::TempDir>("gui-main", true);
        std::string lib = test::BinFile(test::LibraryFileName());
        if (test::FileExists(lib)) test::CopyFileTo(lib, folder_->File(test::LibraryFileName()));
        settings_ = std::make_unique<SettingsFile>(IniPath().c_str());
    }
    std::string IniPath() const { return folder_->File("CallsignCheck.ini"); }
    std::unique_ptr<test::TempDir> folder_;
    std::unique_ptr<SettingsFile> settings_;
};

TEST_F(MainWindowTest, ShowsEveryControlOfItsTemplate) {
    CallsignCheckDialog dialog(settings_.get(), ProgramCommands());
    gui::RunModal(dialog, [](HWND main) {
        EXPECT_EQ(gui::WindowText(main), CC_CAPTION);
        LONG style = ::GetWindowLongA(main, GWL_STYLE);
        EXPECT_TRUE(style & WS_THICKFRAME);
        EXPECT_TRUE(style & WS_MINIMIZEBOX);
        EXPECT_TRUE(style & WS_MAXIMIZEBOX);
        EXPECT_TRUE(::GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        for (const auto& c : kMainControls) {
            SCOPED_TRACE(c.cls + std::string(" ") + std::to_string(c.id));
            HWND h = ControlOf(main, c.id);
            ASSERT_NE(h, nullptr);
            EXPECT_EQ(gui::ClassOf(h), c.cls);
            if (c.id == IDC_QSOLIST) continue;   // the list follows the window's size
            EXPECT_EQ(gui::WindowText(h), c.text);
            EXPECT_EQ(::IsWindowVisible(h) != FALSE, c.visible);
            RECT want = gui::DialogUnitsToPixels(main, c.x, c.y, c.w, c.h);
            RECT got = gui::ClientRectOf(h);
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            EXPECT_EQ(got.right - got.left, want.right - want.left);
            EXPECT_EQ(got.bottom - got.top, want.bottom - want.top);
        }
        HWND call = ::GetDlgItem(main, IDC_CALLSIGN);
        EXPECT_TRUE(::GetWindowLongA(call, GWL_STYLE) & ES_UPPERCASE);
        EXPECT_EQ(::SendMessageA(call, EM_GETLIMITTEXT, 0, 0), 8);
        EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(main, IDC_COUNT), GWL_STYLE) & ES_READONLY);
        EXPECT_EQ(::SendMessageA(::GetDlgItem(main, IDC_LINKTOLOGGER), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_FALSE(::GetWindowLongA(::GetDlgItem(main, IDC_QSOLIST), GWL_STYLE) & LVS_SINGLESEL);
    });
}

TEST_F(MainWindowTest, RunsAtTheDpiOfItsPrefix) {
    // cmake/wine-run.sh --dpi names the DPI it set; the base prefix is at 96.
    const char* named = std::getenv("CC_TEST_DPI");
    const int dpi = named ? std::atoi(named) : 96;
    CallsignCheckDialog dialog(settings_.get());
    gui::RunModal(dialog, [&](HWND main) {
        EXPECT_EQ(SystemDpi(), dpi);
        EXPECT_EQ(WindowDpi(main), dpi);
        EXPECT_EQ(WindowDpi(nullptr), dpi);
        EXPECT_EQ(ScaleToWindowDpi(main, 918), ScaleToDpi(918, dpi));
        // The dialog's template scales with the DPI by itself: its font.
        HFONT font = reinterpret_cast<HFONT>(::SendMessageA(main, WM_GETFONT, 0, 0));
        LOGFONTA lf{};
        ASSERT_TRUE(font && ::GetObjectA(font, sizeof lf, &lf));
        EXPECT_EQ(-lf.lfHeight, ::MulDiv(12, dpi, 72)) << "12 points";
    });
}

TEST_F(MainWindowTest, MenuAndSystemMenuCarryTheirTextsAndIds) {
    CallsignCheckDialog dialog(settings_.get(), ProgramCommands());
    gui::RunModal(dialog, [](HWND main) {
        HMENU menu = ::GetMenu(main);
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(::GetMenuItemCount(menu), 1);
        char text[128];
        ::GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(std::string(text), "\x95\x5C\x8E\xA6");   // 表示
        HMENU popup = ::GetSubMenu(menu, 0);
        ASSERT_EQ(::GetMenuItemCount(popup), 3);
        EXPECT_EQ(::GetMenuItemID(popup, 0), static_cast<UINT>(ID_AJDWAJACHECK));
        EXPECT_EQ(::GetMenuItemID(popup, 1), static_cast<UINT>(ID_JCCJCGCHECK));
        EXPECT_EQ(::GetMenuItemID(popup, 2), static_cast<UINT>(ID_CHECKWINDOW));
        ::GetMenuStringA(popup, 2, text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(std::string(text), "チェックウィンドウ");
        ::GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(std::string(text), "AJD/WAJA Check");
        ::GetMenuStringA(popup, 1, text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(std::string(text), "JCC/JCG Check");

        HMENU sys = ::GetSystemMenu(main, FALSE);
        int n = ::GetMenuItemCount(sys);
        ASSERT_GE(n, 2);
        EXPECT_EQ(::GetMenuItemID(sys, n - 1), static_cast<UINT>(IDM_ABOUTBOX));
        ::GetMenuStringA(sys, static_cast<UINT>(n - 1), text, sizeof text, MF_BYPOSITION);
        // "CallsignCheck のﾊﾞｰｼﾞｮﾝ情報(&A)..." in code page 932
        EXPECT_EQ(std::string(text), "CallsignCheck \x82\xCC\xCA\xDE\xB0\xBC\xDE\xAE\xDD\x8F\xEE\x95\xF1(&A)...");
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoA(sys, static_cast<UINT>(n - 2), TRUE, &info);
        EXPECT_TRUE(info.fType & MFT_SEPARATOR);
    });
}

TEST_F(MainWindowTest, VersionBoxOpensFromTheSystemMenuAndClosesWithEscape) {
    CallsignCheckDialog dialog(settings_.get(), ProgramCommands());
    gui::RunModal(dialog, [](HWND main) {
        ::PostMessageA(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        HWND about = gui::WaitForModalAbove(main);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(gui::WindowText(about), "CallsignCheck\x82\xCC\xCA\xDE\xB0\xBC\xDE\xAE\xDD\x8F\xEE\x95\xF1");
        EXPECT_FALSE(::IsWindowEnabled(main)) << "the version box is modal";
        EXPECT_NE(::FindWindowExA(about, nullptr, "Static", CC_CAPTION), nullptr);
        EXPECT_EQ(::FindWindowExA(about, nullptr, "Button", nullptr), nullptr) << "no buttons";
        gui::PostKey(about, VK_ESCAPE);
        EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(about); }));
        EXPECT_TRUE(gui::WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }));
        EXPECT_TRUE(::IsWindow(main)) << "Escape in the version box leaves the main window open";
    });
}

TEST_F(MainWindowTest, MenuCommandsOpenTheChecksModallyAndRecordTheRestoredRectangle) {
    CallsignCheckDialog dialog(settings_.get(), ProgramCommands());
    gui::RunModal(dialog, [](HWND main) {
        ::SetWindowPos(main, nullptr, 120, 80, 700, 400, SWP_NOZORDER);
        ::ShowWindow(main, SW_MAXIMIZE);
        gui::Settle(main);
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        ::GetWindowPlacement(main, &wp);
        ASSERT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));

        struct { UINT command; const char* caption; } checks[] = {
            {ID_AJDWAJACHECK, "AJD/WAJA Check"}, {ID_JCCJCGCHECK, "JCC/JCG Check"}, {ID_AJDWAJACHECK, "AJD/WAJA Check"}};
        for (const auto& c : checks) {
            SCOPED_TRACE(c.caption);
            MainWindowPlacement = MainWindowPlacementRecord{};
            ::PostMessageA(main, WM_COMMAND, c.command, 0);
            if (c.command == ID_JCCJCGCHECK) {
                // This folder has no area master, which the check tells as it opens.
                HWND box = gui::WaitFor([] { return gui::FindProcessWindow("gui_main_tests"); });
                ASSERT_NE(box, nullptr);
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
            HWND check = gui::WaitForModalAbove(main);
            ASSERT_NE(check, nullptr);
            EXPECT_EQ(gui::WindowText(check), c.caption);
            EXPECT_EQ(::GetWindow(check, GW_OWNER), main);
            EXPECT_FALSE(::IsWindowEnabled(main));
            EXPECT_EQ(MainWindowPlacement.Left, wp.rcNormalPosition.left);
            EXPECT_EQ(MainWindowPlacement.Top, wp.rcNormalPosition.top);
            EXPECT_EQ(MainWindowPlacement.Height, wp.rcNormalPosition.bottom - wp.rcNormalPosition.top);
            EXPECT_EQ(MainWindowPlacement.Height, 400);
            ::PostMessageA(check, WM_CLOSE, 0, 0);
            EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(check); }));
            EXPECT_TRUE(gui::WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }));
        }
    });
}

TEST_F(MainWindowTest, GivesItsIconAsTheDragCursorAndDrawsItWhileMinimised) {
    CallsignCheckDialog dialog(settings_.get(), ProgramCommands());
    gui::RunModal(dialog, [](HWND main) {
        HICON icon = reinterpret_cast<HICON>(::SendMessageA(main, WM_GETICON, ICON_BIG, 0));
        EXPECT_NE(icon, nullptr);
        LRESULT drag = ::SendMessageA(main, WM_QUERYDRAGICON, 0, 0);
        EXPECT_EQ(reinterpret_cast<HICON>(drag), icon);
        ::ShowWindow(main, SW_MINIMIZE);
        gui::Settle(main);
        EXPECT_TRUE(::IsIconic(main));
        ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ::ShowWindow(main, SW_RESTORE);
        gui::Settle(main);
        EXPECT_FALSE(::IsIconic(main));
    });
}

TEST(VisualStyles, TheManifestBringsCommonControlsVersion6) {
    // The program's resources (linked into this test as well) carry the
    // manifest, so the common controls come from the side-by-side assembly
    // of version 6, not from the system folder's version 5.
    HMODULE controls = ::GetModuleHandleA("comctl32.dll");
    ASSERT_NE(controls, nullptr);
    char path[MAX_PATH * 2] = {};
    ASSERT_GT(::GetModuleFileNameA(controls, path, sizeof path), 0u);
    std::string lower(path);
    for (char& c : lower) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
#if defined(_WIN64)
    const char* const assembly = "\\winsxs\\amd64_microsoft.windows.common-controls_6595b64144ccf1df_6.0.";
#else
    const char* const assembly = "\\winsxs\\x86_microsoft.windows.common-controls_6595b64144ccf1df_6.0.";
#endif
    EXPECT_NE(lower.find(assembly), std::string::npos) << path;
}

TEST(CodePage, TextsAreCodePage932) {
    EXPECT_EQ(::GetACP(), 932u) << "the tests run with LANG=ja_JP.UTF-8 under Wine";
    // A literal of the program compiled to code page 932 bytes.
    EXPECT_EQ(std::string("交信回数"), std::string("\x8C\xF0\x90\x4D\x89\xF1\x90\x94"));
}

}  // namespace
