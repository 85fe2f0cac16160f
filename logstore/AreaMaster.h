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

int LoadAreaMaster();                     // 0 or -1
int ParseDeletionMark(const char* name);  // YYYYMM or 0
// code: the 6 code characters of the shared record (rewritten in place);
// dateDigits: YYMMDD as taken by TakeDateDigits. Returns 0, 3, 7 or 8.
int NormalizeJccCode(char* code, const char* dateDigits);
int NormalizeJcgCode(char* code);         // 0, 4 or 9
