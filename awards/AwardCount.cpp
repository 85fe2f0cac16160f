#include "awards/AwardCount.h"

#include <cstdio>

#include "awards/AwardList.h"
#include "logstore/LoggerLibrary.h"

namespace {

bool Has(uint16_t bands, int band) { return (bands >> band) & 1u; }

std::string Format(const char* format, int value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

void AreaTexts(int32_t kind, const AreaEntry* table, int area, std::string* code, std::string* qth) {
    switch (kind) {
    case Ajd:
        *code = Format("%d", area);
        qth->clear();
        break;
    case Waja:
        *code = Format("%02d", area);
        *qth = PrefectureTable[area - 1].Name;
        break;
    default:
        *code = std::string(table[area].Code, WholeCp932Length(table[area].Code, sizeof table[area].Code - 1));
        *qth = std::string(table[area].Name, WholeCp932Length(table[area].Name, sizeof table[area].Name - 1));
        break;
    }
}

const char* AwardName(int32_t kind) {
    switch (kind) {
    case Ajd: return "AJD";
    case Waja: return "WAJA";
    case Jcc: return "JCC";
    case Jcg: return "JCG";
    default: return "";
    }
}

AwardTotals CountAward(const AwardStatistics& stats, const AreaEntry* table) {
    AwardTotals totals;
    for (int area : AwardAreaOrder(stats.Kind, table)) {
        const AreaAward& a = stats.Award[area];
        ++totals.Areas;
        if (a.ConfirmedBands != 0)
            ++totals.Confirmed;
        else if (a.WorkedBands != 0)
            ++totals.WorkedOnly;
        for (int b = 0; b < kBandCount; ++b)
            if (Has(a.ConfirmedBands, b)) ++totals.ConfirmedOnBand[b];
    }
    return totals;
}

AwardLevels LevelsOf(int32_t kind) {
    if (kind == Jcc) return {100, 50, 800};
    if (kind == Jcg) return {100, 50, 500};
    return {0, 0, 0};
}

std::string AwardStatusText(int32_t kind, const AwardTotals& totals) {
    char text[160];
    std::snprintf(text, sizeof text, "Cfm %d  Wkd %d  全 %d", totals.Confirmed, totals.WorkedOnly, totals.Areas);
    std::string status = text;
    const AwardLevels levels = LevelsOf(kind);
    const char* name = AwardName(kind);
    if (levels.Last > 0) {
        if (totals.Confirmed >= levels.Last) {
            std::snprintf(text, sizeof text, "  %s-%d 達成", name, levels.Last);
        } else {
            int next = levels.First;
            while (next <= totals.Confirmed) next += levels.Step;
            std::snprintf(text, sizeof text, "  %s-%d まで %d", name, next, next - totals.Confirmed);
        }
        status += text;
    } else if (totals.Areas > 0 && totals.Confirmed >= totals.Areas) {
        status += std::string("  ") + name + " 達成";
    }
    return status;
}

std::vector<ListColumn> BandGridColumns(const AwardCriteria& criteria) {
    std::vector<ListColumn> columns = {{"No", 35, ColumnAlign::Right, -1},
                                       {"Code", 55, ColumnAlign::Left, -1, true},
                                       {"Qth", 150, ColumnAlign::Left, -1}};
    for (int b = 0; b < kBandCount; ++b)
        if (criteria.BandSelected[b]) columns.push_back({BandName(b), 40, ColumnAlign::Right, -1});
    return columns;
}

void BuildBandGridRows(const AwardCriteria& criteria, const AwardStatistics& stats, const AreaEntry* table,
                       ListRows& rows) {
    std::vector<int> bands;
    for (int b = 0; b < kBandCount; ++b)
        if (criteria.BandSelected[b]) bands.push_back(b);
    rows.Reset(3 + static_cast<int>(bands.size()));
    const bool areaList = stats.Kind == Jcc || stats.Kind == Jcg;
    int shown = 0;
    for (int area : AwardAreaOrder(stats.Kind, table)) {
        if (areaList && !AreaEntryGetsRow(table[area], stats.Areas[area], criteria.ShowUnworked,
                                          criteria.ShowFullList, criteria.StartDate))
            continue;
        std::string code, qth;
        AreaTexts(stats.Kind, table, area, &code, &qth);
        rows.AddRow();
        rows.AddCell(Format("%4d", ++shown).c_str());
        rows.AddCell(code.c_str());
        rows.AddCell(qth.c_str());
        const AreaAward& a = stats.Award[area];
        for (int b : bands) rows.AddCell(Has(a.ConfirmedBands, b) ? "C" : Has(a.WorkedBands, b) ? "W" : "");
    }
    const AwardTotals totals = CountAward(stats, table);
    rows.AddRow();
    rows.AddCell("計");
    rows.AddCell("");
    rows.AddCell("");
    for (int b : bands) rows.AddCell(std::to_string(totals.ConfirmedOnBand[b]).c_str());
}
