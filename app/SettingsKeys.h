// The settings keys the program knows, and how a key name finds its section
// and default. Window-free: the INI file itself is handled by SettingsFile.
#pragma once
#include <cstddef>
#include <string>

constexpr int kSettingsKeyCount = 32;
// The first 23 entries belong to section 0, the next 4 to section 1, the
// last 5 (the check window's) to section 2.
constexpr int kSettingsFirstSectionCount = 23;
constexpr int kSettingsSecondSectionCount = 4;
constexpr int kSettingsThirdSectionCount = 5;

// Entries of the form KEY_default, or a bare KEY without a default.
extern const char* const SettingsKeyTable[kSettingsKeyCount];
// "Aplication" (index 0), "List" (index 1), spelled as stored, and "Check".
extern const char* const SettingsSectionNames[3];

struct SettingsKey {
    int SectionIndex = 0;
    int KeyIndex = 0;
    int Default = 0;
    const char* SectionName = nullptr;
};

// Finds the first table entry that contains `name` anywhere (a substring
// test, in table order: "TOP" is entry 0, not "STOP_100"). Fills *key and
// returns true; returns false, leaving *key alone, for a name that no entry
// contains, and for a null or empty name.
bool LookupSettingsKey(const char* name, SettingsKey* key);

// Forms the INI file path from an executable's path: the same folder and
// base name with the extension ".ini" (a path without extension gets
// ".ini" appended). Separators are '\' and '/'; double-byte characters of
// code page 932 are stepped over whole, so a trail byte 0x5C is no
// separator. Returns false, with out[0] = 0 when outSize allows, when the
// result does not fit into outSize bytes or the module path is null/empty.
bool FormIniPath(const char* modulePath, char* out, size_t outSize);

// The file-name part of a path: after its last '\', '/' or drive colon
// (double-byte characters stepped over whole); "" for a null path.
const char* FileNameOfPath(const char* path);

// A value as the settings file stores it: a whole decimal number (blanks
// around it, an optional sign) that fits an int. False, leaving *value
// alone, for anything else: an empty text, "abc", "12abc", "1.5", a number
// too large.
bool ParseStoredInt(const char* text, int* value);

// The profile functions take paths of fewer than 260 characters (a
// double-byte character of code page 932 counts once); a longer one may
// send their file elsewhere. True when `path` fits.
constexpr size_t kProfilePathCharacters = 260;
bool FitsProfileFunctions(const char* path);

// The name of the lock that programs writing the same INI file share, the
// same for every spelling of the path that differs only in letter case:
// "CallsignCheck.Settings." and a hash of the path. Empty for a null path.
std::string SettingsLockName(const char* path);
