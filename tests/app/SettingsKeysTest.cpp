#include <cstring>
#include <string>

#include "TestSupport.h"
#include "app/SettingsKeys.h"

namespace {

// Names the program uses, and names whose first containing entry is not the
// obvious one: the table order decides.
TEST(SettingsKeys, LookupTakesTheFirstEntryContainingTheName) {
    struct Case { const char* name; int keyIndex, section, defaultValue; };
    const Case cases[] = {
        {"TOP", 0, 0, 100},     {"LEFT", 1, 0, 100},     {"WIDTH", 2, 0, 918},   {"HIGHT", 3, 0, 547},
        {"PATH", 4, 0, 0},      {"DLLPATH", 5, 0, 0},    {"COLUMN1", 7, 0, 78},  {"COLUMN10", 16, 0, 45},
        {"COLUMN14", 20, 0, 305}, {"MAX", 21, 0, 1000},  {"MARK", 22, 0, 0},     {"STOP", 23, 1, 100},
        {"SHIGHT", 26, 1, 547}, {"IDTH", 2, 0, 918},     {"T_1", 1, 0, 100},     {"S", 23, 1, 100},
        // The check window's keys, after all others: no older name finds them.
        {"CHECKLEFT", 27, 2, 1018}, {"CHECKTOP", 28, 2, 100}, {"CHECKWIDTH", 29, 2, 340},
        {"CHECKHIGHT", 30, 2, 420}, {"CHECKOPEN", 31, 2, 0},
    };
    const char* const sections[] = {"Aplication", "List", "Check"};
    for (const auto& c : cases) {
        SettingsKey key;
        ASSERT_TRUE(LookupSettingsKey(c.name, &key)) << c.name;
        EXPECT_EQ(key.KeyIndex, c.keyIndex) << c.name;
        EXPECT_EQ(key.SectionIndex, c.section) << c.name;
        EXPECT_STREQ(key.SectionName, sections[c.section]) << c.name;
        EXPECT_EQ(key.Default, c.defaultValue) << c.name;
    }
    for (int i = 0; i <= 14; ++i) {   // each width key finds its own entry
        std::string name = "COLUMN" + std::to_string(i);
        SettingsKey key;
        ASSERT_TRUE(LookupSettingsKey(name.c_str(), &key));
        EXPECT_EQ(std::string(SettingsKeyTable[key.KeyIndex]).substr(0, name.size() + 1), name + "_");
    }
}

TEST(SettingsKeys, UnknownNamesAreNotFound) {
    for (const char* name : {"top", "COLUMN15", "HEIGHT", "TOP_100X", "", static_cast<const char*>(nullptr)}) {
        SettingsKey key;
        key.KeyIndex = 99;
        EXPECT_FALSE(LookupSettingsKey(name, &key)) << (name ? name : "(null)");
        EXPECT_EQ(key.KeyIndex, 99);
    }
}

TEST(SettingsKeys, IniPathSitsBesideTheExecutableWithItsBaseName) {
    struct Case { const char* module; const char* ini; };
    const Case cases[] = {
        {"C:\\Vireon\\CallsignCheck.exe", "C:\\Vireon\\CallsignCheck.ini"},
        {"C:\\v5.0\\CallsignCheck", "C:\\v5.0\\CallsignCheck.ini"},   // dot in a folder only
        {"C:\\a\\b.c.exe", "C:\\a\\b.c.ini"},
        {"Z:/work/tests/app.exe", "Z:/work/tests/app.ini"},
        {"C:prog.exe", "C:prog.ini"},
        // 0x95 0x5C is one double-byte character, not a folder separator.
        {"C:\\a\\x.\x95\x5C" "exe", "C:\\a\\x.ini"},
    };
    for (const auto& c : cases) {
        char out[260];
        ASSERT_TRUE(FormIniPath(c.module, out, sizeof out)) << c.module;
        EXPECT_STREQ(out, c.ini) << c.module;
    }
}

TEST(SettingsKeys, IniPathThatDoesNotFitIsRefusedNotCut) {
    const char* module = "C:\\Vireon\\CallsignCheck.exe";
    const size_t exact = std::strlen(module) + 1;
    char out[64];
    ASSERT_TRUE(FormIniPath(module, out, exact));
    std::memset(out, 'x', sizeof out);
    EXPECT_FALSE(FormIniPath(module, out, exact - 1));
    EXPECT_EQ(out[0], '\0');
    EXPECT_FALSE(FormIniPath("", out, sizeof out));
}

TEST(SettingsKeys, PathsTheProfileFunctionsTakeHaveFewerThan260Characters) {
    struct Case { std::string path; bool fits; };
    const std::string folder = "C:\\Vireon\\";
    const Case cases[] = {
        {folder + "CallsignCheck.ini", true},
        {folder + std::string(259 - folder.size(), 'a'), true},
        {folder + std::string(260 - folder.size(), 'a'), false},
        {folder + std::string(2000, 'a'), false},
        // 0x83 0x5C is one character of code page 932: 249 characters in 498 bytes.
        {folder + [] { std::string s; for (int i = 0; i < 239; ++i) s += "\x83\x5C"; return s; }(), true},
        {folder + [] { std::string s; for (int i = 0; i < 250; ++i) s += "\x83\x5C"; return s; }(), false},
        {"", true},
    };
    for (const Case& c : cases) EXPECT_EQ(FitsProfileFunctions(c.path.c_str()), c.fits) << c.path.size();
    EXPECT_FALSE(FitsProfileFunctions(nullptr));
}

TEST(SettingsKeys, TheLockNameIsTheSameForOneFileHoweverItIsSpelt) {
    const std::string name = SettingsLockName("C:\\Vireon\\CallsignCheck.ini");
    EXPECT_EQ(name.rfind("CallsignCheck.Settings.", 0), 0u) << name;
    EXPECT_EQ(name.find('\\'), std::string::npos) << "a lock name holds no backslash";
    EXPECT_EQ(SettingsLockName("c:\\vireon\\callsigncheck.INI"), name);
    EXPECT_EQ(SettingsLockName("C:/Vireon/CallsignCheck.ini"), name);
    for (const char* other : {"C:\\Vireon2\\CallsignCheck.ini", "C:\\Vireon\\CallsignCheck.in", "D:\\Vireon\\CallsignCheck.ini"})
        EXPECT_NE(SettingsLockName(other), name) << other;
    EXPECT_EQ(SettingsLockName(nullptr), "");
}

}  // namespace
