// The stand-in library as the tests load it: copied into the test's own
// folder and loaded by full path (dlopen / LoadLibraryA), entry points found
// by their bare names. Logs come from the real vireon-tool.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "logstore/LibraryContract.h"

#define VX_CALL VIREON_CALL

namespace vxtest {

// The entry points with the argument lists the library documents.
struct Vireon {
    void* Module = nullptr;
    int(VX_CALL* VireonOpen)(int, void*, const char*, int) = nullptr;
    int(VX_CALL* VireonClose)(void*, int) = nullptr;
    int(VX_CALL* KVX_readv)(void*, int, void*) = nullptr;
    int(VX_CALL* KVX_seek)(void*, char*, int) = nullptr;
    int(VX_CALL* KVX_top)(void*) = nullptr;
    int(VX_CALL* DB_append)(void*, const void*) = nullptr;
    int(VX_CALL* QSL_Rcv)(void*, int, int) = nullptr;
    int(VX_CALL* QSL_Send)(void*, int, int) = nullptr;
    int(VX_CALL* dbf_create)(const char*, int) = nullptr;
    int(VX_CALL* dbf_open)(const char*, void*) = nullptr;
    int(VX_CALL* dbf_read)(void*, int, void*) = nullptr;
    int(VX_CALL* dbf_close)(void*) = nullptr;
    int(VX_CALL* idx_open)(const char*, void*) = nullptr;
    int(VX_CALL* idx_close)(void*) = nullptr;
    int(VX_CALL* idx_search)(void*, const char*, int) = nullptr;
    int(VX_CALL* idx_next)(void*) = nullptr;
    int(VX_CALL* idx_top)(void*) = nullptr;
    int(VX_CALL* idx_bottom)(void*) = nullptr;
    int(VX_CALL* FreqPCheck)(const char*) = nullptr;
    int(VX_CALL* SetDbsShare)(int) = nullptr;
    int(VX_CALL* DbsDbrOpen)() = nullptr;
    int(VX_CALL* DbsDbrClose)() = nullptr;
    int(VX_CALL* DbsDbrRead)() = nullptr;
    int(VX_CALL* VireonDebugCallCount)(const char*) = nullptr;
};

// Every name a library of this kind may export.
extern const char* const kEntryNames[23];

// Loads `variant` (vireon50, vireon50-noread, vireon50-noopen) copied into
// dir; null entry points for names it lacks.
bool LoadVireon(const std::string& dir, const std::string& variant, Vireon* v);
void FreeVireon(Vireon* v);
void* FindEntry(const Vireon& v, const char* name);

// Test folder (made the current directory) with the library loaded in it.
class VireonFolder : public ::testing::Test {
protected:
    VireonFolder() : dir_("vireon", true) {}
    void SetUp() override;
    void TearDown() override { FreeVireon(&lib_); }
    // Runs vireon-tool in the folder; an exit code other than the one
    // expected fails the test.
    std::string Tool(const std::vector<std::string>& args, int expectedExit = 0);
    // The log of kSmallAdif imported by the tool (records listed in kSmallLog).
    void MakeSmallLog();
    // A master from a small JARL-format list written here.
    void MakeSmallMaster();
    std::string File(const std::string& name) const { return dir_.File(name); }

    test::TempDir dir_;
    Vireon lib_;
};

// The small log: what import-adif must make of kSmallAdif, in record order.
struct SmallQso {
    const char *Call, *Date, *Time, *His, *My, *Freq, *Mode, *Code, *GL, *QSL, *Name, *QTH, *Remarks1, *Remarks2;
};
extern const std::string kSmallAdif;   // UTF-8, 8 records, 2 of them bad
extern const std::vector<SmallQso> kSmallLog;

int32_t CountAt1745(const unsigned char* block);

}  // namespace vxtest
