// What counts toward an award, from the statistics of one tally: the areas
// confirmed and worked for the award, the next award level, the band grid
// and the list JARL asks for with an application. Window-free.
//
// Every entry of the award's table is an area, existing or deleted; the
// Hidden marks only decide which rows the result list shows and play no
// part here. An area is confirmed for the award when a confirmed QSO the
// award accepts exists (AwardAcceptsQso), worked likewise with any QSO.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "awards/AwardTally.h"
#include "lists/ListRows.h"
#include "logstore/Bands.h"

struct AwardTotals {
    int Confirmed = 0;    // areas confirmed for the award
    int WorkedOnly = 0;   // areas worked for the award but not confirmed
    int Areas = 0;        // areas of the award
    int ConfirmedOnBand[kBandCount] = {};   // areas confirmed for the award on each band
};
AwardTotals CountAward(const AwardStatistics& stats, const AreaEntry* table);

// The award levels: JCC every 50 from 100 to 800, JCG every 50 from 100 to
// 500; AJD and WAJA have one, all their areas.
struct AwardLevels {
    int First, Step, Last;   // Last = 0: the one level is all areas
};
AwardLevels LevelsOf(int32_t kind);

// "Cfm C  Wkd W  全 N", then for JCC and JCG "  JCC-L まで D" (L the next
// level above C) or "  JCC-800 達成" at the highest, for AJD and WAJA
// "  AJD 達成" once every area is confirmed.
std::string AwardStatusText(int32_t kind, const AwardTotals& totals);

// The award's short name: "AJD", "WAJA", "JCC", "JCG" ("" for another kind).
const char* AwardName(int32_t kind);

// One line of the application list before its QSO is read back.
struct ApplicationEntry {
    int Area;          // area index
    std::string Code;  // as the result list shows it (AJD the digit, WAJA two digits)
    std::string Qth;   // the area's name ("" for AJD)
    int32_t RecNo;     // the first confirmed QSO the award accepts
    int32_t Date;      // YYYYMMDD
    int32_t Band;
};
// The areas confirmed for the award, in the award's order.
std::vector<ApplicationEntry> ApplicationEntries(const AwardStatistics& stats, const AreaEntry* table);

// The texts of a QSO read back for the application list.
struct ApplicationQso {
    std::string Call, Time, Mode;
};
// The QSOs of the entries read back from the log through the library, by
// their record numbers, nothing else read: Done, LibraryMissing, or
// LogCannotBeOpened when the log or one of the records cannot be read.
TallyOutcome ReadApplicationQsos(const std::vector<ApplicationEntry>& entries, std::vector<ApplicationQso>* qsos);
// The file: "No,Code,Qth,Call,Date,Time,Band,Mode" and a line per entry,
// numbered from 1, the date as YYYY/MM/DD, the band by its name; CR LF line
// ends, fields quoted as CSV wants. qsos[i] belongs to entries[i].
std::string ApplicationListCsv(const std::vector<ApplicationEntry>& entries, const std::vector<ApplicationQso>& qsos);

// The band grid: its columns (No, Code, Qth, then one per ticked band), and
// its rows: the areas (every area for AJD/WAJA, for JCC/JCG the rows the
// result list shows under the criteria) with "C" (confirmed for the award on
// that band), "W" (worked, not confirmed) or "" per band, then a row "計"
// with each band's count of areas confirmed for the award (over every area).
std::vector<ListColumn> BandGridColumns(const AwardCriteria& criteria);
void BuildBandGridRows(const AwardCriteria& criteria, const AwardStatistics& stats, const AreaEntry* table,
                       ListRows& rows);
