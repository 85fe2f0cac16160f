#include "vireon/Store.h"

#include <algorithm>
#include <cstring>

namespace vireon {

// ---------------------------------------------------------------- texts

bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

namespace {
// Length of the valid UTF-8 character at p[i] (1..4), 0 when the bytes there
// are no valid UTF-8 (stray continuation, overlong form, surrogate, cut off).
size_t Utf8CharLength(const unsigned char* p, size_t n, size_t i) {
    unsigned char c = p[i];
    if (c < 0x80) return 1;
    size_t len;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) { len = 2; cp = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { len = 3; cp = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { len = 4; cp = c & 0x07; }
    else return 0;
    if (i + len > n) return 0;
    for (size_t k = 1; k < len; ++k) {
        if ((p[i + k] & 0xC0) != 0x80) return 0;
        cp = cp << 6 | (p[i + k] & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

// Length of the CP932 character at p[i] (1 or 2), 0 when code page 932 does
// not define the bytes there. Which double-byte pairs are defined is asked of
// the system once per pair and kept.
size_t Cp932CharLength(const unsigned char* p, size_t n, size_t i) {
    unsigned char c = p[i];
    if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) return 1;
    // F0..F9 lead the user-defined characters: no text that was written in
    // Shift_JIS means them, so bytes there are taken for another encoding.
    if (!IsCp932LeadByte(c) || (c >= 0xF0 && c <= 0xF9) || i + 1 >= n) return 0;
    unsigned char t = p[i + 1];
    if (t < 0x40 || t == 0x7F || t > 0xFC) return 0;
    static std::vector<uint8_t> known(65536, 0);   // 0 not asked, 1 defined, 2 not defined
    uint8_t& k = known[size_t(c) << 8 | t];
    if (k == 0) k = Cp932PairDefined(c, t) ? 1 : 2;
    return k == 1 ? 2 : 0;
}

template <size_t (*CharLength)(const unsigned char*, size_t, size_t)>
std::string Repair(const std::string& s, size_t* bad) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    std::string out;
    size_t replaced = 0;
    for (size_t i = 0, n = s.size(); i < n;) {
        size_t len = CharLength(p, n, i);
        if (len == 0) {
            out += '?';
            ++replaced;
            ++i;
        } else {
            out.append(s, i, len);
            i += len;
        }
    }
    if (bad) *bad = replaced;
    return out;
}
}  // namespace

bool IsValidUtf8(const std::string& s) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    for (size_t i = 0, n = s.size(); i < n;) {
        size_t len = Utf8CharLength(p, n, i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

bool IsValidCp932(const std::string& s) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    for (size_t i = 0, n = s.size(); i < n;) {
        size_t len = Cp932CharLength(p, n, i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string RepairUtf8(const std::string& s, size_t* bad) { return Repair<Utf8CharLength>(s, bad); }
std::string RepairCp932(const std::string& s, size_t* bad) { return Repair<Cp932CharLength>(s, bad); }

std::string TruncateCp932(const std::string& s, size_t maxBytes, bool* cut) {
    size_t i = 0;
    while (i < s.size()) {
        size_t len = IsCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        if (i + len > maxBytes) break;
        i += len;
    }
    if (cut) *cut = i < s.size();
    return s.substr(0, i);
}

// ---------------------------------------------------------------- bands

namespace {
// Frequencies are compared in whole units of 100 Hz (tenths of kHz, the
// finest step of any band edge) in 32 bits, with a note of whether nonzero
// decimals follow: a 32-bit processor then needs no 64-bit arithmetic, and
// every text still compares exactly ("1.91250001" lies above 1.9125).
struct BandRange { int band; uint32_t low, high; };   // tenths of kHz
// The Japanese amateur allocations (docs/file-formats.md lists them).
constexpr BandRange kBandRanges[] = {
    {0, 18000, 18750},     {0, 19075, 19125},
    {1, 35000, 35800},     {1, 35990, 36120},   {1, 36620, 36870},
    {1, 37020, 37160},     {1, 37450, 37700},   {1, 37910, 38050},
    {2, 70000, 72000},     {3, 101000, 101500}, {4, 140000, 143500},
    {5, 180680, 181680},   {6, 210000, 214500}, {7, 248900, 249900},
    {8, 280000, 297000},   {9, 500000, 540000}, {10, 1440000, 1460000},
    {11, 4300000, 4400000}, {12, 12600000, 13000000}, {13, 24000000, 24500000},
};
// The band names themselves, as Japanese logs often record the band in the
// frequency column: "1.9", "3.5", "7" ... "2400" (in tenths of kHz).
constexpr uint32_t kBandNames[14] = {19000, 35000, 70000, 100000, 140000, 180000, 210000,
                                     240000, 280000, 500000, 1440000, 4300000, 12000000, 24000000};
// Above this many MHz no band lies; larger texts would not fit the units.
constexpr uint32_t kHighestMhz = 100000;
const char* const kBandLowerEdges[14] = {"1.800", "3.500", "7.000", "10.100", "14.000",
                                         "18.068", "21.000", "24.890", "28.000", "50.000",
                                         "144.000", "430.000", "1260.000", "2400.000"};

// Parses "  14.025 " into whole tenths of kHz; *beyond tells whether nonzero
// decimals follow the fourth. False for anything that is not such a text,
// and for frequencies above any band.
bool ParseTenthsOfKHz(const char* s, uint32_t* units, bool* beyond) {
    while (*s == ' ') ++s;
    uint32_t whole = 0;
    int intDigits = 0;
    while (*s >= '0' && *s <= '9') {
        if (++intDigits > 7) return false;
        whole = whole * 10 + static_cast<uint32_t>(*s++ - '0');
    }
    uint32_t frac = 0;
    int fracDigits = 0;
    bool more = false;
    if (*s == '.') {
        ++s;
        while (*s >= '0' && *s <= '9') {
            if (fracDigits < 4) { frac = frac * 10 + static_cast<uint32_t>(*s - '0'); ++fracDigits; }
            else if (*s != '0') more = true;
            ++s;
        }
    }
    if (intDigits + fracDigits == 0) return false;
    while (*s == ' ') ++s;
    if (*s != '\0' || whole > kHighestMhz) return false;
    for (int i = fracDigits; i < 4; ++i) frac *= 10;
    *units = whole * 10000 + frac;
    *beyond = more;
    return true;
}
}  // namespace

int BandOfFrequencyText(const char* mhz) {
    uint32_t v;
    bool beyond;
    if (!mhz || !ParseTenthsOfKHz(mhz, &v, &beyond)) return -1;
    if (!beyond)
        for (int b = 0; b < 14; ++b)
            if (v == kBandNames[b]) return b;
    // v plus a fraction of a unit lies in [low, high] when v >= low and it
    // stays below high, or reaches high exactly.
    for (const BandRange& r : kBandRanges)
        if (v >= r.low && (v < r.high || (v == r.high && !beyond))) return r.band;
    return -1;
}

const char* BandLowerEdgeText(int band) { return band >= 0 && band < 14 ? kBandLowerEdges[band] : ""; }

// ---------------------------------------------------------------- records

uint32_t PackRecord(const QsoTexts& q, StoredRecord out) {
    std::memset(out, 0, kLogRecordSize);
    uint32_t cutFields = 0;
    for (int f = 0; f < kFieldCount; ++f) {
        const FieldSlot& slot = kFieldSlots[f];
        // A text stops at its first NUL, whatever follows.
        std::string text = q.Field[f].substr(0, q.Field[f].find('\0'));
        // QSL always holds its three positions (sent, via, received), blanks
        // where there is no mark: a reader that looks at position 2 must find
        // a blank there, not the NUL or whatever its buffer held before.
        if (f == kQSL && text.size() < kQslPositions) text.resize(kQslPositions, ' ');
        bool cut = false;
        std::string t = TruncateCp932(text, static_cast<size_t>(slot.Width - 1), &cut);
        if (cut) cutFields |= 1u << f;
        std::memcpy(out + slot.Offset, t.data(), t.size());
    }
    out[kLogRecordMarkOffset] = kLogRecordMark;
    return cutFields;
}

QsoTexts UnpackRecord(const unsigned char* rec) {
    QsoTexts q;
    for (int f = 0; f < kFieldCount; ++f) {
        const char* p = reinterpret_cast<const char*>(rec + kFieldSlots[f].Offset);
        q.Field[f].assign(p, strnlen(p, kFieldSlots[f].Width - 1));
    }
    return q;
}

// ---------------------------------------------------------------- log

LogFile::~LogFile() { Close(); }

void LogFile::Close() {
    OsClose(file_);
    file_ = nullptr;
    count_ = 0;
    blockFirst_ = blockCount_ = lastRead_ = 0;
    block_.clear();
    block_.shrink_to_fit();
}

bool LogFile::ReadHeaderCount(uint32_t* count) {
    unsigned char h[kLogHeaderSize];
    if (!OsReadAt(file_, 0, h, sizeof h)) return false;
    if (!HeaderIsValid(h, kLogMagic, kLogVersion, kLogHeaderSize, kLogRecordSize)) return false;
    uint32_t n = GetU32(h + kHeaderCountAt);
    int64_t size = OsSize(file_);
    if (n > 0x7FFFFFFFu / kLogRecordSize) return false;
    if (size < int64_t(kLogHeaderSize) + int64_t(n) * kLogRecordSize) return false;   // truncated
    *count = n;
    return true;
}

bool LogFile::Open(const char* path, bool writable, bool share) {
    Close();
    file_ = OsOpen(path, writable ? OpenMode::ReadWrite : OpenMode::Read, share);
    if (!file_) return false;
    uint32_t n;
    if (!ReadHeaderCount(&n)) {
        Close();
        return false;
    }
    count_ = n;
    writable_ = writable;
    return true;
}

bool LogFile::FillBlock(uint32_t first, uint32_t n) {
    block_.resize(size_t(kBlockRecords) * kLogRecordSize);
    blockFirst_ = blockCount_ = 0;
    int64_t at = int64_t(kLogHeaderSize) + int64_t(first - 1) * kLogRecordSize;
    if (!OsReadAt(file_, at, block_.data(), size_t(n) * kLogRecordSize)) return false;
    // Whatever the file holds, every text slot ends in a NUL.
    for (uint32_t i = 0; i < n; ++i) {
        unsigned char* rec = &block_[size_t(i) * kLogRecordSize];
        for (const FieldSlot& slot : kFieldSlots) rec[slot.Offset + slot.Width - 1] = 0;
    }
    blockFirst_ = first;
    blockCount_ = n;
    return true;
}

const unsigned char* LogFile::Record(int32_t recNo) {
    if (!file_ || recNo < 1 || uint32_t(recNo) > count_) return nullptr;
    uint32_t r = uint32_t(recNo);
    if (!(blockCount_ && r >= blockFirst_ && r < blockFirst_ + blockCount_)) {
        // A scan reads ahead a whole block. A look-up that walks forward in
        // short steps (the QSOs with one station often lie near each other)
        // reads a stretch, as a read costs far more than the bytes it brings,
        // under Wine above all; one that jumps far reads just the record.
        uint32_t gap = r > lastRead_ ? r - lastRead_ : 0;
        uint32_t ahead = (gap == 1 || r == 1) ? kBlockRecords : (gap > 0 && gap <= kLookupRecords) ? kLookupRecords : 1;
        uint32_t n = std::min(ahead, count_ - r + 1);
        if (!FillBlock(r, n)) return nullptr;
    }
    lastRead_ = r;
    const unsigned char* rec = &block_[size_t(r - blockFirst_) * kLogRecordSize];
    return rec[kLogRecordMarkOffset] == kLogRecordMark ? rec : nullptr;
}

bool LogFile::CreateEmpty(const char* path) {
    OsFile* f = OsOpen(path, OpenMode::Create, false);
    if (!f) return false;
    unsigned char h[kLogHeaderSize] = {};
    MakeHeader(h, kLogMagic, kLogVersion, kLogHeaderSize, kLogRecordSize, 0);
    bool ok = OsWriteAt(f, 0, h, sizeof h);
    OsClose(f);
    return ok;
}

bool LogFile::AppendMany(const unsigned char* recs, uint32_t n) {
    if (!file_ || !writable_) return false;
    uint32_t inFile;
    if (!ReadHeaderCount(&inFile)) return false;
    if (uint64_t(inFile) + n > 0x7FFFFFFFu / kLogRecordSize) return false;
    int64_t at = int64_t(kLogHeaderSize) + int64_t(inFile) * kLogRecordSize;
    // The records first, then the count: a reader never sees a count that
    // covers records not yet written.
    if (!OsWriteAt(file_, at, recs, size_t(n) * kLogRecordSize)) return false;
    unsigned char h[kLogHeaderSize];
    if (!OsReadAt(file_, 0, h, sizeof h)) return false;
    MakeHeader(h, kLogMagic, kLogVersion, kLogHeaderSize, kLogRecordSize, inFile + n);
    if (!OsWriteAt(file_, 0, h, sizeof h)) return false;
    count_ = inFile + n;
    return true;
}

bool LogFile::Append(const StoredRecord rec) { return AppendMany(rec, 1); }

bool LogFile::SetQslMark(int32_t recNo, int position, char mark) {
    const FieldSlot& slot = kFieldSlots[kQSL];
    if (!file_ || !writable_ || recNo < 1 || uint32_t(recNo) > count_) return false;
    if (position < 0 || position >= slot.Width - 1) return false;
    if (mark != 0 && (static_cast<unsigned char>(mark) < 0x21 || static_cast<unsigned char>(mark) > 0x7E))
        return false;
    int64_t at = int64_t(kLogHeaderSize) + int64_t(recNo - 1) * kLogRecordSize;
    StoredRecord rec;
    if (!OsReadAt(file_, at, rec, sizeof rec) || rec[kLogRecordMarkOffset] != kLogRecordMark) return false;
    char qsl[8] = {};
    std::memcpy(qsl, rec + slot.Offset, slot.Width - 1);
    size_t len = strnlen(qsl, slot.Width - 1);
    for (size_t i = len; i < size_t(position); ++i) qsl[i] = ' ';
    qsl[position] = mark ? mark : ' ';
    // Marks sit at fixed positions; the three positions stay (as blanks
    // when empty), blanks after them carry nothing.
    size_t end = std::max({len, size_t(position) + 1, kQslPositions});
    while (end > kQslPositions && qsl[end - 1] == ' ') --end;
    for (size_t i = len; i < end; ++i)
        if (qsl[i] == 0) qsl[i] = ' ';
    std::memset(rec + slot.Offset, 0, slot.Width);
    std::memcpy(rec + slot.Offset, qsl, end);
    if (!OsWriteAt(file_, at, rec, sizeof rec)) return false;
    blockFirst_ = blockCount_ = 0;
    return true;
}

// ---------------------------------------------------------------- index

IndexFile::~IndexFile() { Close(); }

void IndexFile::Close() {
    OsClose(file_);
    file_ = nullptr;
    count_ = 0;
    blockLoaded_ = false;
    fence_.clear();
    fenceState_ = Fence::NotRead;
}

static uint32_t FenceCount(uint32_t entries) { return (entries + kIndexFenceInterval - 1) / kIndexFenceInterval; }

bool IndexFile::Open(const char* path, bool share) {
    Close();
    file_ = OsOpen(path, OpenMode::Read, share);
    if (!file_) return false;
    unsigned char h[kIndexHeaderSize];
    bool ok = OsReadAt(file_, 0, h, sizeof h) &&
              HeaderIsValid(h, kIndexMagic, kIndexVersion, kIndexHeaderSize, kIndexEntrySize) &&
              GetU32(h + kIndexFenceIntervalAt) == kIndexFenceInterval;
    uint32_t n = ok ? GetU32(h + kHeaderCountAt) : 0;
    ok = ok && n <= 0x7FFFFFFFu / kIndexEntrySize &&
         OsSize(file_) >= int64_t(kIndexHeaderSize) + int64_t(n) * kIndexEntrySize +
                              int64_t(FenceCount(n)) * kIndexCallBytes;
    if (!ok) {
        Close();
        return false;
    }
    count_ = n;
    return true;
}

bool IndexFile::LoadBlock(uint32_t block) {
    if (blockLoaded_ && blockIndex_ == block) return true;
    uint32_t first = block * kIndexFenceInterval;
    if (first >= count_) return false;
    uint32_t n = std::min(kIndexFenceInterval, count_ - first);
    block_.resize(size_t(kIndexFenceInterval) * kIndexEntrySize);
    blockLoaded_ = false;
    if (!OsReadAt(file_, int64_t(kIndexHeaderSize) + int64_t(first) * kIndexEntrySize, block_.data(),
                  size_t(n) * kIndexEntrySize))
        return false;
    blockIndex_ = block;
    blockLoaded_ = true;
    // A fence that disagrees with the entries is not trusted again.
    if (fenceState_ == Fence::Usable &&
        std::memcmp(&fence_[size_t(block) * kIndexCallBytes], block_.data(), kIndexCallBytes) != 0)
        fenceState_ = Fence::Unusable;
    return true;
}

bool IndexFile::LoadFence() {
    if (fenceState_ == Fence::NotRead) {
        fence_.resize(size_t(FenceCount(count_)) * kIndexCallBytes);
        bool ok = fence_.empty() ||
                  OsReadAt(file_, int64_t(kIndexHeaderSize) + int64_t(count_) * kIndexEntrySize, fence_.data(),
                           fence_.size());
        fenceState_ = ok ? Fence::Usable : Fence::Unusable;
    }
    return fenceState_ == Fence::Usable;
}

bool IndexFile::Entry(uint32_t i, char call[kIndexCallBytes], uint32_t* recNo) {
    if (!file_ || i >= count_ || !LoadBlock(i / kIndexFenceInterval)) return false;
    const unsigned char* e = &block_[size_t(i % kIndexFenceInterval) * kIndexEntrySize];
    std::memcpy(call, e, kIndexCallBytes);
    *recNo = GetU32(e + kIndexCallBytes);
    return true;
}

static int ComparePrefix(const char* call, const char* prefix, size_t k) {
    return std::memcmp(call, prefix, std::min<size_t>(k, kIndexCallBytes));
}

// First entry in [lo, hi) whose call is not less than the prefix; hi if none.
uint32_t IndexFile::SearchWithin(uint32_t lo, uint32_t hi, const char* prefix, size_t k) {
    char call[kIndexCallBytes];
    uint32_t rec;
    while (lo < hi) {
        uint32_t mid = lo + (hi - lo) / 2;
        if (!Entry(mid, call, &rec)) return count_;
        if (ComparePrefix(call, prefix, k) < 0) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

uint32_t IndexFile::LowerBound(const char* prefix, size_t k) {
    if (!file_ || count_ == 0) return count_;
    if (LoadFence()) {
        // Blocks before b begin below the prefix; the bound lies in block b-1
        // or is the first entry of block b.
        uint32_t lo = 0, hi = FenceCount(count_);
        while (lo < hi) {
            uint32_t mid = lo + (hi - lo) / 2;
            if (ComparePrefix(&fence_[size_t(mid) * kIndexCallBytes], prefix, k) < 0) lo = mid + 1;
            else hi = mid;
        }
        if (lo == 0) return 0;
        uint32_t first = (lo - 1) * kIndexFenceInterval;
        uint32_t i = SearchWithin(first, std::min(count_, first + kIndexFenceInterval), prefix, k);
        if (fenceState_ == Fence::Usable) return i;
    }
    return SearchWithin(0, count_, prefix, k);
}

bool IndexFile::EntryHasPrefix(uint32_t i, const char* prefix, size_t k) {
    char call[kIndexCallBytes];
    uint32_t rec;
    if (k > kIndexCallBytes || !Entry(i, call, &rec)) return false;
    return ComparePrefix(call, prefix, k) == 0;
}

bool IndexFile::Write(const char* path, std::vector<std::pair<std::string, uint32_t>> entries) {
    for (auto& e : entries) {
        e.first = e.first.substr(0, std::min(e.first.find('\0'), size_t(kIndexCallBytes)));
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        int c = std::memcmp(a.first.data(), b.first.data(), std::min(a.first.size(), b.first.size()));
        if (c != 0) return c < 0;
        if (a.first.size() != b.first.size()) return a.first.size() < b.first.size();
        return a.second < b.second;
    });
    uint32_t n = static_cast<uint32_t>(entries.size());
    std::vector<unsigned char> out(kIndexHeaderSize + size_t(n) * kIndexEntrySize + size_t(FenceCount(n)) * kIndexCallBytes, 0);
    MakeHeader(out.data(), kIndexMagic, kIndexVersion, kIndexHeaderSize, kIndexEntrySize, n);
    PutU32(out.data() + kIndexFenceIntervalAt, kIndexFenceInterval);
    unsigned char* p = out.data() + kIndexHeaderSize;
    unsigned char* fence = p + size_t(n) * kIndexEntrySize;
    for (uint32_t i = 0; i < n; ++i) {
        const auto& e = entries[i];
        std::memcpy(p, e.first.data(), e.first.size());
        PutU32(p + kIndexCallBytes, e.second);
        if (i % kIndexFenceInterval == 0) std::memcpy(fence + size_t(i / kIndexFenceInterval) * kIndexCallBytes, p, kIndexCallBytes);
        p += kIndexEntrySize;
    }
    OsFile* f = OsOpen(path, OpenMode::Create, false);
    if (!f) return false;
    bool ok = OsWriteAt(f, 0, out.data(), out.size());
    OsClose(f);
    return ok;
}

bool BuildIndexOfLog(const char* logPath, const char* indexPath, std::string* error) {
    LogFile log;
    if (!log.Open(logPath, false, true)) {
        *error = std::string("cannot open the log ") + logPath + " (missing or not a log)";
        return false;
    }
    std::vector<std::pair<std::string, uint32_t>> entries;
    entries.reserve(log.Count());
    for (uint32_t r = 1; r <= log.Count(); ++r) {
        const unsigned char* rec = log.Record(int32_t(r));
        if (!rec) {
            *error = "record " + std::to_string(r) + " of the log cannot be read";
            return false;
        }
        const char* call = reinterpret_cast<const char*>(rec + kFieldSlots[kCall].Offset);
        entries.emplace_back(std::string(call, strnlen(call, kFieldSlots[kCall].Width - 1)), r);
    }
    if (!IndexFile::Write(indexPath, std::move(entries))) {
        *error = std::string("cannot write the index ") + indexPath;
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- master

bool MasterFile::Open(const char* path, bool share) {
    records_.clear();
    OsFile* f = OsOpen(path, OpenMode::Read, share);
    if (!f) return false;
    unsigned char h[kMasterHeaderSize];
    bool ok = OsReadAt(f, 0, h, sizeof h) &&
              HeaderIsValid(h, kMasterMagic, kMasterVersion, kMasterHeaderSize, kMasterRecordSize);
    uint32_t n = ok ? GetU32(h + kHeaderCountAt) : 0;
    // A master lists a few thousand areas; anything far larger is damage.
    ok = ok && n <= 1000000 && OsSize(f) >= int64_t(kMasterHeaderSize) + int64_t(n) * kMasterRecordSize;
    if (ok) {
        records_.resize(size_t(n) * kMasterRecordSize);
        ok = n == 0 || OsReadAt(f, kMasterHeaderSize, records_.data(), records_.size());
    }
    OsClose(f);
    if (!ok) {
        records_.clear();
        return false;
    }
    for (uint32_t i = 0; i < n; ++i) records_[size_t(i) * kMasterRecordSize + kMasterRecordSize - 1] = 0;
    return true;
}

void MasterFile::Assign(const std::vector<MasterEntry>& entries) {
    records_.assign(entries.size() * kMasterRecordSize, 0);
    for (size_t i = 0; i < entries.size(); ++i) PackEntry(entries[i], &records_[i * kMasterRecordSize]);
}

const unsigned char* MasterFile::Record(int32_t r) const {
    if (r < 1 || uint32_t(r) > Count()) return nullptr;
    return &records_[size_t(r - 1) * kMasterRecordSize];
}

void MasterFile::PackEntry(const MasterEntry& e, MasterRecord out) {
    std::memset(out, 0, kMasterRecordSize);
    std::memset(out, ' ', kMasterCodeBytes);
    std::memcpy(out, e.Code.data(), std::min<size_t>(e.Code.size(), kMasterCodeBytes));
    std::string name = TruncateCp932(e.Name.substr(0, e.Name.find('\0')), kMasterNameBytes);
    std::memcpy(out + kMasterNameOffset, name.data(), name.size());
    std::string roman = TruncateCp932(e.Roman.substr(0, e.Roman.find('\0')), kMasterRomanBytes - 1);
    std::memcpy(out + kMasterRomanOffset, roman.data(), roman.size());
}

bool MasterFile::Write(const char* path, const std::vector<MasterEntry>& entries) {
    std::vector<unsigned char> out(kMasterHeaderSize + entries.size() * kMasterRecordSize, 0);
    MakeHeader(out.data(), kMasterMagic, kMasterVersion, kMasterHeaderSize, kMasterRecordSize,
               static_cast<uint32_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i)
        PackEntry(entries[i], &out[kMasterHeaderSize + i * kMasterRecordSize]);
    OsFile* f = OsOpen(path, OpenMode::Create, false);
    if (!f) return false;
    bool ok = OsWriteAt(f, 0, out.data(), out.size());
    OsClose(f);
    return ok;
}

// ---------------------------------------------------------------- names

static size_t BaseStart(const std::string& p) {
    size_t s = p.find_last_of("/\\:");
    return s == std::string::npos ? 0 : s + 1;
}

std::string LogPathOfName(const std::string& name) {
    return name.find('.', BaseStart(name)) == std::string::npos ? name + ".vdb" : name;
}

std::string IndexPathOfLog(const std::string& logPath) {
    size_t dot = logPath.find_last_of('.');
    if (dot == std::string::npos || dot < BaseStart(logPath)) return logPath + ".dx0";
    return logPath.substr(0, dot) + ".dx0";
}

}  // namespace vireon
