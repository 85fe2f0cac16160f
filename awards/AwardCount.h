// What counts toward an award, from the statistics of one tally: the areas
// confirmed and worked for the award, the next award level and the band
// grid. Window-free.
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

// The band grid: its columns (No, Code, Qth, then one per ticked band), and
// its rows: the areas (every area for AJD/WAJA, for JCC/JCG the rows the
// result list shows under the criteria) with "C" (confirmed for the award on
// that band), "W" (worked, not confirmed) or "" per band, then a row "計"
// with each band's count of areas confirmed for the award (over every area).
// The Code and Qth texts of an area as the result list shows them (AJD the
// digit, WAJA two digits and the prefecture, JCC/JCG the entry's as stored).
void AreaTexts(int32_t kind, const AreaEntry* table, int area, std::string* code, std::string* qth);

std::vector<ListColumn> BandGridColumns(const AwardCriteria& criteria);
void BuildBandGridRows(const AwardCriteria& criteria, const AwardStatistics& stats, const AreaEntry* table,
                       ListRows& rows);
