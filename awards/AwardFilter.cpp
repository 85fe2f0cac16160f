#include "awards/AwardFilter.h"

#include <cstdio>

AwardCriteria AwardFilter = {};

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool InRange(char c, char low, char high) { return c >= low && c <= high; }

}  // namespace

int32_t ReadDecimalText(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    int64_t value = 0;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    while (IsDigit(*p)) {
        value = value * 10 + (*p - '0');
        if (value > limit) value = limit;
        ++p;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

int32_t ExpandShortDate(int32_t yymmdd) {
    if (yymmdd == 0) return 0;
    // A typed text is at most six digits, so the sums below stay far from
    // the int32 limits; a saturated value from ReadDecimalText must not wrap.
    if (yymmdd <= 510000) return yymmdd < INT32_MIN + 20000000 ? INT32_MIN : yymmdd + 20000000;
    return yymmdd > INT32_MAX - 19000000 ? INT32_MAX : yymmdd + 19000000;
}

bool IsValidShortDateText(const char* t) {
    if (!t) return false;
    // Each test fails on a NUL, so no character past the end is looked at.
    if (!IsDigit(t[0]) || !IsDigit(t[1])) return false;
    if (t[2] == '0') {
        if (!InRange(t[3], '1', '9')) return false;
    } else if (t[2] == '1') {
        if (!InRange(t[3], '0', '2')) return false;
    } else {
        return false;
    }
    if (InRange(t[4], '0', '2')) return IsDigit(t[5]);
    if (t[4] == '3') return InRange(t[5], '0', '1');
    return false;
}

void FormatTodayText(int year, int month, int day, char text[kTodayTextSize]) {
    std::snprintf(text, kTodayTextSize, "%02d%02d%02d", year - 2000, month, day);
}
