#include "app/SettingsKeys.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

const char* const SettingsKeyTable[kSettingsKeyCount] = {
    "TOP_100",      "LEFT_100",     "WIDTH_918",    "HIGHT_547",    "PATH",
    "DLLPATH",      "COLUMN0_60",   "COLUMN1_78",   "COLUMN2_78",   "COLUMN3_62",
    "COLUMN4_40",   "COLUMN5_40",   "COLUMN6_68",   "COLUMN7_45",   "COLUMN8_63",
    "COLUMN9_60",   "COLUMN10_45",  "COLUMN11_111", "COLUMN12_236", "COLUMN13_305",
    "COLUMN14_305", "MAX_1000",     "MARK",         "STOP_100",     "SLEFT_100",
    "SWIDTH_918",   "SHIGHT_547",
    // The check window: its place (beside the main window at its default
    // place), size and whether it is open.
    "CHECKLEFT_1018", "CHECKTOP_100", "CHECKWIDTH_340", "CHECKHIGHT_420", "CHECKOPEN_0",
};

const char* const SettingsSectionNames[3] = {"Aplication", "List", "Check"};

static_assert(kSettingsFirstSectionCount + kSettingsSecondSectionCount + kSettingsThirdSectionCount ==
                  kSettingsKeyCount,
              "every key belongs to one section");

namespace {

// The number after the first '_': blanks skipped, an optional sign, then
// digits up to the first non-digit; no digits give 0. Saturates instead of
// overflowing, although the fixed table never needs it.
int ParseDefault(const char* entry) {
    const char* p = std::strchr(entry, '_');
    if (!p) return 0;
    ++p;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

bool IsCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

bool LookupSettingsKey(const char* name, SettingsKey* key) {
    if (!name || !*name || !key) return false;
    for (int i = 0; i < kSettingsKeyCount; ++i) {
        if (!std::strstr(SettingsKeyTable[i], name)) continue;
        key->KeyIndex = i;
        key->SectionIndex = i < kSettingsFirstSectionCount                                 ? 0
                            : i < kSettingsFirstSectionCount + kSettingsSecondSectionCount ? 1
                                                                                           : 2;
        key->SectionName = SettingsSectionNames[key->SectionIndex];
        key->Default = ParseDefault(SettingsKeyTable[i]);
        return true;
    }
    return false;
}

namespace {

// Where the file name of a path begins and where its last '.' is (npos for
// none), walking whole characters so that the trail byte of a double-byte
// character is never taken for a '\'. Returns the path's length.
size_t SplitFileName(const char* path, size_t* nameStart, size_t* dot) {
    *nameStart = 0;
    *dot = static_cast<size_t>(-1);
    size_t i = 0;
    while (path[i]) {
        unsigned char b = static_cast<unsigned char>(path[i]);
        if (IsCp932LeadByte(b) && path[i + 1]) {
            i += 2;
            continue;
        }
        if (b == '\\' || b == '/' || (b == ':' && i == 1)) {
            *nameStart = i + 1;
            *dot = static_cast<size_t>(-1);
        } else if (b == '.') {
            *dot = i;
        }
        ++i;
    }
    return i;
}

}  // namespace

const char* FileNameOfPath(const char* path) {
    if (!path) return "";
    size_t nameStart = 0, dot = 0;
    SplitFileName(path, &nameStart, &dot);
    return path + nameStart;
}

bool ParseStoredInt(const char* text, int* value) {
    if (!text || !value) return false;
    const char* p = text;
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (blank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (*p < '0' || *p > '9') return false;
    long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
    }
    while (blank(*p)) ++p;
    if (*p) return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX || signedValue < INT_MIN) return false;
    *value = static_cast<int>(signedValue);
    return true;
}

bool FormIniPath(const char* modulePath, char* out, size_t outSize) {
    if (out && outSize > 0) out[0] = '\0';
    if (!modulePath || !*modulePath || !out || outSize == 0) return false;

    size_t nameStart = 0, dot = 0;
    const size_t i = SplitFileName(modulePath, &nameStart, &dot);
    size_t stemLength = (dot != static_cast<size_t>(-1) && dot >= nameStart) ? dot : i;

    static const char kExtension[] = ".ini";
    size_t needed = stemLength + sizeof kExtension;   // includes the NUL
    if (needed > outSize) return false;
    std::memcpy(out, modulePath, stemLength);
    std::memcpy(out + stemLength, kExtension, sizeof kExtension);
    return true;
}

bool FitsProfileFunctions(const char* path) {
    if (!path) return false;
    size_t characters = 0;
    for (size_t i = 0; path[i]; ++characters) {
        i += IsCp932LeadByte(static_cast<unsigned char>(path[i])) && path[i + 1] ? 2 : 1;
        if (characters + 1 >= kProfilePathCharacters) return false;
    }
    return true;
}

std::string SettingsLockName(const char* path) {
    if (!path) return "";
    // FNV-1a over the path with ASCII letters in upper case: file names are
    // compared without case, and a lock name cannot hold a '\'.
    uint32_t hash = 2166136261u;
    for (const char* p = path; *p; ++p) {
        unsigned char b = static_cast<unsigned char>(*p);
        if (b >= 'a' && b <= 'z') b = static_cast<unsigned char>(b - 'a' + 'A');
        if (b == '/') b = '\\';
        hash = (hash ^ b) * 16777619u;
    }
    char name[40];
    std::snprintf(name, sizeof name, "CallsignCheck.Settings.%08X", static_cast<unsigned>(hash));
    return name;
}
