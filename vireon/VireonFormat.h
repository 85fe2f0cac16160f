// The stand-in logging library's file formats and record layouts, shared by
// the library, vireon-tool and the tests. docs/file-formats.md describes the
// same bytes for readers in other languages; keep the two in step.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "logstore/LibraryContract.h"

namespace vireon {

// ---- the record the caller's read buffer receives (packed; 872 bytes, 900 in a
// 64-bit build: logstore/LibraryContract.h) ----
#pragma pack(push, 1)
struct QsoBuffer {
    char Call[21];
    char Date[9];
    char Time[7];
    char Code[7];
    char GL[7];
    char QSL[6];
    char His[764];
    const char* My;
    const char* Freq;
    const char* Mode;
    const char* Name;
    const char* QTH;
    const char* Remarks1;
    const char* Remarks2;
    char Reserved[23];
};
#pragma pack(pop)
QSO_LAYOUT_CHECK(QsoBuffer);

constexpr int kLogBlockSize = 3928;       // caller's log handle
constexpr int kLogCountOffset = 1745;     // int32 record count, unaligned
constexpr int kIndexBlockSize = 272;      // caller's index handle
constexpr int kMasterBlockSize = 284;     // caller's master handle
constexpr int kMasterRecordSize = 56;     // what dbf_read fills
constexpr int kSeekTextSize = 528;

// ---- the fields of a stored QSO: slot offset and width (text + NUL) ----
enum QsoField { kCall, kDate, kTime, kCode, kGL, kQSL, kHis, kMy, kFreq, kMode,
                kName, kQTH, kRemarks1, kRemarks2, kFieldCount };

struct FieldSlot {
    const char* Name;   // as in `vireon-tool dump` and the docs
    uint16_t Offset;    // within the stored 256-byte record
    uint16_t Width;     // bytes including the terminating NUL
};

constexpr FieldSlot kFieldSlots[kFieldCount] = {
    {"Call", 0, 21},   {"Date", 21, 9},  {"Time", 30, 7},  {"Code", 37, 7},
    {"GL", 44, 7},     {"QSL", 51, 6},   {"His", 57, 16},  {"My", 73, 16},
    {"Freq", 89, 16},  {"Mode", 105, 16}, {"Name", 121, 24}, {"QTH", 145, 32},
    {"Remarks1", 177, 39}, {"Remarks2", 216, 39},
};
// QSL positions every writer fills (blank = no mark): 0 sent, 1 via, 2 received.
constexpr size_t kQslPositions = 3;
// Longest text a field holds (bytes, CP932).
constexpr int MaxFieldLength(QsoField f) { return kFieldSlots[f].Width - 1; }

// ---- vireon.vdb: the log ----
constexpr char kLogMagic[8] = {'V', 'I', 'R', 'E', 'O', 'N', 'D', 'B'};
constexpr uint32_t kLogVersion = 1;
constexpr uint32_t kLogHeaderSize = 64;
constexpr uint32_t kLogRecordSize = 256;
constexpr uint32_t kLogRecordMarkOffset = 255;
constexpr uint8_t kLogRecordMark = 0x56;       // 'V': a written record

// ---- vireon.dx0 / call.idx: the call index ----
constexpr char kIndexMagic[8] = {'V', 'I', 'R', 'E', 'O', 'N', 'I', 'X'};
constexpr uint32_t kIndexVersion = 1;
constexpr uint32_t kIndexHeaderSize = 32;
constexpr uint32_t kIndexEntrySize = 24;
constexpr uint32_t kIndexCallBytes = 20;      // the call, NUL-padded
constexpr uint32_t kIndexFenceInterval = 1024;   // entries per fence key
constexpr int kIndexFenceIntervalAt = 28;        // header word

// ---- vireon.mst: the area master ----
constexpr char kMasterMagic[8] = {'V', 'I', 'R', 'E', 'O', 'N', 'M', 'S'};
constexpr uint32_t kMasterVersion = 1;
constexpr uint32_t kMasterHeaderSize = 32;
constexpr int kMasterCodeBytes = 6;       // bytes 0-5
constexpr int kMasterNameOffset = 6;      // bytes 6-33
constexpr int kMasterNameBytes = 28;
constexpr int kMasterRomanOffset = 34;    // bytes 34-55
constexpr int kMasterRomanBytes = 22;

// Header fields common to the three files (little-endian 32-bit words):
// magic (8 bytes), version, header size, record size, record count,
// check = FNV-1a of bytes 0..23.
constexpr int kHeaderVersionAt = 8;
constexpr int kHeaderSizeAt = 12;
constexpr int kHeaderRecordSizeAt = 16;
constexpr int kHeaderCountAt = 20;
constexpr int kHeaderCheckAt = 24;

inline uint32_t GetU32(const void* p) {
    const unsigned char* b = static_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}
inline void PutU32(void* p, uint32_t v) {
    unsigned char* b = static_cast<unsigned char*>(p);
    b[0] = uint8_t(v); b[1] = uint8_t(v >> 8); b[2] = uint8_t(v >> 16); b[3] = uint8_t(v >> 24);
}
inline uint32_t Fnv1a(const void* data, size_t n) {
    const unsigned char* b = static_cast<const unsigned char*>(data);
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 16777619u;
    return h;
}

// Fills the first 28 bytes of a file header; the rest stays as given.
inline void MakeHeader(unsigned char* h, const char magic[8], uint32_t version,
                       uint32_t headerSize, uint32_t recordSize, uint32_t count) {
    std::memcpy(h, magic, 8);
    PutU32(h + kHeaderVersionAt, version);
    PutU32(h + kHeaderSizeAt, headerSize);
    PutU32(h + kHeaderRecordSizeAt, recordSize);
    PutU32(h + kHeaderCountAt, count);
    PutU32(h + kHeaderCheckAt, Fnv1a(h, 24));
}

// True when the header carries the magic, version, sizes and a valid check.
inline bool HeaderIsValid(const unsigned char* h, const char magic[8], uint32_t version,
                          uint32_t headerSize, uint32_t recordSize) {
    return std::memcmp(h, magic, 8) == 0 && GetU32(h + kHeaderVersionAt) == version &&
           GetU32(h + kHeaderSizeAt) == headerSize &&
           GetU32(h + kHeaderRecordSizeAt) == recordSize &&
           GetU32(h + kHeaderCheckAt) == Fnv1a(h, 24);
}

}  // namespace vireon
