// The check window's rules, without a window: the table of the log's
// distinct calls (each with its number of QSOs, its last date and whether
// any QSO is confirmed), built in one pass over the log, and the query that
// the window runs on every change of the typed text: the calls that contain
// the text, and those one character off it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lists/ListRows.h"
#include "logstore/QsoSource.h"

// ---- The table of distinct calls -----------------------------------------

class CallTable {
public:
    // One distinct call. The call's bytes are kept once, in one block for
    // the whole table; an entry only points into it.
    struct Entry {
        uint32_t TextOffset = 0;
        uint32_t Count = 0;      // QSOs with this call
        uint32_t LastDate = 0;   // YYYYMMDD of the latest QSO, 0 when no date could be read
        uint8_t Length = 0;      // bytes of the call
        bool Confirmed = false;  // a QSO with the QSL received mark
    };

    // Reads every record of the source once, in record order, and keeps only
    // the distinct calls. A record that cannot be read, or has no call, is
    // left out. false, with an empty table, when the log cannot be opened.
    // A log of no records gives an empty table and true.
    bool Build(QsoSource& source);
    void Clear();

    size_t Count() const { return entries_.size(); }
    // Entries are in call order (byte order, as the lists sort).
    const Entry& At(size_t i) const { return entries_[i]; }
    const char* CallOf(const Entry& e) const { return texts_.data() + e.TextOffset; }
    std::string Call(size_t i) const;

    // Bytes the table holds, and how many of them are the calls' own bytes.
    size_t MemoryBytes() const;
    size_t TextBytes() const { return texts_.size(); }

private:
    std::vector<Entry> entries_;
    std::vector<char> texts_;   // every call's bytes, one after another, no NULs
};

// The date digits of a record's Date text as YYYYMMDD, two-digit years as
// the award dates widen them (00-50 are 2000-2050, 51-99 are 1951-1999);
// 0 when the text has no six digits at 0-1, 3-4 and 6-7, or ends before its
// eighth byte.
uint32_t QsoDateNumber(const char* date);

// ---- The query -------------------------------------------------------------

enum class CheckMatchKind : uint8_t {
    BeginsWith,   // the call begins with the text (the text itself included)
    Contains,     // elsewhere in the call
    OneOff,       // one character changed, added or removed
};

struct CheckMatch {
    uint32_t Entry = 0;
    CheckMatchKind Kind = CheckMatchKind::BeginsWith;
};

struct CheckMatches {
    std::vector<CheckMatch> Shown;   // at most the limit, in the order shown
    size_t Total = 0;                // every call that matched
    size_t ContainsTotal = 0;        // of them, those that contain the text
    size_t OneOffTotal = 0;          // and those one off it
    bool Exact = false;              // the first shown call is the text itself
};

constexpr size_t kCheckMinText = 2;         // shorter texts list nothing
constexpr size_t kCheckMinOneOffText = 3;   // from here on the one-off calls too
constexpr size_t kCheckMaxRows = 500;

// Whether `call` is one character off `text`: one byte changed, one byte
// added anywhere, or one byte removed. Equal texts are not.
bool IsOneOff(const char* call, size_t callLength, const char* text, size_t textLength);

// The calls of the table for the text: first those that begin with it, then
// those that contain it elsewhere, then (for a text of 3 or more bytes)
// those one off it that do not contain it; each group in call order. Byte
// comparison, as the call box holds the text. At most `limit` shown; Total
// counts all. A text shorter than 2 bytes matches nothing.
CheckMatches FindCheckMatches(const CallTable& table, const std::string& text, size_t limit = kCheckMaxRows);

// ---- The rows --------------------------------------------------------------

enum CheckColumn { kCheckColumnCall, kCheckColumnCount, kCheckColumnLast, kCheckColumnQsl, kCheckColumnKind,
                   kCheckColumnTotal };
extern const ListColumn CheckColumns[kCheckColumnTotal];

// What a shown row is, for its look.
enum class CheckRowLook : uint8_t { Exact, Contains, OneOff, More };

// Fills `rows` with the matches: the call, its QSOs, its last date as the
// records write it (YY/MM/DD), "Cfm" or "Wkd", and "含む" or "1字違い"; when
// not every match is shown, a last row "ほか %d 件" with the number left out.
// `looks` gets one entry per row.
void FillCheckRows(const CallTable& table, const CheckMatches& matches, ListRows& rows,
                   std::vector<CheckRowLook>& looks);

// What the window's status line says for a query: "" for a text of fewer
// than two characters, "該当なし" when nothing matched, else the numbers:
// "含む %u 件" and, from three characters on, "  1字違い %u 件".
std::string CheckStatusText(const std::string& text, const CheckMatches& matches);

extern const char kCheckNothingFound[];   // "該当なし"
extern const char kCheckLogUnreadable[];  // "ログを読めません"
