// The shipped CallsignCheck.exe, started under Wine in a fresh folder.
#include <gtest/gtest.h>

#include "ProgramRunner.h"
#include "TestSupport.h"
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

}  // namespace
