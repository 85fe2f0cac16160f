// Built with a string table whose version-box entry is empty.
#include <windows.h>

#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "TestSupport.h"
#include "checkwin/CallsignCheckDialog.h"
#include "res/resource.h"

TEST(EmptyAboutString, SystemMenuGetsNeitherSeparatorNorEntry) {
    test::TempDir folder("gui-empty-about", true);
    std::string lib = test::BinFile(test::LibraryFileName());
    if (test::FileExists(lib)) test::CopyFileTo(lib, folder.File(test::LibraryFileName()));
    // The standard system menu of a fresh window, for comparison.
    HWND plain = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_SYSMENU | WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                                   0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    int plainCount = ::GetMenuItemCount(::GetSystemMenu(plain, FALSE));
    ::DestroyWindow(plain);

    CallsignCheckDialog dialog;
    gui::RunModal(dialog, [&](HWND main) {
        HMENU sys = ::GetSystemMenu(main, FALSE);
        int n = ::GetMenuItemCount(sys);
        EXPECT_EQ(n, plainCount);
        for (int i = 0; i < n; ++i) EXPECT_NE(::GetMenuItemID(sys, i), static_cast<UINT>(IDM_ABOUTBOX));
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoA(sys, static_cast<UINT>(n - 1), TRUE, &info);
        EXPECT_FALSE(info.fType & MFT_SEPARATOR);
    });
}
