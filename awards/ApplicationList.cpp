#include "awards/ApplicationList.h"

#include <cstring>
#include <iterator>

#include "awards/AwardCount.h"
#include "awards/AwardList.h"
#include "lists/ListRows.h"
#include "logstore/Bands.h"
#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"
#include "logstore/QsoRecord.h"

namespace {

// How often the search is run again while the log keeps changing under it.
constexpr int kMostSearchesAgain = 3;

std::string SlashedDate(int32_t yyyymmdd) {
    char text[kAwardCellSize];
    FormatListDate(yyyymmdd, text);
    return text;
}

std::string FieldText(const char* field, size_t size) { return std::string(field, WholeCp932Length(field, size)); }

// Whether the record read back is the QSO the search counted for the entry:
// confirmed, on its band, of its date, and in its area by the tally's rule.
bool IsCountedQso(const AwardAreaRule& rule, const ApplicationEntry& entry, const QsoRecord& record) {
    if (!HasQslReceivedMark(record.QSL)) return false;
    if (BandOfFrequency(RecordText(record.Freq)) != entry.Band) return false;
    int32_t date = 0;
    char digits[7];
    ReadQsoDate(record.Date, &date, digits);
    if (date != entry.Date) return false;
    // The rule rewrites a copy of the code, as the tally's scan does.
    char code[sizeof record.Code];
    std::memcpy(code, record.Code, sizeof code);
    const QsoArea area = rule.AreaOf(code, digits, date);
    return area.Area == entry.Area && area.Accepted;
}

}  // namespace

std::vector<ApplicationEntry> ApplicationEntries(const AwardStatistics& stats, const AreaEntry* table) {
    std::vector<ApplicationEntry> entries;
    for (int area : AwardAreaOrder(stats.Kind, table)) {
        const AreaAward& a = stats.Award[area];
        if (a.ConfirmedBands == 0 || a.FirstConfirmedRecNo == 0) continue;
        ApplicationEntry e;
        e.Area = area;
        std::string code;
        AreaTexts(stats.Kind, table, area, &code, &e.Qth);
        // The master pads its codes with blanks; JARL's list has none.
        e.Code = WithoutPadding(code.c_str());
        e.RecNo = a.FirstConfirmedRecNo;
        e.Date = a.FirstConfirmedDate;
        e.Band = a.FirstConfirmedBand;
        entries.push_back(e);
    }
    return entries;
}

ReadBackOutcome ReadApplicationQsos(const AwardStatistics& stats, const AreaEntry* table,
                                    const std::vector<ApplicationEntry>& entries, std::vector<ApplicationQso>* qsos) {
    qsos->clear();
    if (LoadLoggerLibrary() != 0) return ReadBackOutcome::LibraryMissing;
    ReadBackOutcome outcome = ReadBackOutcome::Done;
    const int count = CountLogRecords();
    const bool opened = count >= 0 && OpenLog() == 0;
    if (!opened) {
        outcome = ReadBackOutcome::LogCannotBeOpened;
    } else if (count != stats.RecordCount) {
        outcome = ReadBackOutcome::LogChanged;
    } else {
        const AwardAreaRule rule(stats.Kind, table);
        for (const ApplicationEntry& entry : entries) {
            QsoRecord* record = ReadLogRecord(entry.RecNo);
            if (!record || !IsCountedQso(rule, entry, *record)) {
                outcome = ReadBackOutcome::LogChanged;
                break;
            }
            qsos->push_back({FieldText(record->Call, sizeof record->Call), FieldText(record->Time, sizeof record->Time),
                             RecordText(record->Mode)});
        }
    }
    if (opened) CloseLog();
    FreeLoggerLibrary();
    if (outcome != ReadBackOutcome::Done) qsos->clear();
    return outcome;
}

TallyOutcome ReadApplicationList(const AwardCriteria& criteria, const AreaEntry* table, AwardStatistics* stats,
                                 std::vector<ApplicationEntry>* entries, std::vector<ApplicationQso>* qsos,
                                 bool* searchedAgain) {
    *searchedAgain = false;
    AwardStatistics current = *stats;
    for (int searches = 0;; ++searches) {
        *entries = ApplicationEntries(current, table);
        switch (ReadApplicationQsos(current, table, *entries, qsos)) {
        case ReadBackOutcome::Done:
            if (*searchedAgain) *stats = current;
            return TallyOutcome::Done;
        case ReadBackOutcome::LibraryMissing:
            entries->clear();
            return TallyOutcome::LibraryMissing;
        case ReadBackOutcome::LogCannotBeOpened:
            entries->clear();
            return TallyOutcome::LogCannotBeOpened;
        case ReadBackOutcome::LogChanged:
            break;
        }
        entries->clear();
        if (searches == kMostSearchesAgain) return TallyOutcome::LogCannotBeOpened;
        const TallyOutcome again = TallyLoggerLog(criteria, table, current);
        if (again != TallyOutcome::Done) return again;
        *searchedAgain = true;
    }
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
