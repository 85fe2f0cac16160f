// Reading ADIF 3.1 files in the tagged form (.adi).
#pragma once
#include <string>
#include <vector>

namespace vireon {

struct AdifField {
    std::string Name;    // upper-case
    std::string Value;   // the bytes as in the file
};

struct AdifRecord {
    std::vector<AdifField> Fields;
    int Ordinal = 0;     // 1-based position in the file
    int Line = 0;        // line of its first field
    // The value of the first field of that name (upper-case), or null.
    const std::string* Find(const char* name) const;
};

enum class AdifEncoding { Ascii, Utf8, ShiftJis };

struct AdifFile {
    std::vector<AdifRecord> Records;
    // Fields after the last <EOR> that no <EOR> closed.
    bool UnterminatedTail = false;
    int TailLine = 0;
    // Fields whose length ran past the end of the file.
    int TruncatedFields = 0;
    // Multi-line values whose length only fits with CR LF line ends (the
    // file's line ends were changed to LF); they were read to fit.
    int RemeasuredFields = 0;
    AdifEncoding Encoding = AdifEncoding::Ascii;
};

// Parses the bytes of an .adi file: an optional header up to <EOH> (present
// when the file does not begin with '<'), then fields <NAME:LENGTH[:TYPE]>
// whose LENGTH counts bytes, records ended by <EOR>. Never fails: whatever
// is not a field is skipped.
AdifFile ParseAdif(const std::string& bytes);

}  // namespace vireon
