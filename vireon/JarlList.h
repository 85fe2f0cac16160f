// Reading JARL's published JCC, JCG and ward lists (Shift_JIS text).
#pragma once
#include <string>
#include <vector>

#include "vireon/Store.h"

namespace vireon {

struct JarlEntry {
    std::string Code;       // 4 to 6 digits
    std::string Roman;      // romanised name
    std::string Name;       // CP932 name as listed
    bool Deleted = false;
    int DeletedYear = 0;    // 0 when the list gives no readable date
    int DeletedMonth = 0;
    int Line = 0;
};

struct JarlList {
    std::vector<JarlEntry> Entries;
    std::vector<std::string> Problems;   // lines with a code that could not be read
};

// Every line with a code: "[*] CODE ROMAN NAME ["DATE"]" (JCC, JCG), or
// "CODE[※]ROMAN NAME ERA-DATE" (wards). Dates may be irregular:
// "Nov. 30,1973", "Jan.31.1967", "Jan,9,2006", "Sept.30,2007", a missing
// closing quote; ward dates are in the Japanese era calendar.
JarlList ParseJarlList(const std::string& bytes);

// The master entry of a list entry: the code, and the name with the deletion
// mark "*YY/MM" appended when deleted (cut so that the whole fits 28 bytes).
MasterEntry ToMasterEntry(const JarlEntry& e);

}  // namespace vireon
