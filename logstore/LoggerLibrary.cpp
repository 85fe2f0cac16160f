#include "logstore/LoggerLibrary.h"

#include "logstore/LogAccess.h"
#include "logstore/PlatformLibrary.h"

LoggerLibrary TheLoggerLibrary;

namespace {

template <typename Fn>
void Resolve(void* module, Fn& slot, const char* name) {
    slot = reinterpret_cast<Fn>(FindLoggerSymbol(module, name));
}

}  // namespace

int LoadLoggerLibrary() {
    if (TheLoggerLibrary.Module) FreeLoggerLibrary();
    void* module = OpenLoggerModule();
    if (!module) return -1;
    LoggerLibrary& lib = TheLoggerLibrary;
    lib.Module = module;
    // The library's own order of its entry points.
    Resolve(module, lib.VireonOpen, "VireonOpen");
    Resolve(module, lib.VireonClose, "VireonClose");
    Resolve(module, lib.KVX_readv, "KVX_readv");
    Resolve(module, lib.DbsDbrOpen, "DbsDbrOpen");
    Resolve(module, lib.DbsDbrClose, "DbsDbrClose");
    Resolve(module, lib.DbsDbrRead, "DbsDbrRead");
    Resolve(module, lib.dbf_create, "dbf_create");
    Resolve(module, lib.dbf_open, "dbf_open");
    Resolve(module, lib.dbf_close, "dbf_close");
    Resolve(module, lib.DB_append, "DB_append");
    Resolve(module, lib.dbf_read, "dbf_read");
    Resolve(module, lib.QSL_Rcv, "QSL_Rcv");
    Resolve(module, lib.QSL_Send, "QSL_Send");
    Resolve(module, lib.KVX_seek, "KVX_seek");
    Resolve(module, lib.KVX_top, "KVX_top");
    Resolve(module, lib.idx_top, "idx_top");
    Resolve(module, lib.idx_bottom, "idx_bottom");
    Resolve(module, lib.idx_search, "idx_search");
    Resolve(module, lib.idx_open, "idx_open");
    Resolve(module, lib.idx_close, "idx_close");
    Resolve(module, lib.idx_next, "idx_next");
    Resolve(module, lib.FreqPCheck, "FreqPCheck");
    Resolve(module, lib.SetDbsShare, "SetDbsShare");
    return 0;
}

void FreeLoggerLibrary() {
    void* module = TheLoggerLibrary.Module;
    TheLoggerLibrary = LoggerLibrary{};
    ForgetOpenLogHandles();
    CloseLoggerModule(module);
}

void* FindLoggerEntry(const char* name) {
    if (!TheLoggerLibrary.Module || !name) return nullptr;
    return FindLoggerSymbol(TheLoggerLibrary.Module, name);
}

int BandOfFrequency(const char* freq) {
    if (!TheLoggerLibrary.FreqPCheck || !freq) return -1;
    int band = TheLoggerLibrary.FreqPCheck(freq);
    return (band >= 0 && band <= 13) ? band : -1;
}

const char* BandName(int band) {
    static const char* const kNames[kBandCount] = {"1.9", "3.5", "7",  "10",  "14",  "18",   "21",
                                                   "24",  "28",  "50", "144", "430", "1200", "2400"};
    return band >= 0 && band < kBandCount ? kNames[band] : "";
}
