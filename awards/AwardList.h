// What the award result list shows, without the window: the columns of each
// award kind, which rows the statistics give and the text of every cell,
// and the sort by a column with its per-column state. A list window asks
// for the columns, builds the rows, shows their texts, and on a header click
// asks SortAwardRows to reorder them.
#pragma once
#include <cstdint>

#include "awards/AwardTally.h"

enum class ColumnAlign { Left, Right };

struct AwardColumn {
    const char* Title;   // CP932
    int Width;           // pixels at 96 DPI
    ColumnAlign Align;
};

constexpr int kAwardMaxColumns = 7;
// Column count of an award kind (5 for AJD and WAJA, 7 for JCC and JCG, 0
// for any other value), and column i's title, width and alignment; a column
// number outside the kind's columns gives null.
int AwardColumnCount(int32_t kind);
const AwardColumn* AwardColumnAt(int32_t kind, int column);

// Cell texts of one AreaStat, the same for every kind.
constexpr int kAwardCellSize = 32;    // room for a 28-character name and a NUL
const char* QslStateText(int32_t qslState);                          // "Cfm", "Wkd" or ""
void FormatListDate(int32_t yyyymmdd, char text[kAwardCellSize]);    // "" or YYYY/MM/DD

struct AwardListRow {
    char Cells[kAwardMaxColumns][kAwardCellSize];
    int32_t Id;   // the row's place in the built order, 0-based
};

constexpr int kAwardMaxRows = kAreaTableSize;
struct AwardListRows {
    int32_t Kind;                     // the kind the rows were built for
    int32_t ColumnCount;
    int32_t Count;
    AwardListRow Rows[kAwardMaxRows]; // in display order
    // Rank[id] = the current place of the row built as id; lets a list
    // control that keeps each row's id as item data sort its own items.
    int32_t Rank[kAwardMaxRows];
};

// Which entries of JccTable/JcgTable get a row, with s the entry's AreaStat:
// - full list (showUnworked 0, showFullList 1): every entry not deleted
//   before the start month (startDate 0, DeletedYm 0, or DeletedYm >=
//   startDate / 100), Hidden ignored; any other entry as for worked areas;
// - worked areas (showUnworked 0): Hidden 0 and s worked or confirmed;
// - unworked areas (showUnworked 1, showFullList 0): Hidden 0 and s not worked;
// - both options: no row.
bool AreaEntryGetsRow(const AreaEntry& entry, const AreaStat& stat, int32_t showUnworked,
                      int32_t showFullList, int32_t startDate);

// Fills rows for a kind from the statistics tables (AjdStats, WajaStats,
// AreaStats with JccTable/JcgTable): AJD ten rows for the areas 1..9 then 0,
// WAJA 47 rows, JCC/JCG the entries AreaEntryGetsRow admits, numbered "%4d"
// from 1. Another kind gives no rows.
void BuildAwardRows(int32_t kind, int32_t showUnworked, int32_t showFullList, int32_t startDate,
                    AwardListRows& rows);
// The same from the criteria in AwardFilter.
void BuildAwardRows(AwardListRows& rows);

// Per column 0..7: -1 a click does nothing, 0 the next click sorts
// ascending, 1 descending. Shared by every list and kind for the whole run;
// starts as {1, 0, -1, -1, -1, -1, -1, -1}.
constexpr int kSortColumns = 8;
extern int32_t ColumnSortState[kSortColumns];

// Byte-by-byte text order, bytes as unsigned values, a text before every
// longer text it begins: <0, 0 or >0.
int CompareCellText(const char* a, const char* b);

// A click on column k: when its state is 0 or 1, reorders the rows by the
// column's texts (ascending for 0, descending for 1; equal texts keep their
// relative order), updates Rank, flips the state and returns true. A state
// of -1, or a column outside 0..7, changes nothing and returns false.
bool SortAwardRows(AwardListRows& rows, int column);
