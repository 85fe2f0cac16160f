// Binding of the logging program's library, vireon50.dll, at run time.
// Every user action that touches the log binds it at its start and releases
// it at its end.
#pragma once
#include "logstore/Bands.h"
#include "logstore/LibraryContract.h"

#define VIREON_API VIREON_CALL

using PfnSetDbsShare = int(VIREON_API*)(int share);
using PfnVireonOpen = int(VIREON_API*)(int mode, void* logHandle, const char* name, int flags);
using PfnVireonClose = int(VIREON_API*)(void* logHandle, int flags);
using PfnKvxReadv = int(VIREON_API*)(void* logHandle, int recNo, void* record);
using PfnKvxSeek = int(VIREON_API*)(void* logHandle, char* text, int size);
using PfnIdxOpen = int(VIREON_API*)(const char* name, void* indexHandle);
using PfnIdxClose = int(VIREON_API*)(void* indexHandle);
using PfnIdxSearch = int(VIREON_API*)(void* indexHandle, const char* key, int length);
using PfnIdxNext = int(VIREON_API*)(void* indexHandle);
using PfnDbfOpen = int(VIREON_API*)(const char* name, void* masterHandle);
using PfnDbfRead = int(VIREON_API*)(void* masterHandle, int recNo, void* record);
using PfnDbfClose = int(VIREON_API*)(void* masterHandle);
using PfnFreqPCheck = int(VIREON_API*)(const char* freq);
// Resolved but never called by the program; their argument lists are the
// library's own.
using PfnUnused = int(VIREON_API*)();

// The bound library and its table of resolved entry points. A name that does
// not resolve leaves its slot null; the operations never call through a null
// slot and fail the way they fail for a missing library instead.
struct LoggerLibrary {
    void* Module = nullptr;
    PfnVireonOpen VireonOpen = nullptr;
    PfnVireonClose VireonClose = nullptr;
    PfnKvxReadv KVX_readv = nullptr;
    PfnUnused DbsDbrOpen = nullptr;
    PfnUnused DbsDbrClose = nullptr;
    PfnUnused DbsDbrRead = nullptr;
    PfnUnused dbf_create = nullptr;
    PfnDbfOpen dbf_open = nullptr;
    PfnDbfClose dbf_close = nullptr;
    PfnUnused DB_append = nullptr;
    PfnDbfRead dbf_read = nullptr;
    PfnUnused QSL_Rcv = nullptr;
    PfnUnused QSL_Send = nullptr;
    PfnKvxSeek KVX_seek = nullptr;
    PfnUnused KVX_top = nullptr;
    PfnUnused idx_top = nullptr;
    PfnUnused idx_bottom = nullptr;
    PfnIdxSearch idx_search = nullptr;
    PfnIdxOpen idx_open = nullptr;
    PfnIdxClose idx_close = nullptr;
    PfnIdxNext idx_next = nullptr;
    PfnFreqPCheck FreqPCheck = nullptr;
    PfnSetDbsShare SetDbsShare = nullptr;
};

extern LoggerLibrary TheLoggerLibrary;

// 0 when "vireon50.dll" was loaded (its names resolved in the library's
// order), -1 when it could not be loaded (nothing resolved).
int LoadLoggerLibrary();
// Releases the library and empties every slot, so nothing can call into a
// released library.
void FreeLoggerLibrary();
// Any further export of the bound library by name (null when unbound or
// absent); diagnostics use it, the program's operations do not.
void* FindLoggerEntry(const char* name);
// Band index 0..13 of a frequency text in MHz, or -1 for no band: whatever
// the library answers outside 0..13, a missing entry point and a null text
// all give -1.
int BandOfFrequency(const char* freq);
