#include "awards/AwardList.h"

#include <cstdio>
#include <cstring>

ListSortState InitialAwardSortState() { return ListSortState{1, 0, -1, -1, -1, -1, -1, -1}; }

ListSortState ColumnSortState = InitialAwardSortState();

namespace {

// The sort rule of every column is ColumnSortState's, shared by the kinds.
const ListColumn kAjdColumns[] = {
    {"C/W", 35, ColumnAlign::Left, 1},
    {"ｴﾘｱ", 33, ColumnAlign::Right, 0},
    {"初回交信日", 83, ColumnAlign::Right, -1},
    {"最終交信日", 83, ColumnAlign::Right, -1},
    {"回数", 50, ColumnAlign::Right, -1},
};

const ListColumn kWajaColumns[] = {
    {"C/W", 35, ColumnAlign::Left, 1},
    {"都道府県", 70, ColumnAlign::Left, 0},
    {"初回交信日", 83, ColumnAlign::Left, -1},
    {"最終交信日", 83, ColumnAlign::Left, -1},
    {"回数", 50, ColumnAlign::Right, -1},
};

const ListColumn kAreaColumns[] = {
    {"No", 35, ColumnAlign::Right, 1},
    {"C/W", 35, ColumnAlign::Right, 0},
    {"Code", 55, ColumnAlign::Left, -1, true},
    {"Qth", 210, ColumnAlign::Left, -1},
    {"初回交信日", 83, ColumnAlign::Left, -1},
    {"最終交信日", 83, ColumnAlign::Left, -1},
    {"回数", 50, ColumnAlign::Right, -1},
};

// The first date, last date (only when it differs) and count of one
// AreaStat as the next three cells of the row.
void AddDateAndCountCells(ListRows& rows, const AreaStat& s) {
    char cell[kAwardCellSize];
    FormatListDate(s.FirstDate, cell);
    rows.AddCell(cell);
    if (s.LastDate != s.FirstDate)
        FormatListDate(s.LastDate, cell);
    else
        cell[0] = '\0';
    rows.AddCell(cell);
    std::snprintf(cell, sizeof cell, "%d", static_cast<int>(s.QsoCount));
    rows.AddCell(cell);
}

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

const ListColumn* AwardColumns(int32_t kind) {
    switch (kind) {
    case Ajd: return kAjdColumns;
    case Waja: return kWajaColumns;
    case Jcc:
    case Jcg: return kAreaColumns;
    default: return nullptr;
    }
}

const ListColumn* AwardColumnAt(int32_t kind, int column) {
    if (column < 0 || column >= AwardColumnCount(kind)) return nullptr;
    return &AwardColumns(kind)[column];
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

void BuildAwardRows(const AwardCriteria& criteria, const AwardStatistics& stats, const AreaEntry* table,
                    ListRows& rows) {
    const int32_t kind = criteria.AwardKind;
    rows.Reset(AwardColumnCount(kind));
    char cell[kAwardCellSize];
    for (int area : AwardAreaOrder(kind, table)) {
        const AreaStat& s = stats.Areas[area];
        switch (kind) {
        case Ajd:
            rows.AddRow();
            rows.AddCell(QslStateText(s.QslState));
            std::snprintf(cell, sizeof cell, "%d", area);
            rows.AddCell(cell);
            break;
        case Waja:
            rows.AddRow();
            rows.AddCell(QslStateText(s.QslState));
            rows.AddCell(PrefectureTable[area - 1].Name, kAwardCellSize - 1);
            break;
        default: {
            const AreaEntry& entry = table[area];
            if (!AreaEntryGetsRow(entry, s, criteria.ShowUnworked, criteria.ShowFullList, criteria.StartDate))
                continue;
            rows.AddRow();
            std::snprintf(cell, sizeof cell, "%4d", rows.Count());
            rows.AddCell(cell);
            rows.AddCell(QslStateText(s.QslState));
            rows.AddCell(entry.Code, sizeof entry.Code - 1);
            rows.AddCell(entry.Name, sizeof entry.Name - 1);
            break;
        }
        }
        AddDateAndCountCells(rows, s);
    }
}
