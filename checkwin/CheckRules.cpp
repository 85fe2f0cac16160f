#include "checkwin/CheckRules.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }

bool AllowedAt(int position, char c) {
    switch (position) {
    case 0: return c == 'J' || c == '7' || IsDigit(c);
    case 1: return c == 'A' || (c >= 'D' && c <= 'S');
    case 2: return IsDigit(c);
    default: return IsUpper(c);
    }
}

// A call sign is handed over only when it has a first character and that
// character is not a blank.
bool StartsWithNonBlank(const char* text) { return text && text[0] != '\0' && text[0] != ' '; }

std::string FormatCount(const char* format, int count) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, count);
    return buffer;
}

}  // namespace

int FormLookupKey(const char* callText, char (&key)[kLookupKeyLength + 1]) {
    int length = 0;
    if (callText) {
        while (length < kLookupKeyLength && callText[length] != '\0' && callText[length] != '/') {
            key[length] = callText[length];
            ++length;
        }
    }
    key[length] = '\0';
    return length;
}

bool IsListedHit(LookupFilter filter, const char* key, int keyLength, const char* recordCall) {
    if (!recordCall || !key) return false;
    // strncmp stops at the first difference, so a shorter call is never read
    // past its NUL.
    if (std::strncmp(recordCall, key, static_cast<size_t>(keyLength)) != 0) return false;
    if (filter == LookupFilter::All) return true;
    if (keyLength >= kLookupKeyLength) return true;
    if (keyLength != kLookupKeyLength - 1) return false;
    // Exactly five characters: five non-NUL bytes, the sixth the NUL.
    for (int i = 0; i < kLookupKeyLength - 1; ++i)
        if (recordCall[i] == '\0') return false;
    return recordCall[kLookupKeyLength - 1] == '\0';
}

SearchPattern BuildSearchPattern(const char* typedText) {
    SearchPattern pattern;
    if (!typedText) return pattern;
    for (int i = 0; i < kPatternLength && typedText[i] != '\0'; ++i) {
        if (AllowedAt(i, typedText[i])) {
            pattern.Text[i] = typedText[i];
            ++pattern.FixedCount;
        }
    }
    return pattern;
}

bool MatchesPattern(const SearchPattern& pattern, const char* recordCall) {
    const char* call = recordCall ? recordCall : "";
    bool ended = false;
    for (int i = 0; i < kPatternLength; ++i) {
        if (!ended && call[i] == '\0') ended = true;
        if (pattern.Text[i] == '?') continue;
        if (ended || call[i] != pattern.Text[i]) return false;
    }
    return true;
}

std::string QsoCountText(int count) { return FormatCount("交信回数 %d 回", count); }
std::string SearchCountText(int count) { return FormatCount("検索件数 %d 件", count); }

std::string SettingsNotSavedText(const std::string& fileName) { return fileName + " に設定を保存できません"; }

// Remarks2 is free text like NAME, QTH and Remarks1, so it is not sortable
// either.
const ListColumn QsoColumns[kQsoColumnCount] = {
    {"Rec.No", 60, ColumnAlign::Left, 1},
    {"Call", 78, ColumnAlign::Left, 0},
    {"Date", 78, ColumnAlign::Left, -1},
    {"Time", 62, ColumnAlign::Left, -1},
    {"His", 40, ColumnAlign::Left, -1},
    {"My", 40, ColumnAlign::Left, -1},
    {"Freq", 68, ColumnAlign::Left, 0},
    {"Mode", 45, ColumnAlign::Left, 0},
    {"Code", 63, ColumnAlign::Right, 0},
    {"G.L", 60, ColumnAlign::Left, 0},
    {"QSL", 45, ColumnAlign::Left, -1},
    {"NAME", 111, ColumnAlign::Left, -1},
    {"QTH", 236, ColumnAlign::Left, -1},
    {"Remarks1", 305, ColumnAlign::Left, -1},
    {"Remarks2", 305, ColumnAlign::Left, -1},
};

std::string RecordNumberText(int recNo) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%6d", recNo);
    return buffer;
}

std::string CutCp932(const char* text, int maxBytes) {
    if (!text || maxBytes <= 0) return {};
    return std::string(text, WholeCp932Length(text, static_cast<size_t>(maxBytes)));
}

LinkMessages CallMessages(bool linkOn, bool targetPresent, const char* callText) {
    if (!linkOn || !targetPresent || !StartsWithNonBlank(callText)) return {};
    return {{kLinkCodeCall, callText}, {kLinkCodeCallAgain, callText}};
}

LinkMessages ClearMessages(bool linkOn, bool targetPresent) {
    if (!linkOn || !targetPresent) return {};
    return {{kLinkCodeCall, std::string()}};
}

LinkMessages DoubleClickMessages(bool linkOn, bool targetPresent, const LinkRow* row) {
    if (!linkOn || !row) return {};
    std::string call = CutCp932(row->Call.c_str(), kLookupKeyLength);
    if (!StartsWithNonBlank(call.c_str()) || !targetPresent) return {};
    return {{kLinkCodeCall, call}, {kLinkCodeCallAgain, call}};
}

LinkMessages RowMessages(bool linkOn, bool targetPresent, const LinkRow* row) {
    if (!linkOn || !row) return {};
    if (!StartsWithNonBlank(row->Call.c_str()) || !targetPresent) return {};
    return {
        {kLinkCodeRowCall, CutCp932(row->Call.c_str(), kLinkListTextMax)},
        {kLinkCodeRowCode, CutCp932(row->Code.c_str(), kLinkListTextMax)},
        {kLinkCodeRowName, CutCp932(row->Name.c_str(), kLinkListTextMax)},
        {kLinkCodeRowQth, CutCp932(row->Qth.c_str(), kLinkListTextMax)},
    };
}
