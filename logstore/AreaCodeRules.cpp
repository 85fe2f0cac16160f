// The rules on area codes and dates that need no library: which master
// records make the JCC and JCG tables, deletion marks, and how a QSO's code
// becomes the code an area is counted by.
#include <cstring>

#include "logstore/AreaMaster.h"
#include "logstore/QsoRecord.h"

namespace {

constexpr int kNameChars = 28;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLowDigit(char c) { return c >= '0' && c <= '4'; }   // prefectures 01..47

// Reads a decimal number as the mark writes it: blanks skipped, digits up to
// the first non-digit, 0 without digits. `end` bounds the text. Large values
// stop growing so that a garbled mark cannot overflow.
int ReadMarkNumber(const char* p, const char* end) {
    while (p < end && *p == ' ') ++p;
    int value = 0;
    for (; p < end && IsDigit(*p); ++p)
        if (value < 1000000) value = value * 10 + (*p - '0');
    return value;
}

// Number of leading digits among the first 6 characters; *stop gets the
// character that ended them ('\0' when all six are digits or a NUL ended them).
int LeadingDigits(const char* code, char* stop) {
    int n = 0;
    while (n < 6 && IsDigit(code[n])) ++n;
    *stop = n < 6 ? code[n] : '\0';
    return n;
}

}  // namespace

void TakeDateDigits(const char* date, char digits[7]) {
    static const int kPositions[6] = {0, 1, 3, 4, 6, 7};
    size_t length = 0;
    while (length < 8 && date[length] != '\0') ++length;
    int n = 0;
    for (int position : kPositions) {
        if (static_cast<size_t>(position) >= length) break;
        digits[n++] = date[position];
    }
    digits[n] = '\0';
}

MasterCodeKind ClassifyMasterCode(const char* code) {
    char c[6];
    bool ended = false;
    for (int i = 0; i < 6; ++i) {
        ended = ended || code[i] == '\0';
        c[i] = ended ? '\0' : code[i];
    }
    if (!IsDigit(c[4]) && IsLowDigit(c[0])) {
        if (c[0] == '1' && c[1] == '0' && (c[2] == '5' || c[2] == '6' || c[2] == '7'))
            return MasterCodeKind::Skip;
        return MasterCodeKind::Jcc;
    }
    if (std::memcmp(c, "1001", 4) == 0) return MasterCodeKind::Jcc;
    if (c[5] == ' ' && IsLowDigit(c[0]) && IsDigit(c[4])) return MasterCodeKind::Jcg;
    return MasterCodeKind::Skip;
}

int ParseDeletionMark(const char* name) {
    const char* end = name;
    while (end - name < kNameChars && *end != '\0') ++end;
    const char* star = static_cast<const char*>(std::memchr(name, '*', end - name));
    if (!star) return 0;
    const char* yearStart = star + 1;
    const char* slash = static_cast<const char*>(std::memchr(yearStart, '/', end - yearStart));
    if (!slash) return 0;
    int v = ReadMarkNumber(yearStart, slash) * 100;
    v += v <= 5100 ? 200000 : 190000;
    return v + ReadMarkNumber(slash + 1, end);
}

int NormalizeJccCode(char* code, const char* dateDigits) {
    bool wardPeriod = false;
    if (IsDigit(dateDigits[0]) && IsDigit(dateDigits[1]) && IsDigit(dateDigits[2]) &&
        IsDigit(dateDigits[3])) {
        int k = (dateDigits[0] - '0') * 1000 + (dateDigits[1] - '0') * 100 +
                (dateDigits[2] - '0') * 10 + (dateDigits[3] - '0');
        wardPeriod = k >= 1004 && k <= 3001;
    }
    char stop;
    int digits = LeadingDigits(code, &stop);
    if (digits == 4 && IsLowDigit(code[0])) return 3;
    if (digits == 6) {
        if (std::memcmp(code, "1001", 4) == 0 && wardPeriod) return 7;
        code[4] = ' ';
        code[5] = ' ';
        code[6] = '\0';
        return 8;
    }
    return 0;
}

int NormalizeJcgCode(char* code) {
    char stop;
    if (LeadingDigits(code, &stop) != 5) return 0;
    if (stop == ' ') return 4;
    code[5] = ' ';
    code[6] = '\0';
    return 9;
}
