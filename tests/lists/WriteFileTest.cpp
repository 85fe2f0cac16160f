// Writing a file whole: a failure leaves what was there, and the file goes
// exactly where its name says.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "lists/FileSave.h"

namespace {

// The files of a folder (not its subfolders).
int FileCount(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    int files = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    return files;
}

TEST(WriteFileWhole, ReplacesOnlyWhenCompleteAndTellsWhyItCouldNot) {
    test::TempDir dir("write-file");
    const std::wstring folder = WideFromCp932(dir.Path());
    const std::wstring target = folder + L"\\out.csv";
    std::string reason;
    ASSERT_TRUE(WriteFileWhole(target, "first\r\n", &reason)) << reason;
    ASSERT_TRUE(WriteFileWhole(target, "second\r\n", &reason)) << reason;
    EXPECT_EQ(test::ReadFileBytes(target), "second\r\n");

    // Each failure leaves the earlier file, gives the reason, and leaves
    // no temporary file: one that comes only once the temporary file is
    // written (the target held open by a program that shares nothing), a
    // read-only file (which Windows refuses to replace), a folder in the
    // way of the name, a folder that does not exist.
    HANDLE held = ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    reason.clear();
    EXPECT_FALSE(WriteFileWhole(target, "third\r\n", &reason)) << "held open";
    EXPECT_FALSE(reason.empty());
    ::CloseHandle(held);
    EXPECT_EQ(test::ReadFileBytes(target), "second\r\n");

    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    reason.clear();
    EXPECT_FALSE(WriteFileWhole(target, "third\r\n", &reason)) << "read-only";
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(test::ReadFileBytes(target), "second\r\n");
    EXPECT_NE(::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << "the mark is kept";
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::wstring taken = folder + L"\\taken.csv";
    ASSERT_TRUE(::CreateDirectoryW(taken.c_str(), nullptr));
    reason.clear();
    EXPECT_FALSE(WriteFileWhole(taken, "third\r\n", &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_NE(::GetFileAttributesW(taken.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    reason.clear();
    EXPECT_FALSE(WriteFileWhole(folder + L"\\no-such-folder\\out.csv", "x", &reason));
    EXPECT_FALSE(reason.empty());

    EXPECT_EQ(FileCount(folder), 1) << "only out.csv";
}

TEST(WriteFileWhole, TheFileGoesWhereItsUnicodeNameSays) {
    test::TempDir dir("write-file");
    const std::wstring folder = WideFromCp932(dir.Path());
    // Names code page 932 cannot hold: é would become e, 𠮷 a '?'.
    const std::wstring plain = folder + L"\\cafe", accented = folder + L"\\caf\u00E9",
                       beyond = folder + L"\\\U00020BB7\u7530\u00E9";
    for (const std::wstring& f : {plain, accented, beyond}) ASSERT_TRUE(::CreateDirectoryW(f.c_str(), nullptr));
    std::string reason;
    ASSERT_TRUE(WriteFileWhole(plain + L"\\a.csv", "plain\r\n", &reason)) << reason;
    ASSERT_TRUE(WriteFileWhole(accented + L"\\a.csv", "accented\r\n", &reason)) << reason;
    ASSERT_TRUE(WriteFileWhole(beyond + L"\\a.csv", "beyond\r\n", &reason)) << reason;
    EXPECT_EQ(test::ReadFileBytes(plain + L"\\a.csv"), "plain\r\n");
    EXPECT_EQ(test::ReadFileBytes(accented + L"\\a.csv"), "accented\r\n");
    EXPECT_EQ(test::ReadFileBytes(beyond + L"\\a.csv"), "beyond\r\n");
    EXPECT_EQ(FileCount(plain) + FileCount(accented) + FileCount(beyond), 3);
}

}  // namespace
