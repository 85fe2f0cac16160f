#include "logstore/AreaMaster.h"

#include <cstring>

#include "logstore/LoggerLibrary.h"

AreaEntry JccTable[kAreaTableSize];
AreaEntry JcgTable[kAreaTableSize];
alignas(16) unsigned char MasterHandle[kMasterHandleSize];

namespace {

constexpr int kMasterCountOffset = 4;   // the handle's second 32-bit word
constexpr int kMasterNameOffset = 6;
constexpr int kMasterNameChars = 28;

unsigned char MasterRecord[kMasterRecordSize];

void StoreEntry(AreaEntry& entry, const unsigned char* record) {
    const char* code = reinterpret_cast<const char*>(record);
    char name[kMasterNameChars + 1] = {};
    std::memcpy(name, record + kMasterNameOffset, kMasterNameChars);
    entry.DeletedYm = ParseDeletionMark(name);
    for (int i = 0; i < 6 && code[i] != '\0'; ++i) entry.Code[i] = code[i];
    for (int i = 0; i < kMasterNameChars && name[i] != '\0'; ++i) entry.Name[i] = name[i];
}

}  // namespace

int LoadAreaMaster() {
    std::memset(JccTable, 0, sizeof JccTable);
    std::memset(JcgTable, 0, sizeof JcgTable);
    const LoggerLibrary& lib = TheLoggerLibrary;
    if (!lib.dbf_open || !lib.dbf_read || !lib.dbf_close) return -1;
    if (lib.dbf_open("vireon.mst", MasterHandle) != 0) return -1;

    // Records 1 to N-1 are read, N being the handle's count word; the word is
    // raised by one before the first read, as the library expects of its
    // callers.
    int32_t n;
    std::memcpy(&n, MasterHandle + kMasterCountOffset, sizeof n);
    uint32_t raised = static_cast<uint32_t>(n) + 1u;
    std::memcpy(MasterHandle + kMasterCountOffset, &raised, sizeof raised);

    int jccCount = 0;
    int jcgCount = 0;
    for (int r = 1; r < n; ++r) {
        std::memset(MasterRecord, 0, sizeof MasterRecord);
        if (lib.dbf_read(MasterHandle, r, MasterRecord) != 0) {
            lib.dbf_close(MasterHandle);
            return -1;
        }
        switch (ClassifyMasterCode(reinterpret_cast<const char*>(MasterRecord))) {
        case MasterCodeKind::Jcc: StoreEntry(JccTable[jccCount++], MasterRecord); break;
        case MasterCodeKind::Jcg: StoreEntry(JcgTable[jcgCount++], MasterRecord); break;
        case MasterCodeKind::Skip: break;
        }
        if (jccCount == kAreaTableSize || jcgCount == kAreaTableSize) break;
    }
    lib.dbf_close(MasterHandle);
    // A master that holds no area at all (no records, or none of them a
    // JCC or JCG code) fails as an unreadable one: empty tables would make
    // every unworked list empty, as if nothing were missing.
    return jccCount + jcgCount > 0 ? 0 : -1;
}
