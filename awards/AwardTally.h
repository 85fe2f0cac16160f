// The award tally: one pass over the whole log under the criteria of
// AwardFilter, attributing every counted QSO to an area of the award and
// accumulating per area its QSL state, first and last date and QSO count.
// Window-free; the one message it can give goes through AwardMessageSink.
#pragma once
#include <cstdint>

#include "logstore/AreaMaster.h"

struct QsoRecord;

// Statistics of one area.
struct AreaStat {
    int32_t FirstDate;   // YYYYMMDD of the first counted QSO in record order; 0 = none
    int32_t LastDate;    // latest date among the counted QSOs; 0 = none
    int32_t QsoCount;    // number of counted QSOs
    int32_t QslState;    // 0 not worked, 1 worked ("Wkd"), 2 confirmed ("Cfm")
};
static_assert(sizeof(AreaStat) == 16, "AreaStat is four int32");

constexpr int kAjdAreaCount = 10;     // call areas 0..9
constexpr int kPrefectureCount = 47;  // prefectures 1..47

extern AreaStat AjdStats[kAjdAreaCount];              // by call-area digit
extern AreaStat WajaStats[kPrefectureCount + 1];      // by prefecture number; [0] unused
extern AreaStat AreaStats[kAreaTableSize];            // by JccTable/JcgTable position

// Date (YYYYMMDD) of the QSO under test: set by CheckQsoDate, read by AddQso.
extern int32_t CurrentQsoDate;

struct Prefecture {
    const char* Name;   // CP932 text shown in the WAJA list
    int CallArea;       // the call area AJD assigns
};
// Prefectures 1..47 at positions 0..46.
extern const Prefecture PrefectureTable[kPrefectureCount];

// Where the tally shows "the library cannot be loaded". The window layer
// sets it to a message-box function; null shows nothing.
extern void (*AwardMessageSink)(const char* text);
extern const char kLibraryMissingText[];   // "VIREON50.DLLがみつかりません"

// -1: the QSO is dated after EndDate (the scan ends); 0: before StartDate
// (skipped); 1: within the range, both bounds inclusive. An EndDate of 0
// ends the scan at the first record with a readable date. Sets
// CurrentQsoDate. Never reads past the date text's NUL.
int CheckQsoDate(const char* date);
// The band index of the frequency is 0..13 and ticked in BandSelected.
bool IsBandSelected(const char* freq);
// ModeText is empty, or equals the whole mode text byte for byte.
bool IsModeSelected(const char* mode);
// AJD: call area 0..9 from the first two code characters, or -1.
int CallAreaOfCode(const char* code);
// WAJA: the first two code characters read as a number; only 1..47 name a
// prefecture (a single digit followed by a blank or letter counts too).
int PrefectureOfCode(const char* code);
// JCC/JCG: position of the first entry of the table of AwardFilter.AwardKind
// (JccTable for Jcc, JcgTable for Jcg) whose Code equals code exactly, the
// walk ending at the first empty Code; -1 without a match or for another
// kind.
int FindAreaEntry(const char* code);
// One counted QSO into stat, dated CurrentQsoDate. The QSO is confirmed when
// its QSL text has a third character that is not a blank; a shorter text has
// no mark, so its QSO is worked only.
void AddQso(AreaStat& stat, const char* qsl);

// Complete scans. false when the logging library cannot be loaded (the
// message has gone to AwardMessageSink and the table is untouched), true
// otherwise. A record that cannot be read is skipped.
bool TallyAjd();
bool TallyWaja();
bool TallyJccJcg();   // AwardKind Jcc or Jcg picks the table
