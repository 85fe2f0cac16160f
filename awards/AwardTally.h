// The award tally: one pass over a log under a set of criteria, attributing
// every counted QSO to an area of the award and accumulating per area its
// QSL state, first and last date and QSO count. Window-free: the result is
// a value, and the records come from whatever source it is handed.
#pragma once
#include <cstdint>
#include <vector>

#include "awards/AwardFilter.h"
#include "logstore/AreaMaster.h"

class QsoSource;
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

// What of one area's counted QSOs the award itself accepts: a QSO of an
// area that no longer exists counts only when it is dated no later than the
// area's deletion month (AwardAcceptsQso).
struct AreaAward {
    uint16_t ConfirmedBands;     // bit b: a confirmed QSO the award accepts on band b
    uint16_t WorkedBands;        // bit b: any QSO the award accepts on band b
    int32_t FirstConfirmedRecNo; // the first such confirmed QSO in record order; 0 = none
    int32_t FirstConfirmedDate;  // its date, YYYYMMDD
    int32_t FirstConfirmedBand;  // its band index
};

// What one tally found, per area of its award kind: AJD by call-area digit
// 0..9, WAJA by prefecture number 1..47 (0 unused), JCC and JCG by the
// position of the entry in the area table.
// The date of a record's Date text: its six date digits (TakeDateDigits)
// and the number they read as, widened to YYYYMMDD.
void ReadQsoDate(const char* date, int32_t* value, char digits[7]);

struct AwardStatistics {
    int32_t Kind = 0;
    int32_t RecordCount = 0;   // the records the log had when it was read (-1: it could not be)
    AreaStat Areas[kAreaTableSize] = {};
    AreaAward Award[kAreaTableSize] = {};
};

// Whether the award accepts a QSO dated qsoDate (YYYYMMDD, 0 = undated) of
// an area deleted in deletedYm (YYYYMM, 0 = the area exists): always for an
// existing area, else only a dated QSO no later than the deletion month.
bool AwardAcceptsQso(int32_t deletedYm, int32_t qsoDate);

// The area table an award kind's areas are the entries of: JccTable for
// Jcc, JcgTable for Jcg, null for the others.
const AreaEntry* AreaTableOfKind(int32_t kind);

// The area indexes of an award in the award's own order: AJD 1..9 then 0,
// WAJA 1..47, JCC/JCG the table's entries up to the first empty code.
std::vector<int> AwardAreaOrder(int32_t kind, const AreaEntry* table);

// The tally over the records of `source` (opened and closed here) under the
// criteria; `table` is the area table for JCC and JCG. Reads the records in
// record order up to the first one dated after EndDate; an unreadable
// record is left out. Its memory does not grow with the log.
AwardStatistics TallyAward(const AwardCriteria& criteria, const AreaEntry* table, QsoSource& source);

enum class TallyOutcome { Done, LibraryMissing, LogCannotBeOpened };
// The tally over the log through the logging library, bound for the time
// of the scan. `result` is left as it was when the library cannot be loaded;
// when the log cannot be opened or counted it holds the statistics of no
// QSO, as for an empty log, and the outcome says so.
TallyOutcome TallyLoggerLog(const AwardCriteria& criteria, const AreaEntry* table, AwardStatistics& result);

struct Prefecture {
    const char* Name;   // CP932 text shown in the WAJA list
    int CallArea;       // the call area AJD assigns
};
// Prefectures 1..47 at positions 0..46.
extern const Prefecture PrefectureTable[kPrefectureCount];

extern const char kLibraryMissingText[];   // "VIREON50.DLLがみつかりません"

// ---- The steps of a scan, each on its own -------------------------------

// -1: the QSO is dated after EndDate (the scan ends); 0: before StartDate
// (skipped); 1: within the range, both bounds inclusive. An EndDate of 0
// ends the scan at the first record with a readable date. *qsoDate gets
// the QSO's date as YYYYMMDD. Never reads past the date text's NUL.
int CheckQsoDate(const AwardCriteria& criteria, const char* date, int32_t* qsoDate);
// Band index 0..13 and ticked in BandSelected.
bool IsBandSelected(const AwardCriteria& criteria, int band);
// ModeText is empty, or equals the whole mode text byte for byte.
bool IsModeSelected(const AwardCriteria& criteria, const char* mode);
// AJD: call area 0..9 from the first two code characters, or -1.
int CallAreaOfCode(const char* code);
// WAJA: the first two code characters read as a number; only 1..47 name a
// prefecture (a single digit followed by a blank or letter counts too).
int PrefectureOfCode(const char* code);
// One counted QSO dated `date` into stat. The QSO is confirmed when its QSL
// text has a third character that is not a blank; a shorter text has no
// mark, so its QSO is worked only.
void AddQso(AreaStat& stat, const char* qsl, int32_t date);

// The JCC/JCG lookup of a code in an area table: the position of the first
// entry whose Code equals the code exactly, the walk in table order ending
// at the first empty Code; -1 without a match. Built once per scan, in fixed
// storage, so that a QSO costs one hash probe instead of a walk.
class AreaCodeIndex {
public:
    explicit AreaCodeIndex(const AreaEntry* table);   // null: nothing is found
    int Find(const char* code) const;

private:
    static constexpr int kSlots = 2048;   // a power of two, over twice the table size
    // Keys apart from positions, so that a probe reads only the keys.
    uint64_t keys_[kSlots];       // 0 = free (a used entry's code is never empty)
    int16_t positions_[kSlots];
};

// Which area of an award a QSO belongs to, and whether the award accepts it
// there. The one rule behind the tally (and so the totals, the band grid and
// the application list) and the area lookup; nothing else decides it.
struct QsoArea {
    int Area = -1;           // the area index, -1: none of the award's areas
    bool Accepted = false;   // false for a QSO of a deleted area dated after its deletion month
};
class AwardAreaRule {
public:
    // kind: Ajd, Waja, Jcc or Jcg; table: the kind's area table (JCC, JCG).
    AwardAreaRule(int32_t kind, const AreaEntry* table);
    int32_t Kind() const { return kind_; }
    const AreaEntry* Table() const { return table_; }
    // code: a record's 7-byte Code field, which JCC and JCG rewrite in place
    // as the code rules do (a ward to its city, a town to its county);
    // dateDigits: YYMMDD as TakeDateDigits takes them; date: YYYYMMDD, 0 none.
    QsoArea AreaOf(char* code, const char* dateDigits, int32_t date) const;
    // false when a QSO with this code cannot belong to `area`:
    // the code rules never change a code's first four characters, so a
    // JCC/JCG code that differs from the entry's in them never comes to it.
    // A quick test before AreaOf for a scan after one area.
    bool MayBelongTo(const char* code, int area) const;

private:
    int32_t kind_;
    const AreaEntry* table_;
    AreaCodeIndex index_;
};

// One QSO a scan attributed to an area.
struct ScannedQso {
    int RecNo;
    const QsoRecord* Record;   // the read buffer, as read
    int Area;
    bool Accepted;
    int Band;                  // 0..13, -1 none
    bool Confirmed;            // the QSL text's received mark
    int32_t Date;              // YYYYMMDD
};
class ScannedQsoSink {
public:
    virtual ~ScannedQsoSink() = default;
    virtual void Take(const ScannedQso& qso) = 0;
};
// The tally's pass over `source`, handing on every QSO the rule attributes
// to an area (only to `onlyArea` unless it is -1). With criteria, exactly
// the QSOs the tally counts (date range, mode, band; the scan ends at the
// first QSO after EndDate); without, every QSO of the log whatever its
// date, mode or band. Returns false when the log could not be opened.
bool ScanAwardQsos(const AwardCriteria* criteria, const AwardAreaRule& rule, int onlyArea, QsoSource& source,
                   ScannedQsoSink& sink);

// ---- The program-wide names, over the functions above --------------------
// The criteria in AwardFilter, the results in the tables below, the date of
// the QSO under test in CurrentQsoDate.

extern AreaStat AjdStats[kAjdAreaCount];              // by call-area digit
extern AreaStat WajaStats[kPrefectureCount + 1];      // by prefecture number; [0] unused
extern AreaStat AreaStats[kAreaTableSize];            // by JccTable/JcgTable position
extern int32_t CurrentQsoDate;

// Where TallyAjd, TallyWaja and TallyJccJcg show "the library cannot be
// loaded" and "the log cannot be opened"; the program sets it at its start,
// null shows nothing.
extern void (*AwardMessageSink)(const char* text);

int CheckQsoDate(const char* date);
bool IsBandSelected(const char* freq);   // through the bound library's band lookup
bool IsModeSelected(const char* mode);
// The lookup of AreaCodeIndex in the table of AwardFilter.AwardKind; -1 for
// a kind that has none.
int FindAreaEntry(const char* code);
void AddQso(AreaStat& stat, const char* qsl);

// Complete scans of the log through the library under AwardFilter. false
// when the library cannot be loaded (the message has gone to
// AwardMessageSink and the table is untouched), true otherwise.
bool TallyAjd();
bool TallyWaja();
bool TallyJccJcg();   // AwardKind Jcc or Jcg picks the table
