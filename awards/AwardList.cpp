#include "awards/AwardList.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "awards/AwardFilter.h"

int32_t ColumnSortState[kSortColumns] = {1, 0, -1, -1, -1, -1, -1, -1};

namespace {

const AwardColumn kAjdColumns[] = {
    {"C/W", 35, ColumnAlign::Left},
    {"ｴﾘｱ", 33, ColumnAlign::Right},
    {"初回交信日", 83, ColumnAlign::Right},
    {"最終交信日", 83, ColumnAlign::Right},
    {"回数", 50, ColumnAlign::Right},
};

const AwardColumn kWajaColumns[] = {
    {"C/W", 35, ColumnAlign::Left},
    {"都道府県", 70, ColumnAlign::Left},
    {"初回交信日", 83, ColumnAlign::Left},
    {"最終交信日", 83, ColumnAlign::Left},
    {"回数", 50, ColumnAlign::Right},
};

const AwardColumn kAreaColumns[] = {
    {"No", 35, ColumnAlign::Right},
    {"C/W", 35, ColumnAlign::Right},
    {"Code", 55, ColumnAlign::Left},
    {"Qth", 210, ColumnAlign::Left},
    {"初回交信日", 83, ColumnAlign::Left},
    {"最終交信日", 83, ColumnAlign::Left},
    {"回数", 50, ColumnAlign::Right},
};

void CopyCell(char* cell, const char* text, size_t maxLength) {
    size_t n = 0;
    while (n < maxLength && n + 1 < kAwardCellSize && text[n] != '\0') {
        cell[n] = text[n];
        ++n;
    }
    cell[n] = '\0';
}

// The QSL state, first date, last date (only when it differs) and count of
// one AreaStat into four cells.
void FillStatCells(const AreaStat& s, char* state, char* first, char* last, char* count) {
    CopyCell(state, QslStateText(s.QslState), 3);
    FormatListDate(s.FirstDate, first);
    if (s.LastDate != s.FirstDate)
        FormatListDate(s.LastDate, last);
    else
        last[0] = '\0';
    std::snprintf(count, kAwardCellSize, "%d", static_cast<int>(s.QsoCount));
}

AwardListRow& NewRow(AwardListRows& rows) {
    AwardListRow& row = rows.Rows[rows.Count];
    std::memset(&row, 0, sizeof row);
    row.Id = rows.Count;
    rows.Rank[rows.Count] = rows.Count;
    ++rows.Count;
    return row;
}

// Scratch for reordering; the list shows one set of rows at a time.
int32_t SortOrder[kAwardMaxRows];
AwardListRow SortScratch[kAwardMaxRows];

}  // namespace

int AwardColumnCount(int32_t kind) {
    switch (kind) {
    case Ajd: return 5;
    case Waja: return 5;
    case Jcc:
    case Jcg: return 7;
    default: return 0;
    }
}

const AwardColumn* AwardColumnAt(int32_t kind, int column) {
    if (column < 0 || column >= AwardColumnCount(kind)) return nullptr;
    switch (kind) {
    case Ajd: return &kAjdColumns[column];
    case Waja: return &kWajaColumns[column];
    default: return &kAreaColumns[column];
    }
}

const char* QslStateText(int32_t qslState) {
    if (qslState == 2) return "Cfm";
    if (qslState == 1) return "Wkd";
    return "";
}

void FormatListDate(int32_t yyyymmdd, char text[kAwardCellSize]) {
    if (yyyymmdd == 0) {
        text[0] = '\0';
        return;
    }
    char digits[kAwardCellSize];
    const int n = std::snprintf(digits, sizeof digits, "%06d", static_cast<int>(yyyymmdd));
    // "/" goes after the fourth and after the sixth digit; a number of fewer
    // than seven characters (a date that is not YYYYMMDD) gets only the
    // slashes its length has room for.
    int out = 0;
    for (int i = 0; i < n && out + 1 < kAwardCellSize; ++i) {
        if ((i == 4 || i == 6) && out + 2 < kAwardCellSize) text[out++] = '/';
        text[out++] = digits[i];
    }
    text[out] = '\0';
}

bool AreaEntryGetsRow(const AreaEntry& entry, const AreaStat& stat, int32_t showUnworked,
                      int32_t showFullList, int32_t startDate) {
    if (showUnworked == 0 && showFullList == 1) {
        if (startDate == 0 || entry.DeletedYm == 0 || entry.DeletedYm >= startDate / 100)
            return true;
        // deleted before the start month: listed only as a worked area
    }
    if (showUnworked == 0) return entry.Hidden == 0 && (stat.QslState == 1 || stat.QslState == 2);
    if (showFullList == 0) return entry.Hidden == 0 && stat.QslState == 0;
    return false;
}

void BuildAwardRows(int32_t kind, int32_t showUnworked, int32_t showFullList, int32_t startDate,
                    AwardListRows& rows) {
    rows.Kind = kind;
    rows.ColumnCount = AwardColumnCount(kind);
    rows.Count = 0;
    switch (kind) {
    case Ajd:
        for (int i = 0; i < kAjdAreaCount; ++i) {
            const int area = (i + 1) % kAjdAreaCount;   // 1..9, then 0
            AwardListRow& row = NewRow(rows);
            std::snprintf(row.Cells[1], kAwardCellSize, "%d", area);
            FillStatCells(AjdStats[area], row.Cells[0], row.Cells[2], row.Cells[3], row.Cells[4]);
        }
        break;
    case Waja:
        for (int number = 1; number <= kPrefectureCount; ++number) {
            AwardListRow& row = NewRow(rows);
            CopyCell(row.Cells[1], PrefectureTable[number - 1].Name, kAwardCellSize);
            FillStatCells(WajaStats[number], row.Cells[0], row.Cells[2], row.Cells[3], row.Cells[4]);
        }
        break;
    case Jcc:
    case Jcg: {
        const AreaEntry* table = kind == Jcc ? JccTable : JcgTable;
        for (int i = 0; i < kAreaTableSize && table[i].Code[0] != '\0'; ++i) {
            const AreaEntry& entry = table[i];
            const AreaStat& stat = AreaStats[i];
            if (!AreaEntryGetsRow(entry, stat, showUnworked, showFullList, startDate)) continue;
            AwardListRow& row = NewRow(rows);
            std::snprintf(row.Cells[0], kAwardCellSize, "%4d", static_cast<int>(rows.Count));
            CopyCell(row.Cells[2], entry.Code, sizeof entry.Code - 1);
            CopyCell(row.Cells[3], entry.Name, sizeof entry.Name - 1);
            FillStatCells(stat, row.Cells[1], row.Cells[4], row.Cells[5], row.Cells[6]);
        }
        break;
    }
    default:
        break;
    }
}

void BuildAwardRows(AwardListRows& rows) {
    BuildAwardRows(AwardFilter.AwardKind, AwardFilter.ShowUnworked, AwardFilter.ShowFullList,
                   AwardFilter.StartDate, rows);
}

int CompareCellText(const char* a, const char* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    while (*p != 0 && *p == *q) {
        ++p;
        ++q;
    }
    return static_cast<int>(*p) - static_cast<int>(*q);
}

bool SortAwardRows(AwardListRows& rows, int column) {
    if (column < 0 || column >= kSortColumns) return false;
    const int32_t state = ColumnSortState[column];
    if (state != 0 && state != 1) return false;
    const bool descending = state == 1;
    const int count = rows.Count;
    // Cells past the kind's columns are empty, so every row compares equal.
    const int cell = column < kAwardMaxColumns ? column : -1;
    for (int i = 0; i < count; ++i) SortOrder[i] = i;
    std::sort(SortOrder, SortOrder + count, [&](int32_t x, int32_t y) {
        if (cell >= 0) {
            int c = CompareCellText(rows.Rows[x].Cells[cell], rows.Rows[y].Cells[cell]);
            if (descending) c = -c;
            if (c != 0) return c < 0;
        }
        return x < y;   // equal texts keep their order
    });
    for (int i = 0; i < count; ++i) SortScratch[i] = rows.Rows[SortOrder[i]];
    for (int i = 0; i < count; ++i) {
        rows.Rows[i] = SortScratch[i];
        rows.Rank[rows.Rows[i].Id] = i;
    }
    ColumnSortState[column] = descending ? 0 : 1;
    return true;
}
