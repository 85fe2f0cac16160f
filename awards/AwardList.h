// What the award result list shows, without the window: the columns of each
// award kind, which rows the statistics give and the text of every cell.
// The rows go into a ListRows; sorting them is the list's own.
#pragma once
#include <cstdint>

#include "awards/AwardTally.h"
#include "lists/ListRows.h"

constexpr int kAwardMaxColumns = 7;
// Column count of an award kind (5 for AJD and WAJA, 7 for JCC and JCG, 0
// for any other value), its columns, and column i alone (null outside).
int AwardColumnCount(int32_t kind);
const ListColumn* AwardColumns(int32_t kind);
const ListColumn* AwardColumnAt(int32_t kind, int column);

// Cell texts of one AreaStat, the same for every kind.
constexpr int kAwardCellSize = 32;    // room for a 28-character name and a NUL
const char* QslStateText(int32_t qslState);                          // "Cfm", "Wkd" or ""
void FormatListDate(int32_t yyyymmdd, char text[kAwardCellSize]);    // "" or YYYY/MM/DD

// Which entries of an area table get a row, with s the entry's AreaStat:
// - full list (showUnworked 0, showFullList 1): every entry not deleted
//   before the start month (startDate 0, DeletedYm 0, or DeletedYm >=
//   startDate / 100), Hidden ignored; any other entry as for worked areas;
// - worked areas (showUnworked 0): Hidden 0 and s worked or confirmed;
// - unworked areas (showUnworked 1, showFullList 0): Hidden 0 and s not worked;
// - both options: no row.
bool AreaEntryGetsRow(const AreaEntry& entry, const AreaStat& stat, int32_t showUnworked,
                      int32_t showFullList, int32_t startDate);

// The rows of the statistics of a tally under the criteria (kind, the two
// list options, the start date): AJD ten rows for the areas 1..9 then 0,
// WAJA 47 rows, JCC/JCG the entries of `table` that AreaEntryGetsRow
// admits, numbered "%4d" from 1. Another kind gives no rows. `rows` is
// reset to the kind's columns first.
void BuildAwardRows(const AwardCriteria& criteria, const AwardStatistics& stats, const AreaEntry* table,
                    ListRows& rows);

// Per column 0..7: -1 a click does nothing, 0 the next click sorts
// ascending, 1 descending. Shared by every result list and kind for the
// whole run; starts as {1, 0, -1, -1, -1, -1, -1, -1}.
constexpr int kSortColumns = 8;
extern ListSortState ColumnSortState;
ListSortState InitialAwardSortState();
