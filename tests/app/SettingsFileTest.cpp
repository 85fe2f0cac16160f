// The settings file against real INI files, through the system's
// private-profile functions (run under Wine).
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "app/SettingsFile.h"

namespace {

std::vector<std::string> IniLines(const std::string& path) {   // without empty lines
    std::vector<std::string> lines(1);
    for (char c : test::ReadFileBytes(path)) {
        if (c == '\n') lines.emplace_back();
        else if (c != '\r') lines.back() += c;
    }
    std::vector<std::string> kept;
    for (auto& l : lines) if (!l.empty()) kept.push_back(l);
    return kept;
}

std::string Column(int i) { return "COLUMN" + std::to_string(i); }
const char* const kPlacementKeys[] = {"TOP", "LEFT", "WIDTH", "HIGHT"};

TEST(SettingsFile, DefaultsWithoutAFileThenWritesInOrderAndReadsBack) {
    test::TempDir dir("settings-order");
    std::string ini = dir.File("CallsignCheck.ini");
    SettingsFile settings(ini.c_str());
    const int placement[] = {100, 100, 918, 547};
    const int widths[] = {60, 78, 78, 62, 40, 40, 68, 45, 63, 60, 45, 111, 236, 305, 305};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(settings.ReadInt(kPlacementKeys[i]), placement[i]);
    for (int i = 0; i <= 14; ++i) EXPECT_EQ(settings.ReadInt(Column(i).c_str()), widths[i]) << i;
    EXPECT_FALSE(test::FileExists(ini)) << "reading must not create the file";

    const int values[] = {-20, 1930, 1024, 700};   // a window left of the first screen
    for (int i = 0; i < 4; ++i) EXPECT_EQ(settings.WriteInt(kPlacementKeys[i], values[i]), 0);
    for (int i = 0; i <= 14; ++i) EXPECT_EQ(settings.WriteInt(Column(i).c_str(), i * 10), 0);
    std::vector<std::string> expected = {"[Aplication]", "TOP=-20", "LEFT=1930", "WIDTH=1024", "HIGHT=700"};
    for (int i = 0; i <= 14; ++i) expected.push_back(Column(i) + "=" + std::to_string(i * 10));
    EXPECT_EQ(IniLines(ini), expected);

    SettingsFile again(ini.c_str());   // a stored width of 0 stays 0
    for (int i = 0; i < 4; ++i) EXPECT_EQ(again.ReadInt(kPlacementKeys[i]), values[i]);
    for (int i = 0; i <= 14; ++i) EXPECT_EQ(again.ReadInt(Column(i).c_str()), i * 10);
}

TEST(SettingsFile, KeysGoUnderTheCallersNameInTheEntrysSection) {
    test::TempDir dir("settings-sections");
    std::string ini = dir.File("s.ini");
    SettingsFile settings(ini.c_str());
    EXPECT_EQ(settings.ReadInt("IDTH"), 918);
    EXPECT_EQ(settings.WriteInt("IDTH", 5), 0);
    EXPECT_EQ(settings.WriteInt("STOP", 7), 0);
    EXPECT_EQ(settings.WriteString("PATH", std::string(300, 'p').c_str()), 0);
    EXPECT_EQ(IniLines(ini), (std::vector<std::string>{"[Aplication]", "IDTH=5", "PATH=" + std::string(300, 'p'),
                                                       "[List]", "STOP=7"}));
    EXPECT_EQ(settings.ReadInt("WIDTH"), 918) << "IDTH is a key of its own in the file";
    EXPECT_EQ(settings.ReadInt("TOP"), 100) << "TOP is in Aplication, not in List";
    EXPECT_EQ(std::string(settings.ReadString("PATH")), std::string(127, 'p'));
    EXPECT_STREQ(settings.ReadString("MARK"), "");
}

TEST(SettingsFile, SizesComeAsStoredOrAsTheDefaultScaledToTheDpi) {
    test::TempDir dir("settings-sizes");
    std::string ini = dir.File("s.ini");
    SettingsFile settings(ini.c_str());
    EXPECT_EQ(settings.ReadSize("WIDTH", 96), 918);
    EXPECT_EQ(settings.ReadSize("WIDTH", 144), 1377);
    EXPECT_EQ(settings.ReadSize("HIGHT", 120), 684) << "547 x 1.25 = 683.75";
    EXPECT_EQ(settings.ReadSize("COLUMN7", 192), 90);
    EXPECT_EQ(settings.ReadSize("COLUMN15", 144), -1);
    // What the user left stays in pixels, a width of 0 included.
    ASSERT_EQ(settings.WriteInt("WIDTH", 1000), 0);
    ASSERT_EQ(settings.WriteInt("COLUMN7", 0), 0);
    EXPECT_EQ(settings.ReadSize("WIDTH", 144), 1000);
    EXPECT_EQ(settings.ReadSize("COLUMN7", 192), 0);
    EXPECT_EQ(SettingsFile("").ReadSize("HIGHT", 192), 1094) << "no file: the scaled default";
    // Text that is no whole number gives the default, as a missing key does
    // (the system's own reading would give 0, a hidden column).
    for (const char* stored : {"abc", "12abc", "1.5", "", "99999999999", "-"}) {
        SCOPED_TRACE(stored);
        ASSERT_EQ(settings.WriteString("COLUMN3", stored), 0);
        EXPECT_EQ(settings.ReadSize("COLUMN3", 96), 62);
        EXPECT_EQ(settings.ReadInt("COLUMN3"), 62);
    }
    for (const char* stored : {" 7", "+7", "-7"}) {
        ASSERT_EQ(settings.WriteString("TOP", stored), 0);
        EXPECT_EQ(settings.ReadInt("TOP"), stored[0] == '-' ? -7 : 7) << stored;
    }
}

TEST(SettingsFile, UnknownKeysAndNullTextsFailWithoutTouchingTheFile) {
    test::TempDir dir("settings-unknown");
    std::string ini = dir.File("s.ini");
    SettingsFile settings(ini.c_str());
    EXPECT_EQ(settings.ReadInt("COLUMN15"), -1);
    EXPECT_EQ(settings.WriteInt("COLUMN15", 3), -1);
    EXPECT_EQ(settings.WriteString("HEIGHT", "3"), -1);
    EXPECT_EQ(settings.ReadString("HEIGHT"), nullptr);
    EXPECT_FALSE(test::FileExists(ini));
    ASSERT_EQ(settings.WriteInt("TOP", 42), 0);
    EXPECT_EQ(settings.WriteString("TOP", nullptr), -1);   // would delete the key
    EXPECT_EQ(settings.ReadInt("TOP"), 42);
}

TEST(SettingsFile, WithoutAUsablePathReadsGiveDefaultsAndNothingIsWritten) {
    test::TempDir dir("settings-nopath");
    std::string tooLong = dir.Path() + "\\" + std::string(70000, 'd') + ".ini";
    // Too long for the profile functions, which would write it elsewhere.
    std::string over259 = dir.Path() + "\\" + std::string(260, 'd') + ".ini";
    for (const char* path : {tooLong.c_str(), over259.c_str(), "", "CallsignCheck-bare-name.ini"}) {
        SettingsFile settings(path);
        EXPECT_STREQ(settings.Path(), "");
        EXPECT_EQ(settings.ReadInt("WIDTH"), 918);
        EXPECT_EQ(settings.WriteInt("WIDTH", 1), -1);
        EXPECT_EQ(settings.WriteString("WIDTH", "1"), -1);
        EXPECT_FALSE(settings.BeginWrites());
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir.Path() + "\\*.ini").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "no file in the folder";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    char windowsDir[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windowsDir, sizeof windowsDir), 0u);
    EXPECT_FALSE(test::FileExists(std::string(windowsDir) + "\\CallsignCheck-bare-name.ini"));
}

// Two copies of the program closing at once, as two threads with a settings
// object each: every round the file holds the whole set of one of them, in
// the order written.
TEST(SettingsFile, TwoWritersAtOnceNeverMixTheirKeys) {
    test::TempDir dir("settings-two");
    const std::string ini = dir.File("CallsignCheck.ini");
    auto writeAll = [&](SettingsFile& settings, int base) {
        ASSERT_TRUE(settings.BeginWrites());
        for (const char* key : kPlacementKeys) settings.WriteInt(key, base);
        for (int i = 0; i <= 14; ++i) settings.WriteInt(Column(i).c_str(), base + i);
        settings.EndWrites();
    };
    auto expected = [](int base) {
        std::vector<std::string> lines = {"[Aplication]"};
        for (const char* key : kPlacementKeys) lines.push_back(std::string(key) + "=" + std::to_string(base));
        for (int i = 0; i <= 14; ++i) lines.push_back(Column(i) + "=" + std::to_string(base + i));
        return lines;
    };
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        std::atomic<int> ready{0};
        auto writer = [&](int base) {
            SettingsFile settings(ini.c_str());
            ++ready;
            while (ready < 2) {}
            writeAll(settings, base);
        };
        std::thread a(writer, 1000), b(writer, 2000);
        a.join();
        b.join();
        const std::vector<std::string> lines = IniLines(ini);
        EXPECT_TRUE(lines == expected(1000) || lines == expected(2000)) << test::ReadFileBytes(ini);
    }
}

// The constructor the program uses: the file beside the running executable,
// or none when that path is too long for the profile functions (which would
// write some other file).
TEST(SettingsFile, DefaultFileIsBesideTheExecutableWithItsBaseName) {
    char module[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
    ASSERT_TRUE(n > 4 && n < sizeof module);
    std::string expected = std::string(module, n - 4) + ".ini";
    EXPECT_EQ(std::string(SettingsFile().Path()), expected);
    EXPECT_EQ(SettingsFile().FileName(), expected.substr(expected.rfind('\\') + 1));

    test::TempDir dir("settings-long");
    const std::string folder = dir.Path() + "\\" + std::string(200, 'f');
    for (const std::string& exe : {folder + "\\" + std::string(255 - 4, 'x') + ".exe",   // 259 for the INI and more
                                   folder + "\\CallsignCheck.exe"}) {
        SCOPED_TRACE(exe.size());
        ASSERT_GE(exe.size(), MAX_PATH);
        SettingsFile settings(SettingsFile::kBesideExecutable, exe.c_str());
        EXPECT_STREQ(settings.Path(), "") << "a path the profile functions cannot take";
        EXPECT_EQ(settings.ReadInt("WIDTH"), 918);
        EXPECT_EQ(settings.WriteInt("TOP", 1), -1);
        EXPECT_FALSE(settings.BeginWrites());
    }
    const std::string fits = dir.File("CallsignCheck.exe");
    EXPECT_EQ(std::string(SettingsFile(SettingsFile::kBesideExecutable, fits.c_str()).Path()), dir.File("CallsignCheck.ini"));
    EXPECT_STREQ(SettingsFile(SettingsFile::kBesideExecutable, nullptr).Path(), "");
}

}  // namespace
