// The program's only way into the QSO log: count, read by number, search by
// call sign through the call index. Plain functions over program-wide
// storage: one log handle, one index handle, one record buffer.
#pragma once
#include <cstdint>
#include "logstore/QsoRecord.h"

constexpr int kLogHandleSize = 3928;
constexpr int kLogCountOffset = 1745;   // 32-bit record count, unaligned
constexpr int kCallIndexHandleSize = 272;
constexpr int kSearchKeySize = 8;
// The library is told this size with every KVX_seek, so the text handed to
// SearchCall must really be this large.
constexpr int kCallSearchTextSize = 528;

using CallSearchText = char[kCallSearchTextSize];

struct CallSearchHit {
    int32_t RecNo = 0;
    int32_t Status = 0;   // 1 = a single record, 2 = further matches may follow
    QsoRecord* Record = nullptr;
};

extern unsigned char LogHandle[kLogHandleSize];
extern unsigned char CallIndexHandle[kCallIndexHandleSize];
extern QsoRecord RecordBuffer;
extern unsigned char SearchKey[kSearchKeySize];

int CountLogRecords();          // record count, or -1
int OpenLog();                  // 0 = open
void CloseLog();
QsoRecord* ReadLogRecord(int recNo);   // the shared buffer, or null
// The log with a call index: the program's copy "call.idx" unless another
// index file is named. 0 or -1; nothing stays open on -1.
int OpenLogWithIndex(const char* indexName = "call.idx");
void CloseLogWithIndex();
// mode 0: first match of the text (at least 5 characters); mode 1: next
// match. The library may rewrite the text.
CallSearchHit* SearchCall(CallSearchText& text, int mode);

// What the windows say when the library is there but cannot open the log
// ("vireon.vdb" missing or damaged) or count its records: a log of 0
// records opens and counts, and is no failure.
extern const char kLogCannotBeOpenedText[];   // "vireon.vdb を開けません"

// Called by FreeLoggerLibrary: whatever was open belonged to the released
// library, so no later close or read may reach it.
void ForgetOpenLogHandles();
