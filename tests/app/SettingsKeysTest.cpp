#include <cstring>
#include <string>

#include "TestSupport.h"
#include "app/SettingsKeys.h"

namespace {

TEST(SettingsKeys, TableHasTwentySevenEntriesInTwoSections) {
    ASSERT_EQ(kSettingsKeyCount, 27);
    EXPECT_STREQ(SettingsKeyTable[0], "TOP_100");
    EXPECT_STREQ(SettingsKeyTable[22], "MARK");
    EXPECT_STREQ(SettingsKeyTable[23], "STOP_100");
    EXPECT_STREQ(SettingsKeyTable[26], "SHIGHT_547");
    EXPECT_STREQ(SettingsSectionNames[0], "Aplication");
    EXPECT_STREQ(SettingsSectionNames[1], "List");
}

struct LookupCase {
    const char* name;
    int keyIndex;
    int section;
    int defaultValue;
};

// Names the program uses, and names whose first containing entry is not the
// obvious one: table order decides.
const LookupCase kLookups[] = {
    {"TOP", 0, 0, 100},       {"LEFT", 1, 0, 100},        {"WIDTH", 2, 0, 918},
    {"HIGHT", 3, 0, 547},     {"PATH", 4, 0, 0},          {"DLLPATH", 5, 0, 0},
    {"COLUMN0", 6, 0, 60},    {"COLUMN1", 7, 0, 78},      {"COLUMN8", 14, 0, 63},
    {"COLUMN10", 16, 0, 45},  {"COLUMN11", 17, 0, 111},   {"COLUMN14", 20, 0, 305},
    {"MAX", 21, 0, 1000},     {"MARK", 22, 0, 0},         {"STOP", 23, 1, 100},
    {"SLEFT", 24, 1, 100},    {"SWIDTH", 25, 1, 918},     {"SHIGHT", 26, 1, 547},
    {"IDTH", 2, 0, 918},      {"T_1", 1, 0, 100},         {"_547", 3, 0, 547},
    {"COLUMN", 6, 0, 60},     {"ATH", 4, 0, 0},           {"S", 23, 1, 100},
    {"918", 2, 0, 918},
};

TEST(SettingsKeys, LookupTakesTheFirstEntryContainingTheName) {
    for (const auto& c : kLookups) {
        SettingsKey key;
        ASSERT_TRUE(LookupSettingsKey(c.name, &key)) << c.name;
        EXPECT_EQ(key.KeyIndex, c.keyIndex) << c.name;
        EXPECT_EQ(key.SectionIndex, c.section) << c.name;
        EXPECT_STREQ(key.SectionName, SettingsSectionNames[c.section]) << c.name;
        EXPECT_EQ(key.Default, c.defaultValue) << c.name;
    }
}

TEST(SettingsKeys, EveryColumnKeyFindsItsOwnEntry) {
    for (int i = 0; i <= 14; ++i) {
        std::string name = "COLUMN" + std::to_string(i);
        SettingsKey key;
        ASSERT_TRUE(LookupSettingsKey(name.c_str(), &key)) << name;
        EXPECT_EQ(key.KeyIndex, 6 + i) << name;
        EXPECT_EQ(std::strncmp(SettingsKeyTable[key.KeyIndex], (name + "_").c_str(), name.size() + 1), 0)
            << name;
    }
}

TEST(SettingsKeys, UnknownNamesAreNotFoundAndLeaveTheResultAlone) {
    const char* unknown[] = {"top", "COLUMN15", "HEIGHT", "TOP_100X", "Aplication", "", nullptr};
    for (const char* name : unknown) {
        SettingsKey key;
        key.KeyIndex = 99;
        key.SectionIndex = 7;
        EXPECT_FALSE(LookupSettingsKey(name, &key)) << (name ? name : "(null)");
        EXPECT_EQ(key.KeyIndex, 99);
        EXPECT_EQ(key.SectionIndex, 7);
    }
}

struct PathCase {
    const char* module;
    const char* ini;
};

const PathCase kPaths[] = {
    {"C:\\Vireon\\CallsignCheck.exe", "C:\\Vireon\\CallsignCheck.ini"},
    {"C:\\Vireon\\CallsignCheck", "C:\\Vireon\\CallsignCheck.ini"},
    {"C:\\v5.0\\CallsignCheck", "C:\\v5.0\\CallsignCheck.ini"},       // dot in a folder only
    {"C:\\a\\b.c.exe", "C:\\a\\b.c.ini"},                                // last dot of the name
    {"Z:/work/build/tests/app.exe", "Z:/work/build/tests/app.ini"},
    {"C:prog.exe", "C:prog.ini"},
    {"\\\\server\\share\\x.exe", "\\\\server\\share\\x.ini"},
    // 0x95 0x5C is one double-byte character, not a folder separator.
    {"C:\\a\\x.\x95\x5C" "exe", "C:\\a\\x.ini"},
    {"C:\\\x95\x5C\\x.exe", "C:\\\x95\x5C\\x.ini"},
};

TEST(SettingsKeys, IniPathSitsBesideTheExecutableWithItsBaseName) {
    for (const auto& c : kPaths) {
        char out[260];
        ASSERT_TRUE(FormIniPath(c.module, out, sizeof out)) << c.module;
        EXPECT_STREQ(out, c.ini) << c.module;
    }
}

TEST(SettingsKeys, IniPathThatDoesNotFitIsRefusedNotCut) {
    const char* module = "C:\\Vireon\\CallsignCheck.exe";
    const size_t exact = std::strlen("C:\\Vireon\\CallsignCheck.ini") + 1;
    char out[64];
    ASSERT_TRUE(FormIniPath(module, out, exact));
    std::memset(out, 'x', sizeof out);
    EXPECT_FALSE(FormIniPath(module, out, exact - 1));
    EXPECT_EQ(out[0], '\0');

    std::string longPath = "C:\\" + std::string(70000, 'd') + "\\CallsignCheck.exe";
    static char big[65536];
    EXPECT_FALSE(FormIniPath(longPath.c_str(), big, sizeof big));
    EXPECT_EQ(big[0], '\0');
    EXPECT_FALSE(FormIniPath("", out, sizeof out));
    EXPECT_FALSE(FormIniPath(nullptr, out, sizeof out));
}

}  // namespace
