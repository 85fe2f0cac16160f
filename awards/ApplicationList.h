// The list JARL asks for with an award application: one line per area
// confirmed for the award, in the award's order, with the first confirmed
// QSO the award accepts. The search counted those QSOs by their record
// numbers; the texts of each line are read back from the log by that number
// when the list is written. The logging program runs beside this one and
// may add, delete or re-sort records in between, so every QSO read back is
// checked against what the search counted, and the search is run again
// when the log has changed: a line never joins two QSOs. Window-free.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "awards/AwardTally.h"

// One line of the application list before its QSO is read back.
struct ApplicationEntry {
    int Area;          // area index
    std::string Code;  // AJD the digit, WAJA two digits, JCC/JCG the code without its blank padding
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

enum class ReadBackOutcome {
    Done,               // every entry's QSO read, each the one the search counted
    LogChanged,         // the record count differs, or a record is not the QSO counted
    LibraryMissing,
    LogCannotBeOpened,  // the log cannot be opened or counted
};
// The QSOs of the entries of `stats` (a search of kind `stats.Kind` over
// `table`), read back from the log through the library by their record
// numbers. A record is the QSO the search counted when the log still has
// stats.RecordCount records and the record is confirmed and has the entry's
// date, area (under the award's own rules) and band.
ReadBackOutcome ReadApplicationQsos(const AwardStatistics& stats, const AreaEntry* table,
                                    const std::vector<ApplicationEntry>& entries, std::vector<ApplicationQso>* qsos);

// The application list of the search `stats` made under `criteria`, as the
// log stands now. When the log has changed since, the search is run again
// and *stats replaced by its result (*searchedAgain set), a few times at
// most while the log keeps changing. Done with the entries and their QSOs;
// LibraryMissing, or LogCannotBeOpened when the log cannot be read (or will
// not hold still), with *stats as it was and nothing in the lists.
TallyOutcome ReadApplicationList(const AwardCriteria& criteria, const AreaEntry* table, AwardStatistics* stats,
                                 std::vector<ApplicationEntry>* entries, std::vector<ApplicationQso>* qsos,
                                 bool* searchedAgain);

// The file: "No,Code,Qth,Call,Date,Time,Band,Mode" and a line per entry,
// numbered from 1, the date as YYYY/MM/DD, the band by its name; CR LF line
// ends, fields quoted as CSV wants. qsos[i] belongs to entries[i].
std::string ApplicationListCsv(const std::vector<ApplicationEntry>& entries, const std::vector<ApplicationQso>& qsos);
