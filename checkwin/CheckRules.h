// The call-sign check window's rules that need no window: the lookup key and
// its length rule, the wildcard pattern, the count texts, the QSO list's
// columns and sort order, and what the link sends to the running logger.
// The dialog calls these and does only the window work.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "lists/ListRows.h"

// ---- Exact lookup -------------------------------------------------------

constexpr int kLookupKeyLength = 6;

// The first six characters of the typed call, cut at the first '/':
// JA1ABC/1 -> JA1ABC, JA1AB/3 -> JA1AB, JD1/JA1ABC -> JD1. Writes the key
// with its NUL into `key` and returns its length. A null text gives "".
int FormLookupKey(const char* callText, char (&key)[kLookupKeyLength + 1]);

enum class LookupFilter {
    ByKeyLength,   // Enter / Down arrow
    All,           // command 1001: every hit
};

// Whether a hit of the call index is listed. Its record's Call must begin
// with the key byte for byte (a stale or damaged index may name a record of
// another station; it is skipped). With ByKeyLength, besides, a 6-character
// key lists every such hit and a 5-character key only a record whose Call is
// exactly five characters (JA1AB, not JA1ABC or JA1AB/3); shorter keys list
// nothing. Reads at most six bytes of recordCall and never past its NUL.
bool IsListedHit(LookupFilter filter, const char* key, int keyLength, const char* recordCall);

// ---- Partial search (F3) ------------------------------------------------

constexpr int kPatternLength = 6;
constexpr int kPatternMinFixed = 2;

struct SearchPattern {
    char Text[kPatternLength + 1] = {'?', '?', '?', '?', '?', '?', '\0'};   // '?' = free
    int FixedCount = 0;
};

// Each of the first six characters of the typed text is kept when it is
// allowed at its position (1: J, 7 or a digit; 2: A or D-S; 3: a digit;
// 4-6: A-Z), else the position is free. K1ABC gives ???BC? with 2 fixed.
SearchPattern BuildSearchPattern(const char* typedText);

// Whether a record's Call fits: every fixed position must hold the same
// byte; a fixed position at or past the end of the call never matches.
bool MatchesPattern(const SearchPattern& pattern, const char* recordCall);

// ---- Count texts -------------------------------------------------------

std::string QsoCountText(int count);      // "交信回数 %d 回" (exact lookup)
std::string SearchCountText(int count);   // "検索件数 %d 件" (partial search)

// The message when the window's place and column widths could not be
// stored: "<file> に設定を保存できません".
std::string SettingsNotSavedText(const std::string& fileName);

// ---- QSO list -----------------------------------------------------------

constexpr int kQsoColumnCount = 15;

// Titles, widths (when the settings store none), alignment and the first
// sort direction of the fifteen columns; column i's width is kept under
// the settings key "COLUMN<i>".
extern const ListColumn QsoColumns[kQsoColumnCount];

// Column indexes the link and the worked summary read from a row.
constexpr int kColumnCall = 1;
constexpr int kColumnDate = 2;
constexpr int kColumnFreq = 6;
constexpr int kColumnMode = 7;
constexpr int kColumnCode = 8;
constexpr int kColumnQsl = 10;
constexpr int kColumnName = 11;
constexpr int kColumnQth = 12;

// The record number as the first column shows it: "%6d", so that sorting
// the texts orders the rows by number.
std::string RecordNumberText(int recNo);

// ---- Link with the running logger ---------------------------------------

constexpr uint32_t kLinkCodeCall = 0x20010;      // a call sign; empty clears
constexpr uint32_t kLinkCodeCallAgain = 0x30000; // the same call sign again
constexpr uint32_t kLinkCodeRowCall = 0;
constexpr uint32_t kLinkCodeRowCode = 8;
constexpr uint32_t kLinkCodeRowName = 11;
constexpr uint32_t kLinkCodeRowQth = 12;

// List texts are handed over from a 128-byte buffer: at most this many bytes.
constexpr int kLinkListTextMax = 127;

struct LinkMessage {
    uint32_t Code;
    std::string Bytes;   // exactly the bytes sent, no terminating NUL
    bool operator==(const LinkMessage& o) const { return Code == o.Code && Bytes == o.Bytes; }
};
using LinkMessages = std::vector<LinkMessage>;

// At most maxBytes bytes of the text, never ending inside a double-byte
// character of code page 932 (lead bytes 0x81-0x9F, 0xE0-0xFC).
std::string CutCp932(const char* text, int maxBytes);

// The texts of the first selected row, taken from the list as shown. Take
// them whole (a buffer well over 128 bytes): the cut to 127 bytes is made
// here, where it knows not to split a double-byte character.
struct LinkRow {
    std::string Call, Code, Name, Qth;
};

// Enter and Down arrow: 0x20010 then 0x30000 with the typed text when the
// link is on, the logger is there and the text starts with a character
// other than a blank. Bring the logger to the front (Enter only) when the
// result is not empty.
LinkMessages CallMessages(bool linkOn, bool targetPresent, const char* callText);
// Escape and Tab: one empty 0x20010 when the link is on and the logger is there.
LinkMessages ClearMessages(bool linkOn, bool targetPresent);
// Double-click: the first six characters of the row's call, twice (0x20010,
// 0x30000). row is null when no row is selected.
LinkMessages DoubleClickMessages(bool linkOn, bool targetPresent, const LinkRow* row);
// Right-click: the row's call, code, name and QTH (codes 0, 8, 11, 12),
// each cut to 127 bytes; empty texts are sent too.
LinkMessages RowMessages(bool linkOn, bool targetPresent, const LinkRow* row);
