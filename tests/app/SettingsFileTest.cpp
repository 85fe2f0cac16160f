// The settings file against real INI files, through the system's
// private-profile functions (run under Wine).
#include <windows.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/SettingsFile.h"

namespace {

// The lines of an INI file, without line ends and empty lines.
std::vector<std::string> IniLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string bytes = test::ReadFileBytes(path), line;
    for (char c : bytes) {
        if (c == '\r') continue;
        if (c == '\n') {
            if (!line.empty()) lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

const char* const kPlacementKeys[] = {"TOP", "LEFT", "WIDTH", "HIGHT"};

TEST(SettingsFile, WithoutAFileEveryKeyReadsItsDefault) {
    test::TempDir dir("settings-defaults");
    std::string ini = dir.File("CallsignCheck.ini");
    SettingsFile settings(ini.c_str());
    const int placement[] = {100, 100, 918, 547};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(settings.ReadInt(kPlacementKeys[i]), placement[i]);
    const int widths[] = {60, 78, 78, 62, 40, 40, 68, 45, 63, 60, 45, 111, 236, 305, 305};
    for (int i = 0; i <= 14; ++i)
        EXPECT_EQ(settings.ReadInt(("COLUMN" + std::to_string(i)).c_str()), widths[i]) << i;
    EXPECT_STREQ(settings.ReadString("TOP"), "");
    EXPECT_FALSE(test::FileExists(ini)) << "reading must not create the file";
}

TEST(SettingsFile, ClosingWritesPlacementThenColumnsInOrderAndReadsThemBack) {
    test::TempDir dir("settings-order");
    std::string ini = dir.File("CallsignCheck.ini");
    SettingsFile settings(ini.c_str());
    const int values[] = {-20, 1930, 1024, 700};   // a window left of the first screen
    for (int i = 0; i < 4; ++i) EXPECT_EQ(settings.WriteInt(kPlacementKeys[i], values[i]), 0);
    for (int i = 0; i <= 14; ++i) EXPECT_EQ(settings.WriteInt(("COLUMN" + std::to_string(i)).c_str(), i * 10), 0);

    std::vector<std::string> expected = {"[Aplication]", "TOP=-20", "LEFT=1930", "WIDTH=1024", "HIGHT=700"};
    for (int i = 0; i <= 14; ++i) expected.push_back("COLUMN" + std::to_string(i) + "=" + std::to_string(i * 10));
    EXPECT_EQ(IniLines(ini), expected);

    // A fresh object reads the file again; a stored 0 width stays 0.
    SettingsFile again(ini.c_str());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(again.ReadInt(kPlacementKeys[i]), values[i]);
    for (int i = 0; i <= 14; ++i) EXPECT_EQ(again.ReadInt(("COLUMN" + std::to_string(i)).c_str()), i * 10);
    EXPECT_STREQ(again.ReadString("HIGHT"), "700");
}

TEST(SettingsFile, KeysGoUnderTheCallersNameInTheEntrysSection) {
    test::TempDir dir("settings-sections");
    std::string ini = dir.File("s.ini");
    SettingsFile settings(ini.c_str());
    EXPECT_EQ(settings.ReadInt("IDTH"), 918);
    EXPECT_EQ(settings.WriteInt("IDTH", 5), 0);
    EXPECT_EQ(settings.WriteInt("STOP", 7), 0);
    EXPECT_EQ(settings.WriteString("MARK", "a b"), 0);
    std::vector<std::string> expected = {"[Aplication]", "IDTH=5", "MARK=a b", "[List]", "STOP=7"};
    EXPECT_EQ(IniLines(ini), expected);
    EXPECT_EQ(settings.ReadInt("IDTH"), 5);
    EXPECT_EQ(settings.ReadInt("WIDTH"), 918) << "IDTH is a key of its own in the file";
    EXPECT_EQ(settings.ReadInt("STOP"), 7);
    EXPECT_EQ(settings.ReadInt("TOP"), 100) << "TOP is in section Aplication, not List";
    EXPECT_EQ(GetPrivateProfileIntA("List", "STOP", -5, ini.c_str()), 7u);
}

TEST(SettingsFile, UnknownKeysFailWithoutTouchingTheFile) {
    test::TempDir dir("settings-unknown");
    std::string ini = dir.File("s.ini");
    SettingsFile settings(ini.c_str());
    EXPECT_EQ(settings.ReadInt("COLUMN15"), -1);
    EXPECT_EQ(settings.WriteInt("COLUMN15", 3), -1);
    EXPECT_EQ(settings.WriteString("HEIGHT", "3"), -1);
    EXPECT_EQ(settings.ReadString("HEIGHT"), nullptr);
    EXPECT_EQ(settings.WriteInt("", 3), -1);
    EXPECT_FALSE(test::FileExists(ini));
    // A null text would delete the key: refused, the stored value stays.
    ASSERT_EQ(settings.WriteInt("TOP", 42), 0);
    EXPECT_EQ(settings.WriteString("TOP", nullptr), -1);
    EXPECT_EQ(settings.ReadInt("TOP"), 42);
}

TEST(SettingsFile, LongTextsAreCutToTheValueBuffer) {
    test::TempDir dir("settings-long");
    std::string ini = dir.File("s.ini");
    SettingsFile settings(ini.c_str());
    std::string text(300, 'p');
    ASSERT_EQ(settings.WriteString("PATH", text.c_str()), 0);
    EXPECT_EQ(std::string(settings.ReadString("PATH")), std::string(127, 'p'));
}

TEST(SettingsFile, WithoutAUsablePathReadsGiveDefaultsAndNothingIsWritten) {
    test::TempDir dir("settings-nopath");
    std::string tooLong = dir.Path() + "\\" + std::string(70000, 'd') + ".ini";
    const char* unusable[] = {tooLong.c_str(), "", nullptr, "CallsignCheck-bare-name.ini"};
    for (const char* path : unusable) {
        SettingsFile settings(path);
        EXPECT_STREQ(settings.Path(), "");
        EXPECT_EQ(settings.ReadInt("WIDTH"), 918);
        EXPECT_EQ(settings.WriteInt("WIDTH", 1), -1);
        EXPECT_EQ(settings.WriteString("WIDTH", "1"), -1);
        EXPECT_STREQ(settings.ReadString("WIDTH"), "");
    }
    char windowsDir[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windowsDir, sizeof windowsDir), 0u);
    EXPECT_FALSE(test::FileExists(std::string(windowsDir) + "\\CallsignCheck-bare-name.ini"));
}

TEST(SettingsFile, DefaultFileIsBesideTheExecutableWithItsBaseName) {
    char module[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
    ASSERT_GT(n, 4u);
    ASSERT_LT(n, sizeof module);
    std::string expected(module, n);
    ASSERT_EQ(expected.substr(expected.size() - 4), ".exe");
    expected.replace(expected.size() - 4, 4, ".ini");
    SettingsFile settings;
    EXPECT_EQ(std::string(settings.Path()), expected);
}

}  // namespace
