// Writing a file whole: a failure leaves what was there.
#include <windows.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "lists/ReportList.h"

namespace {

TEST(WriteFileWhole, ReplacesOnlyWhenCompleteAndTellsWhyItCouldNot) {
    test::TempDir dir("write-file");
    const std::string target = dir.File("out.csv");
    std::string reason;
    ASSERT_TRUE(WriteFileWhole(target, "first\r\n", &reason)) << reason;
    ASSERT_TRUE(WriteFileWhole(target, "second\r\n", &reason)) << reason;
    EXPECT_EQ(test::ReadFileBytes(target), "second\r\n");

    // A folder in the way of the name: nothing is replaced, the reason is given.
    const std::string folder = dir.File("taken.csv");
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    reason.clear();
    EXPECT_FALSE(WriteFileWhole(folder, "third\r\n", &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(::GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));

    // A folder that does not exist.
    reason.clear();
    EXPECT_FALSE(WriteFileWhole(dir.File("no-such-folder/out.csv"), "x", &reason));
    EXPECT_FALSE(reason.empty());

    // No temporary file is left behind by any of these.
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(dir.File("*").c_str(), &found);
    int files = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    EXPECT_EQ(files, 1);
}

}  // namespace
