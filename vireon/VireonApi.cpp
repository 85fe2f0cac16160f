// The exported entry points of vireon50: bare names, the Windows API calling
// convention, int results. Handles are the caller's blocks: each open writes
// a tag, a slot number and a generation into the block and keeps the state
// in a table under that slot, so a block that was never opened, was closed,
// or was copied elsewhere is refused. docs/stand-in-development.md describes every call.
//
// Built three times: the full library, and two variants for tests that lack
// the read calls (VIREON_OMIT_READ) or the open calls (VIREON_OMIT_OPEN).
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "vireon/Store.h"
#include "vireon/VireonFormat.h"

#if defined(_WIN32)
#define VX_API extern "C" VIREON_CALL
#else
#define VX_API extern "C" VIREON_CALL __attribute__((visibility("default")))
#endif

using namespace vireon;

namespace {

// ---- call counting for tests (one thread, as the program runs) ----
enum Entry {
    eVireonOpen, eVireonClose, eKVX_readv, eDbsDbrOpen, eDbsDbrClose, eDbsDbrRead, edbf_create,
    edbf_open, edbf_close, eDB_append, edbf_read, eQSL_Rcv, eQSL_Send, eKVX_seek, eKVX_top,
    eidx_top, eidx_bottom, eidx_search, eidx_open, eidx_close, eidx_next, eFreqPCheck,
    eSetDbsShare, eEntryCount
};
const char* const kEntryNames[eEntryCount] = {
    "VireonOpen", "VireonClose", "KVX_readv", "DbsDbrOpen", "DbsDbrClose", "DbsDbrRead",
    "dbf_create", "dbf_open", "dbf_close", "DB_append", "dbf_read", "QSL_Rcv", "QSL_Send",
    "KVX_seek", "KVX_top", "idx_top", "idx_bottom", "idx_search", "idx_open", "idx_close",
    "idx_next", "FreqPCheck", "SetDbsShare"};
int g_calls[eEntryCount];
#define COUNT_CALL(name) ++g_calls[e##name]

[[maybe_unused]] bool g_share = true;   // readers let the logging program go on writing

// ---- handle table ----
constexpr uint32_t kLogTag = 0x474C5856;      // "VXLG"
constexpr uint32_t kIndexTag = 0x58495856;    // "VXIX"
constexpr uint32_t kMasterTag = 0x534D5856;   // "VXMS"
uint32_t g_generation = 0;

struct LogState {
    LogFile Log;
    std::string Path;
    bool Share = true;
    IndexFile SeekIndex;   // the log's own index, opened at the first seek
};
struct IndexState {
    IndexFile Index;
    uint32_t Cursor = 0;
    bool BeforeFirst = true;
};
struct MasterState {
    MasterFile Master;
};

// Where each kind of block keeps tag, slot and generation.
template <class T> struct Layout;
template <> struct Layout<LogState> { static constexpr int Tag = 0, Slot = 4, Gen = 8; static constexpr uint32_t Value = kLogTag; static constexpr int Size = kLogBlockSize; };
template <> struct Layout<IndexState> { static constexpr int Tag = 0, Slot = 4, Gen = 8; static constexpr uint32_t Value = kIndexTag; static constexpr int Size = kIndexBlockSize; };
// The master block's second word is the record count the caller reads.
template <> struct Layout<MasterState> { static constexpr int Tag = 0, Slot = 8, Gen = 12; static constexpr uint32_t Value = kMasterTag; static constexpr int Size = kMasterBlockSize; };

template <class T>
class Table {
public:
    T* Find(const void* block) {
        if (!block) return nullptr;
        const unsigned char* b = static_cast<const unsigned char*>(block);
        if (GetU32(b + Layout<T>::Tag) != Layout<T>::Value) return nullptr;
        uint32_t slot = GetU32(b + Layout<T>::Slot);
        if (slot >= slots_.size()) return nullptr;
        Slot& s = slots_[slot];
        if (s.Block != block || s.Gen != GetU32(b + Layout<T>::Gen)) return nullptr;
        return s.State.get();
    }
    // Registers fresh state for the block, dropping whatever it held before
    // (a block opened again without a close).
    T* Open(void* block) {
        Close(block);
        size_t slot = 0;
        while (slot < slots_.size() && slots_[slot].Block) ++slot;
        if (slot == slots_.size()) slots_.emplace_back();
        Slot& s = slots_[slot];
        s.Block = block;
        s.Gen = ++g_generation;
        s.State.reset(new T);
        unsigned char* b = static_cast<unsigned char*>(block);
        std::memset(b, 0, Layout<T>::Size);
        PutU32(b + Layout<T>::Tag, Layout<T>::Value);
        PutU32(b + Layout<T>::Slot, static_cast<uint32_t>(slot));
        PutU32(b + Layout<T>::Gen, s.Gen);
        return s.State.get();
    }
    bool Close(void* block) {
        for (Slot& s : slots_) {
            if (s.Block == block && block) {
                s.Block = nullptr;
                s.State.reset();
                PutU32(static_cast<unsigned char*>(block) + Layout<T>::Tag, 0);
                return true;
            }
        }
        return false;
    }

private:
    struct Slot {
        void* Block = nullptr;
        uint32_t Gen = 0;
        std::unique_ptr<T> State;
    };
    std::vector<Slot> slots_;
};

Table<LogState> g_logs;
Table<IndexState> g_indexes;
Table<MasterState> g_masters;

void PutCount(void* block, int32_t n) {
    PutU32(static_cast<unsigned char*>(block) + kLogCountOffset, static_cast<uint32_t>(n));
}

// Copies a text with its NUL, like strcpy; the rest of the caller's field
// keeps what it held.
// (A plain loop: the texts are short, and a call into the C library per
// field costs more than the copy under Wine.)
inline void CopyText(char* dst, const unsigned char* rec, QsoField f) {
    const char* src = reinterpret_cast<const char*>(rec + kFieldSlots[f].Offset);
    while ((*dst++ = *src++) != '\0') {
    }
}
inline const char* TextAt(const unsigned char* rec, QsoField f) {
    return reinterpret_cast<const char*>(rec + kFieldSlots[f].Offset);
}

// A text of a caller's record for DB_append: false when it does not end
// within `limit` bytes or is longer than the field holds.
bool TakeText(const char* p, size_t limit, QsoField f, std::string* out) {
    if (!p) { out->clear(); return true; }
    size_t n = strnlen(p, limit);
    if (n == limit || n > size_t(MaxFieldLength(f))) return false;
    out->assign(p, n);
    return true;
}

}  // namespace

// ------------------------------------------------------------------ log

#if !defined(VIREON_OMIT_OPEN)
VX_API int SetDbsShare(int share) {
    COUNT_CALL(SetDbsShare);
    if (share != 0 && share != 1) return -1;
    g_share = share == 1;
    return 0;
}

VX_API int VireonOpen(int mode, void* handle, const char* name, int /*flags*/) {
    COUNT_CALL(VireonOpen);
    if (!handle || !name || (mode != 0 && mode != 1)) return -1;
    LogState* s = g_logs.Open(handle);
    s->Path = LogPathOfName(name);
    s->Share = g_share;
    if (!s->Log.Open(s->Path.c_str(), mode == 1, s->Share)) {
        g_logs.Close(handle);
        return 1;
    }
    PutCount(handle, static_cast<int32_t>(s->Log.Count()));
    return 0;
}
#endif

VX_API int VireonClose(void* handle, int /*flags*/) {
    COUNT_CALL(VireonClose);
    return g_logs.Close(handle) ? 0 : -1;
}

#if !defined(VIREON_OMIT_READ)
VX_API int KVX_readv(void* handle, int recNo, void* buffer) {
    COUNT_CALL(KVX_readv);
    LogState* s = g_logs.Find(handle);
    if (!s || !buffer) return -1;
    const unsigned char* rec = s->Log.Record(recNo);
    if (!rec) return 1;
    QsoBuffer* q = static_cast<QsoBuffer*>(buffer);
    CopyText(q->Call, rec, kCall);
    CopyText(q->Date, rec, kDate);
    CopyText(q->Time, rec, kTime);
    CopyText(q->Code, rec, kCode);
    CopyText(q->GL, rec, kGL);
    CopyText(q->QSL, rec, kQSL);
    CopyText(q->His, rec, kHis);
    q->My = TextAt(rec, kMy);
    q->Freq = TextAt(rec, kFreq);
    q->Mode = TextAt(rec, kMode);
    q->Name = TextAt(rec, kName);
    q->QTH = TextAt(rec, kQTH);
    q->Remarks1 = TextAt(rec, kRemarks1);
    q->Remarks2 = TextAt(rec, kRemarks2);
    return 0;
}

VX_API int KVX_seek(void* handle, char* text, int size) {
    COUNT_CALL(KVX_seek);
    if (!text || size < 1) return -1;
    LogState* s = g_logs.Find(handle);
    if (!s) return -1;
    size_t len = strnlen(text, static_cast<size_t>(size));
    if (len == 0 || len == static_cast<size_t>(size)) return -1;
    if (len > kIndexCallBytes) return 1;   // longer than any call
    if (!s->SeekIndex.Count() && !s->SeekIndex.Open(IndexPathOfLog(s->Path).c_str(), s->Share)) return 2;
    IndexFile& ix = s->SeekIndex;
    uint32_t i = ix.LowerBound(text, len);
    if (i >= ix.Count() || !ix.EntryHasPrefix(i, text, len)) return 1;
    if (i + 1 < ix.Count() && ix.EntryHasPrefix(i + 1, text, len)) text[0] = '\0';
    return 0;
}
#endif

VX_API int KVX_top(void* handle) {
    COUNT_CALL(KVX_top);
    LogState* s = g_logs.Find(handle);
    if (!s) return -1;
    return s->Log.Count() > 0 ? 1 : 0;
}

VX_API int DB_append(void* handle, const void* record) {
    COUNT_CALL(DB_append);
    LogState* s = g_logs.Find(handle);
    if (!s || !record) return -1;
    if (!s->Log.Writable()) return -2;
    const QsoBuffer* q = static_cast<const QsoBuffer*>(record);
    QsoTexts t;
    const char* fixed[] = {q->Call, q->Date, q->Time, q->Code, q->GL, q->QSL, q->His};
    const size_t widths[] = {sizeof q->Call, sizeof q->Date, sizeof q->Time, sizeof q->Code,
                             sizeof q->GL, sizeof q->QSL, sizeof q->His};
    for (int f = kCall; f <= kHis; ++f)
        if (!TakeText(fixed[f], widths[f], QsoField(f), &t.Field[f])) return -3;
    const char* ptrs[] = {q->My, q->Freq, q->Mode, q->Name, q->QTH, q->Remarks1, q->Remarks2};
    for (int f = kMy; f <= kRemarks2; ++f)
        if (!TakeText(ptrs[f - kMy], size_t(MaxFieldLength(QsoField(f))) + 1, QsoField(f), &t.Field[f]))
            return -3;
    StoredRecord rec;
    PackRecord(t, rec);
    if (!s->Log.Append(rec)) return -4;
    PutCount(handle, static_cast<int32_t>(s->Log.Count()));
    return 0;
}

VX_API int QSL_Rcv(void* handle, int recNo, int mark) {
    COUNT_CALL(QSL_Rcv);
    LogState* s = g_logs.Find(handle);
    if (!s) return -1;
    if (mark < 0 || mark > 0x7E) return 1;
    return s->Log.SetQslMark(recNo, 2, static_cast<char>(mark)) ? 0 : 1;
}

VX_API int QSL_Send(void* handle, int recNo, int mark) {
    COUNT_CALL(QSL_Send);
    LogState* s = g_logs.Find(handle);
    if (!s) return -1;
    if (mark < 0 || mark > 0x7E) return 1;
    return s->Log.SetQslMark(recNo, 0, static_cast<char>(mark)) ? 0 : 1;
}

VX_API int dbf_create(const char* name, int kind) {
    COUNT_CALL(dbf_create);
    if (!name) return -1;
    std::string path = LogPathOfName(name);
    if (kind == 0) return LogFile::CreateEmpty(path.c_str()) ? 0 : 1;
    if (kind == 1) {
        std::string error;
        return BuildIndexOfLog(path.c_str(), IndexPathOfLog(path).c_str(), &error) ? 0 : 1;
    }
    return -1;
}

// Record-set calls of the original product that this stand-in does not
// offer: they take no arguments and always fail.
VX_API int DbsDbrOpen() { COUNT_CALL(DbsDbrOpen); return -1; }
VX_API int DbsDbrClose() { COUNT_CALL(DbsDbrClose); return -1; }
VX_API int DbsDbrRead() { COUNT_CALL(DbsDbrRead); return -1; }

// ------------------------------------------------------------------ index

#if !defined(VIREON_OMIT_OPEN)
VX_API int idx_open(const char* name, void* handle) {
    COUNT_CALL(idx_open);
    if (!name || !handle) return -1;
    IndexState* s = g_indexes.Open(handle);
    if (!s->Index.Open(name, g_share)) {
        g_indexes.Close(handle);
        return 1;
    }
    return 0;
}
#endif

VX_API int idx_close(void* handle) {
    COUNT_CALL(idx_close);
    return g_indexes.Close(handle) ? 0 : -1;
}

namespace {
int RecordAtCursor(IndexState* s) {
    char call[kIndexCallBytes];
    uint32_t rec = 0;
    if (s->BeforeFirst || s->Cursor >= s->Index.Count() || !s->Index.Entry(s->Cursor, call, &rec)) return 0;
    return static_cast<int>(rec);
}
}  // namespace

VX_API int idx_search(void* handle, const char* key, int length) {
    COUNT_CALL(idx_search);
    IndexState* s = g_indexes.Find(handle);
    if (!s || !key) return -1;
    size_t k = strnlen(key, 8);
    if (length > 0 && size_t(length) < k) k = size_t(length);
    s->BeforeFirst = false;
    uint32_t i = s->Index.LowerBound(key, k);
    s->Cursor = i < s->Index.Count() && s->Index.EntryHasPrefix(i, key, k) ? i : s->Index.Count();
    return RecordAtCursor(s);
}

VX_API int idx_next(void* handle) {
    COUNT_CALL(idx_next);
    IndexState* s = g_indexes.Find(handle);
    if (!s) return -1;
    if (s->BeforeFirst) {
        s->BeforeFirst = false;
        s->Cursor = 0;
    } else if (s->Cursor < s->Index.Count()) {
        ++s->Cursor;
    }
    return RecordAtCursor(s);
}

VX_API int idx_top(void* handle) {
    COUNT_CALL(idx_top);
    IndexState* s = g_indexes.Find(handle);
    if (!s) return -1;
    s->BeforeFirst = false;
    s->Cursor = 0;
    return RecordAtCursor(s);
}

VX_API int idx_bottom(void* handle) {
    COUNT_CALL(idx_bottom);
    IndexState* s = g_indexes.Find(handle);
    if (!s) return -1;
    s->BeforeFirst = false;
    s->Cursor = s->Index.Count() ? s->Index.Count() - 1 : 0;
    return RecordAtCursor(s);
}

// ------------------------------------------------------------------ master

#if !defined(VIREON_OMIT_OPEN)
VX_API int dbf_open(const char* name, void* handle) {
    COUNT_CALL(dbf_open);
    if (!name || !handle) return -1;
    MasterState* s = g_masters.Open(handle);
    if (!s->Master.Open(name, g_share)) {
        g_masters.Close(handle);
        return 1;
    }
    // One past the last record number: a loader reading 1 .. word-1 reads all.
    PutU32(static_cast<unsigned char*>(handle) + 4, s->Master.Count() + 1);
    return 0;
}
#endif

VX_API int dbf_close(void* handle) {
    COUNT_CALL(dbf_close);
    return g_masters.Close(handle) ? 0 : -1;
}

#if !defined(VIREON_OMIT_READ)
VX_API int dbf_read(void* handle, int recNo, void* buffer) {
    COUNT_CALL(dbf_read);
    MasterState* s = g_masters.Find(handle);
    if (!s || !buffer) return -1;
    const unsigned char* rec = s->Master.Record(recNo);
    if (!rec) return 1;
    std::memcpy(buffer, rec, kMasterRecordSize);
    return 0;
}

VX_API int FreqPCheck(const char* mhz) {
    COUNT_CALL(FreqPCheck);
    return BandOfFrequencyText(mhz);
}
#endif

// ------------------------------------------------------------------ tests

VX_API int VireonDebugCallCount(const char* entryName) {
    if (!entryName) return -1;
    int total = 0;
    for (int i = 0; i < eEntryCount; ++i) {
        if (!*entryName) total += g_calls[i];
        else if (std::strcmp(entryName, kEntryNames[i]) == 0) return g_calls[i];
    }
    return *entryName ? -1 : total;
}
