// The JCC (city) and JCG (county) tables read from the logging program's
// master file, and the rules that turn a QSO's location code into the code
// by which an area is counted.
#pragma once
#include <cstdint>

constexpr int kAreaTableSize = 1000;
constexpr int kMasterHandleSize = 284;
constexpr int kMasterRecordSize = 56;

struct AreaEntry {
    char Code[7];       // 6 code characters as stored, then NUL
    char Name[29];      // first 28 name characters, then NUL
    int32_t DeletedYm;  // YYYYMM of deletion, 0 = not deleted
    int32_t Hidden;     // nonzero leaves the entry out of worked/unworked lists
};
static_assert(sizeof(AreaEntry) == 44, "AreaEntry is 44 bytes");

extern AreaEntry JccTable[kAreaTableSize];
extern AreaEntry JcgTable[kAreaTableSize];
extern unsigned char MasterHandle[kMasterHandleSize];

// Empties both tables and fills them from "vireon.mst" through the bound
// library. -1 when the file cannot be opened (tables empty), when a record
// cannot be read (the entries stored so far stay), when the file holds no
// JCC and no JCG entry, or when the library lacks the master entry points
// (tables empty).
int LoadAreaMaster();

// Which table a master record's code belongs in.
enum class MasterCodeKind { Skip, Jcc, Jcg };
// code: the record's 6 code characters; a NUL ends them early, and the
// characters after it count as absent.
MasterCodeKind ClassifyMasterCode(const char* code);

// YYYYMM of the deletion mark "*YY/MM" in the first 28 characters of the
// name, or 0: no '*', or no '/' after it (no readable date: not deleted).
int ParseDeletionMark(const char* name);
// code: the 7-byte Code field of the shared record, 6 characters and a NUL
// (rewritten in place, and then always ended by a NUL at position 6);
// dateDigits: YYMMDD as taken by TakeDateDigits, possibly shorter.
// 3 = a city, kept; 7 = a Tokyo ward inside the ward period (April 2010 to
// January 2030), kept; 8 = a ward, rewritten to its city; 0 = none of these.
int NormalizeJccCode(char* code, const char* dateDigits);
// 4 = a county, kept; 9 = a town, rewritten to its county; 0 = neither.
int NormalizeJcgCode(char* code);
