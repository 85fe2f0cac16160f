// The area lookup: every QSO of one JCC or JCG area (or an AJD call area or
// a WAJA prefecture), and whether the area is still needed, by band and
// mode. The area is named by a code typed in the call box, by a listed
// QSO's code, or by a row of the award results. Which QSOs belong to the
// area and which of them count is the award tally's own rule
// (AwardAreaRule); this file only gathers and words the answer. Window-free.
#pragma once
#include <cstdint>
#include <string>

#include "awards/AwardFilter.h"
#include "awards/AwardTally.h"
#include "checkwin/QsoRows.h"
#include "checkwin/WorkedSummary.h"
#include "logstore/AreaMaster.h"

// An area of an award, or a code that neither table holds.
struct AreaTarget {
    int32_t Kind = 0;    // Ajd, Waja, Jcc or Jcg; 0: in neither table
    int Area = -1;       // the area index in that award
    std::string Code;    // in neither table: the code looked for, blanks dropped
};

// Whether a text typed in the call box is a JCC or JCG code as the master
// writes it: 4 digits (a city), 6 digits (a ward), 5 digits (a county), or
// 5 digits and a letter (a town). No call sign is all digits.
bool IsAreaCodeText(const char* text);

// The area of such a text: a city or a ward of JccTable (a ward the table
// does not hold is looked up as its city), a county of JcgTable (a town as
// its county); otherwise the text itself, in neither table.
AreaTarget AreaOfTypedCode(const char* text, const AreaEntry* jcc, const AreaEntry* jcg);

// The area a QSO's code and date count for under the tally's rule: JCC when
// the code comes to an entry of JccTable, otherwise JCG; a code in neither
// table is the code itself, blanks dropped (empty for a QSO without code).
AreaTarget AreaOfQsoCode(const char* code, const char* date, const AreaEntry* jcc, const AreaEntry* jcg);

// The code text of an area as the call box and titles show it: the entry's
// code without its blanks, the AJD digit, the two WAJA digits; in neither
// table the code looked for.
std::string AreaCodeText(const AreaTarget& target, const AreaEntry* table);
// The area's name: the entry's name as it stands (its deletion mark kept,
// trailing blanks dropped), the prefecture's name, "" for an AJD area.
std::string AreaNameText(const AreaTarget& target, const AreaEntry* table);
// "<code> <name>", the drill-down window's caption; "AJD 1" for a call area.
std::string AreaCaption(const AreaTarget& target, const AreaEntry* table);

// What one pass over the log found for an area.
struct AreaQsos {
    int Listed = 0;            // rows added
    int Counting = 0;          // of them, the QSOs that count for the award
    WorkedSummary Summary;     // from the counting QSOs alone
    bool LogOpened = true;
};

// One pass over `source`: every QSO of the area appended to `rows` in record
// order (a deleted area's QSOs after its deletion month too: they are the
// operator's QSOs), the counting ones gathered into the summary. Under
// `criteria` only what the award check counts (null: the whole log); band
// 0..13 keeps only that band's QSOs (-1: all). An area in neither table
// lists the QSOs whose code, blanks dropped, is exactly the code looked for.
AreaQsos ListAreaQsos(const AreaTarget& target, const AreaEntry* table, const AwardCriteria* criteria, int band,
                      QsoSource& source, QsoRows& rows);

// The status bar after an area lookup: "JCC 1001 <name>  Cfm B…  Wkd B…  /
// Cfm M…  Wkd M…", with "未交信" in place of the summary when no QSO counts;
// "JCC/JCG の表にない番号です" for a code in neither table.
std::string AreaStatusText(const AreaTarget& target, const AreaEntry* table, const AreaQsos& found);
extern const char kNotInAreaTablesText[];   // "JCC/JCG の表にない番号です"
extern const char kNotWorkedText[];         // "未交信"
extern const char kMasterCannotBeLoadedText[];   // "vireon.mst を読み込めません"

// The main window's area lookup through the logging library: bound for the
// time of it, the master read into JccTable and JcgTable, the area found
// (a typed code, or a listed QSO's code and date), one pass over the log.
enum class AreaLookupOutcome { Done, LibraryMissing, MasterCannotBeLoaded, LogCannotBeOpened };
struct AreaRequest {
    bool FromQso = false;   // false: `Code` was typed; true: a QSO's `Code` and `Date`
    std::string Code, Date;
};
struct AreaLookupResult {
    AreaTarget Target;
    std::string BoxText;   // what the call box shows afterwards
    std::string Status;
    int Listed = 0;
};
AreaLookupOutcome RunAreaLookup(const AreaRequest& request, QsoRows& rows, AreaLookupResult* result);

// The area a row of the award results or of the band grid stands for, from
// the text of its code column (the AJD digit, the two WAJA digits or the
// prefecture's name, the JCC/JCG code as stored); Kind 0 for any other row.
AreaTarget AreaOfAwardRow(int32_t kind, const AreaEntry* table, const char* codeText);
