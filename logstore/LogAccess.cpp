#include "logstore/LogAccess.h"

#include <cstring>

#include "logstore/LoggerLibrary.h"

alignas(16) unsigned char LogHandle[kLogHandleSize];
alignas(16) unsigned char CallIndexHandle[kCallIndexHandleSize];
QsoRecord RecordBuffer;
unsigned char SearchKey[kSearchKeySize];

const char kLogCannotBeOpenedText[] = "vireon.vdb を開けません";

namespace {

// The block CountLogRecords opens and closes again at once.
alignas(16) unsigned char CountHandle[kLogHandleSize];

CallSearchHit Hit;

// What this side has opened and not yet closed. A close is only handed to
// the library for a handle it really opened, and a read or search only goes
// to an open log: a failed open leaves the block in whatever state the
// library left it.
bool LogIsOpen = false;
bool IndexIsOpen = false;

int CountInHandle(const unsigned char* handle) {
    int32_t count;
    std::memcpy(&count, handle + kLogCountOffset, sizeof count);   // packed, unaligned
    return count;
}

size_t TextLength(const char* text, size_t size) {
    const void* nul = std::memchr(text, '\0', size);
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : size;
}

// The hit for record number recNo, read into the shared buffer, or null.
CallSearchHit* ReadHit(int recNo) {
    if (recNo <= 0) return nullptr;   // the index has no such entry
    QsoRecord* record = ReadLogRecord(recNo);
    if (!record) return nullptr;
    Hit.RecNo = recNo;
    Hit.Record = record;
    return &Hit;
}

}  // namespace

int CountLogRecords() {
    const LoggerLibrary& lib = TheLoggerLibrary;
    if (!lib.VireonOpen || !lib.VireonClose) return -1;
    if (lib.SetDbsShare) lib.SetDbsShare(1);
    if (lib.VireonOpen(0, CountHandle, "vireon", 0) != 0) return -1;
    int count = CountInHandle(CountHandle);
    lib.VireonClose(CountHandle, 0);
    return count >= 0 ? count : -1;
}

int OpenLog() {
    const LoggerLibrary& lib = TheLoggerLibrary;
    if (LogIsOpen) return 0;
    if (!lib.VireonOpen || !lib.VireonClose) return -1;
    if (lib.SetDbsShare) lib.SetDbsShare(1);
    int result = lib.VireonOpen(0, LogHandle, "vireon.vdb", 0);
    LogIsOpen = result == 0;
    return result;
}

void CloseLog() {
    if (LogIsOpen && TheLoggerLibrary.VireonClose) TheLoggerLibrary.VireonClose(LogHandle, 0);
    LogIsOpen = false;
}

QsoRecord* ReadLogRecord(int recNo) {
    PfnKvxReadv read = TheLoggerLibrary.KVX_readv;
    if (!LogIsOpen || !read) return nullptr;
    return read(LogHandle, recNo, &RecordBuffer) == 0 ? &RecordBuffer : nullptr;
}

int OpenLogWithIndex(const char* indexName) {
    const LoggerLibrary& lib = TheLoggerLibrary;
    if (LogIsOpen || IndexIsOpen) return -1;   // one open at a time
    if (!lib.idx_open || !lib.idx_close || !lib.VireonOpen || !lib.VireonClose) return -1;
    if (!indexName || lib.idx_open(indexName, CallIndexHandle) != 0) return -1;
    if (lib.VireonOpen(0, LogHandle, "vireon.vdb", 0) != 0) {
        lib.idx_close(CallIndexHandle);
        return -1;
    }
    IndexIsOpen = true;
    LogIsOpen = true;
    return 0;
}

void CloseLogWithIndex() {
    const LoggerLibrary& lib = TheLoggerLibrary;
    if (IndexIsOpen && lib.idx_close) lib.idx_close(CallIndexHandle);
    IndexIsOpen = false;
    CloseLog();
}

CallSearchHit* SearchCall(CallSearchText& text, int mode) {
    const LoggerLibrary& lib = TheLoggerLibrary;
    if (mode == 0) {
        // A text without its NUL inside the buffer is no text at all.
        size_t length = TextLength(text, sizeof text);
        if (length < 5 || length == sizeof text) return nullptr;
        std::memset(SearchKey, 0, sizeof SearchKey);
        std::memcpy(SearchKey, text, 6);
        Hit.Status = 0;
        if (!LogIsOpen || !IndexIsOpen || !lib.KVX_seek || !lib.idx_search) return nullptr;
        if (lib.KVX_seek(LogHandle, text, kCallSearchTextSize) != 0) return nullptr;
        // The library may have emptied the text: that is its sign that more
        // than one record matches, and the index is then searched by the key
        // alone.
        length = TextLength(text, sizeof text);
        int recNo = lib.idx_search(CallIndexHandle, reinterpret_cast<const char*>(SearchKey),
                                   static_cast<int>(length));
        CallSearchHit* hit = ReadHit(recNo);
        if (!hit) return nullptr;
        hit->Status = text[0] == '\0' ? 2 : 1;
        return hit;
    }
    if (mode == 1) {
        size_t k = TextLength(reinterpret_cast<const char*>(SearchKey), 6);
        if (k == 0) return nullptr;   // no first search to go on from
        if (!IndexIsOpen || !lib.idx_next) return nullptr;
        CallSearchHit* hit = ReadHit(lib.idx_next(CallIndexHandle));
        if (!hit) return nullptr;
        // The walk goes on while the record's call begins with the key.
        if (std::strncmp(hit->Record->Call, reinterpret_cast<const char*>(SearchKey), k) != 0)
            return nullptr;
        return hit;
    }
    return nullptr;
}

void ForgetOpenLogHandles() {
    LogIsOpen = false;
    IndexIsOpen = false;
}
