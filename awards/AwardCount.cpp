#include "awards/AwardCount.h"

#include <cstdio>

#include "awards/AwardList.h"
#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"

namespace {

bool Has(uint16_t bands, int band) { return (bands >> band) & 1u; }

std::string Format(const char* format, int value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The Code and Qth texts of an area as the result list shows them.
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

std::string SlashedDate(int32_t yyyymmdd) {
    char text[kAwardCellSize];
    FormatListDate(yyyymmdd, text);
    return text;
}

}  // namespace

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

std::vector<ApplicationEntry> ApplicationEntries(const AwardStatistics& stats, const AreaEntry* table) {
    std::vector<ApplicationEntry> entries;
    for (int area : AwardAreaOrder(stats.Kind, table)) {
        const AreaAward& a = stats.Award[area];
        if (a.ConfirmedBands == 0 || a.FirstConfirmedRecNo == 0) continue;
        ApplicationEntry e;
        e.Area = area;
        AreaTexts(stats.Kind, table, area, &e.Code, &e.Qth);
        e.RecNo = a.FirstConfirmedRecNo;
        e.Date = a.FirstConfirmedDate;
        e.Band = a.FirstConfirmedBand;
        entries.push_back(e);
    }
    return entries;
}

TallyOutcome ReadApplicationQsos(const std::vector<ApplicationEntry>& entries, std::vector<ApplicationQso>* qsos) {
    qsos->clear();
    if (entries.empty()) return TallyOutcome::Done;
    if (LoadLoggerLibrary() != 0) return TallyOutcome::LibraryMissing;
    const bool opened = OpenLog() == 0;
    bool all = opened;
    for (size_t i = 0; all && i < entries.size(); ++i) {
        const QsoRecord* record = ReadLogRecord(entries[i].RecNo);
        if (!record) {
            all = false;
            break;
        }
        qsos->push_back({std::string(record->Call, WholeCp932Length(record->Call, sizeof record->Call)),
                         std::string(record->Time, WholeCp932Length(record->Time, sizeof record->Time)),
                         RecordText(record->Mode)});
    }
    if (opened) CloseLog();
    FreeLoggerLibrary();
    return all ? TallyOutcome::Done : TallyOutcome::LogCannotBeOpened;
}

std::string ApplicationListCsv(const std::vector<ApplicationEntry>& entries, const std::vector<ApplicationQso>& qsos) {
    std::string out = "No,Code,Qth,Call,Date,Time,Band,Mode\r\n";
    for (size_t i = 0; i < entries.size(); ++i) {
        const ApplicationEntry& e = entries[i];
        const ApplicationQso q = i < qsos.size() ? qsos[i] : ApplicationQso{};
        const std::string fields[] = {std::to_string(i + 1), e.Code,    e.Qth,           q.Call,
                                      SlashedDate(e.Date),   q.Time,    BandName(e.Band), q.Mode};
        for (size_t f = 0; f < std::size(fields); ++f) {
            if (f > 0) out += ',';
            out += CsvField(fields[f]);
        }
        out += "\r\n";
    }
    return out;
}

std::vector<ListColumn> BandGridColumns(const AwardCriteria& criteria) {
    std::vector<ListColumn> columns = {{"No", 35, ColumnAlign::Right, -1},
                                       {"Code", 55, ColumnAlign::Left, -1},
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
