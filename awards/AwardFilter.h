// The criteria of an award check, which a check dialog fills and hands to
// the result list, and the tally and the rows are made under; the
// operations on the six-character date texts (YYMMDD) the dialogs take.
#pragma once
#include <cstdint>

#include "logstore/Bands.h"   // kBandCount: band index 0..13, 1.9 MHz .. 2400 MHz

constexpr int kModeTextSize = 8;
constexpr int kShortDateTextSize = 7; // six digits and a NUL

// Values of AwardCriteria.AwardKind.
enum AwardKind : int32_t {
    Ajd = 1,    // the ten call areas
    Waja = 2,   // the 47 prefectures
    Jcc = 3,    // cities of JccTable
    Jcg = 4,    // counties of JcgTable
};

// Field order and widths are fixed. Nothing clears a set of criteria between
// searches: each search overwrites the fields its dialog owns.
struct AwardCriteria {
    int32_t ShowUnworked;               // JCC/JCG: list the areas never worked
    int32_t ShowFullList;               // JCC/JCG: list every table entry
    char ModeText[kModeTextSize];       // "" = any mode, else exact byte match
    int32_t BandSelected[kBandCount];   // 1 = the band counts
    int32_t EndDate;                    // YYYYMMDD, last date included
    int32_t StartDate;                  // YYYYMMDD, first date included; 0 = none
    int32_t AwardKind;                  // an AwardKind value
};
static_assert(sizeof(AwardCriteria) == 4 + 4 + 8 + 14 * 4 + 4 + 4 + 4, "AwardCriteria layout");

// The program's one set, shared by both check dialogs and their result
// lists (the program hands it to them); zero at program start.
using AwardFilterRecord = AwardCriteria;
extern AwardCriteria AwardFilter;

// The decimal reading of a text the way the C library's atoi reads it:
// leading white space skipped, an optional sign, then digits up to the first
// non-digit; no digits give 0. Values beyond the int32 range saturate
// instead of overflowing.
int32_t ReadDecimalText(const char* text);

// YYMMDD as a number -> YYYYMMDD: 0 stays 0, up to 510000 gets 20000000
// added, anything larger 19000000 (years 00-50 are 2000-2050, 51-99 are
// 1951-1999).
int32_t ExpandShortDate(int32_t yymmdd);

// The character rule a date text must pass when its number is not 0:
// two year digits, month 01-12, day 00-39 with 30 and 31 the only days in
// the thirties. No month-length rule (990231 passes). A text shorter than six
// characters fails; characters after the sixth are not looked at.
bool IsValidShortDateText(const char* text);

// Today's end-date text "%02d%02d%02d" from year - 2000, month and day
// (2026-12-06 gives "261206"). The text has room for years outside
// 2000..2099, which give more than six characters.
constexpr int kTodayTextSize = 16;
void FormatTodayText(int year, int month, int day, char text[kTodayTextSize]);
