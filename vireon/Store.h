// The log, call index and area master files: reading and writing them.
// Portable; the operating system is reached only through Platform.h.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "vireon/Platform.h"
#include "vireon/VireonFormat.h"

namespace vireon {

// ---- CP932 and UTF-8 text helpers ----
bool IsCp932LeadByte(unsigned char c);
bool IsValidUtf8(const std::string& s);
// True when every byte belongs to a character code page 932 defines (ASCII,
// half-width katakana, the defined double-byte characters).
bool IsValidCp932(const std::string& s);
// The text with every byte that belongs to no valid character of that
// encoding replaced by '?'; *bad counts the bytes replaced.
std::string RepairUtf8(const std::string& s, size_t* bad);
std::string RepairCp932(const std::string& s, size_t* bad);
// The longest prefix of s of at most maxBytes bytes that does not split a
// double-byte character. *cut is set when something was dropped.
std::string TruncateCp932(const std::string& s, size_t maxBytes, bool* cut = nullptr);

// Band index 0..13 of a frequency text in MHz (the Japanese amateur bands,
// docs/file-formats.md), -1 for anything else, also null or unparsable text.
int BandOfFrequencyText(const char* mhz);
// Lower edge of a band in MHz as text ("7.000"), "" for a bad index.
const char* BandLowerEdgeText(int band);

// ---- one stored QSO ----
struct QsoTexts {
    std::string Field[kFieldCount];   // CP932 texts, by QsoField
};
using StoredRecord = unsigned char[kLogRecordSize];

// Packs the texts into the stored layout, each cut to its field's width at a
// character boundary; returns a bit set (1 << field) of the fields cut.
uint32_t PackRecord(const QsoTexts& q, StoredRecord out);
QsoTexts UnpackRecord(const unsigned char* rec);

// ---- the log file ----
class LogFile {
public:
    LogFile() = default;
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // False for a missing file or anything that is not a whole log of this
    // version. The count is taken from the header now and kept.
    bool Open(const char* path, bool writable, bool share);
    void Close();
    uint32_t Count() const { return count_; }
    bool Writable() const { return writable_; }

    // The stored record 1..Count(), its texts NUL-terminated within their
    // slots; valid until the next call on this object. Null when out of range,
    // unreadable or not a written record.
    const unsigned char* Record(int32_t recNo);

    // Appends after the last record in the file (also after records others
    // appended) and raises this object's count to the file's new count.
    bool Append(const StoredRecord rec);
    // Appends many records in one write (the tool's bulk path).
    bool AppendMany(const unsigned char* recs, uint32_t n);
    // Sets one character of a record's QSL field (0 = clear it to a blank).
    bool SetQslMark(int32_t recNo, int position, char mark);

    static bool CreateEmpty(const char* path);

private:
    bool ReadHeaderCount(uint32_t* count);
    bool FillBlock(uint32_t first, uint32_t n);

    OsFile* file_ = nullptr;
    bool writable_ = false;
    uint32_t count_ = 0;
    // Records are read in blocks (1 MB): a sequential scan costs one read per
    // block, which matters most under Wine, where each read costs more.
    static constexpr uint32_t kBlockRecords = 4096;
    static constexpr uint32_t kLookupRecords = 512;   // 128 KB
    std::vector<unsigned char> block_;
    uint32_t blockFirst_ = 0;   // record number of block_[0], 0 = empty
    uint32_t blockCount_ = 0;
    uint32_t lastRead_ = 0;
};

// ---- the call index ----
class IndexFile {
public:
    IndexFile() = default;
    ~IndexFile();
    IndexFile(const IndexFile&) = delete;
    IndexFile& operator=(const IndexFile&) = delete;

    bool Open(const char* path, bool share);
    void Close();
    uint32_t Count() const { return count_; }
    // Entry i (0-based): its call (20 bytes, NUL-padded) and record number.
    bool Entry(uint32_t i, char call[kIndexCallBytes], uint32_t* recNo);
    // First entry whose call's first k bytes are not less than the prefix's
    // (bytes unsigned, calls NUL-padded); Count() when there is none.
    uint32_t LowerBound(const char* prefix, size_t k);
    // True when entry i's call begins with the k bytes of the prefix.
    bool EntryHasPrefix(uint32_t i, const char* prefix, size_t k);

    // Writes an index of the given (call, record number) pairs, sorted by
    // call then record number, with its fence.
    static bool Write(const char* path, std::vector<std::pair<std::string, uint32_t>> entries);

private:
    bool LoadBlock(uint32_t block);
    bool LoadFence();
    uint32_t SearchWithin(uint32_t lo, uint32_t hi, const char* prefix, size_t k);

    OsFile* file_ = nullptr;
    uint32_t count_ = 0;
    // Entries are read a block of kIndexFenceInterval at a time; the fence
    // (the first call of every block, kept after the entries) is read at the
    // first search, so a look-up costs one block read.
    std::vector<unsigned char> block_;
    uint32_t blockIndex_ = 0;
    bool blockLoaded_ = false;
    std::vector<char> fence_;
    enum class Fence { NotRead, Usable, Unusable } fenceState_ = Fence::NotRead;
};

// Builds the index of a log file from its records.
bool BuildIndexOfLog(const char* logPath, const char* indexPath, std::string* error);

// ---- the area master ----
using MasterRecord = unsigned char[kMasterRecordSize];

struct MasterEntry {
    std::string Code;    // up to 6 characters, blank-padded when written
    std::string Name;    // CP932, with the deletion mark; cut to 28 bytes
    std::string Roman;   // cut to 21 bytes
};

class MasterFile {
public:
    bool Open(const char* path, bool share);
    // The given entries, as Write would store them, without a file.
    void Assign(const std::vector<MasterEntry>& entries);
    uint32_t Count() const { return static_cast<uint32_t>(records_.size() / kMasterRecordSize); }
    // Record 1..Count(), 56 bytes; null out of range.
    const unsigned char* Record(int32_t r) const;
    static void PackEntry(const MasterEntry& e, MasterRecord out);
    static bool Write(const char* path, const std::vector<MasterEntry>& entries);

private:
    std::vector<unsigned char> records_;
};

// The index file that belongs to a log: the log's name with ".dx0" in place
// of its extension.
std::string IndexPathOfLog(const std::string& logPath);
// What a log name means: a name without extension gets ".vdb".
std::string LogPathOfName(const std::string& name);

}  // namespace vireon
