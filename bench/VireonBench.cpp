// vireon-bench: figures for the stand-in library, through its exported entry
// points as the program calls them.
//     vireon-bench [DIR] [--runs N]
// DIR holds (or receives) a log of 1,000,000 generated QSOs with its index;
// without DIR a temporary folder is used and removed. Prints the medians.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "vireon/Generator.h"
#include "vireon/Store.h"
#include "vireon/ToolCommands.h"
#include "vireon/VireonFormat.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#define VX_CALL VIREON_CALL

using namespace vireon;

namespace {

using PfnOpen = int(VX_CALL*)(int, void*, const char*, int);
using PfnClose = int(VX_CALL*)(void*, int);
using PfnRead = int(VX_CALL*)(void*, int, void*);
using PfnIdxOpen = int(VX_CALL*)(const char*, void*);
using PfnIdxClose = int(VX_CALL*)(void*);
using PfnIdxSearch = int(VX_CALL*)(void*, const char*, int);
using PfnIdxNext = int(VX_CALL*)(void*);

void* LoadEntry(void* lib, const char* name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(lib), name));
#else
    return dlsym(lib, name);
#endif
}

std::string ExeDir(const char* argv0) {
#if defined(_WIN32)
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    std::string p(buf, n);
    (void)argv0;
#else
    std::string p = argv0;
#endif
    size_t s = p.find_last_of("/\\");
    return s == std::string::npos ? "." : p.substr(0, s);
}

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

std::string Join(const std::string& d, const char* n) { return d + "/" + n; }

// A small master of synthetic codes, so the benchmark needs no JARL lists.
bool WriteSyntheticMaster(const std::string& path) {
    std::vector<MasterEntry> e;
    char code[16];
    for (int p = 1; p <= 47; ++p) {
        for (int c = 1; c <= 20; ++c) { std::snprintf(code, sizeof code, "%02d%02d", p, c); e.push_back({code, "市", "City"}); }
        for (int c = 1; c <= 10; ++c) { std::snprintf(code, sizeof code, "%02d%03d", p, c); e.push_back({code, "郡", "County"}); }
    }
    for (int w = 1; w <= 23; ++w) { std::snprintf(code, sizeof code, "1001%02d", w); e.push_back({code, "区", "Ward"}); }
    return MasterFile::Write(path.c_str(), e);
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
        else dir = argv[i];
    }
    const uint32_t kCount = 1000000;
    bool temporary = dir.empty();
    if (temporary) {
        dir = "vireon-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
#if defined(_WIN32)
        CreateDirectoryA(dir.c_str(), nullptr);
#else
        mkdir(dir.c_str(), 0755);
#endif
    }
    std::string logPath = Join(dir, kLogFileName), indexPath = Join(dir, kIndexFileName);
    {
        LogFile probe;
        bool reuse = probe.Open(logPath.c_str(), false, true) && probe.Count() == kCount && OsFileExists(indexPath.c_str());
        probe.Close();
        if (!reuse) {
            std::string masterPath = Join(dir, kMasterFileName), error;
            MasterFile master;
            auto t0 = std::chrono::steady_clock::now();
            if (!WriteSyntheticMaster(masterPath) || !master.Open(masterPath.c_str(), false) ||
                !GenerateLog(kCount, 1, master, logPath, indexPath, &error)) {
                std::fprintf(stderr, "vireon-bench: cannot make the log: %s\n", error.c_str());
                return 2;
            }
            std::printf("generate %u QSOs: %.2f s\n", kCount, Seconds(t0, std::chrono::steady_clock::now()));
        }
    }

#if defined(_WIN32)
    void* lib = LoadLibraryA((ExeDir(argv[0]) + "\\vireon50.dll").c_str());
#else
    void* lib = dlopen((ExeDir(argv[0]) + "/vireon50.so").c_str(), RTLD_NOW);
#endif
    if (!lib) {
        std::fprintf(stderr, "vireon-bench: cannot load vireon50 beside the benchmark\n");
        return 2;
    }
    auto open = reinterpret_cast<PfnOpen>(LoadEntry(lib, "VireonOpen"));
    auto close = reinterpret_cast<PfnClose>(LoadEntry(lib, "VireonClose"));
    auto read = reinterpret_cast<PfnRead>(LoadEntry(lib, "KVX_readv"));
    auto idxOpen = reinterpret_cast<PfnIdxOpen>(LoadEntry(lib, "idx_open"));
    auto idxClose = reinterpret_cast<PfnIdxClose>(LoadEntry(lib, "idx_close"));
    auto idxSearch = reinterpret_cast<PfnIdxSearch>(LoadEntry(lib, "idx_search"));
    auto idxNext = reinterpret_cast<PfnIdxNext>(LoadEntry(lib, "idx_next"));
    if (!open || !close || !read || !idxOpen || !idxClose || !idxSearch || !idxNext) {
        std::fprintf(stderr, "vireon-bench: an entry point is missing\n");
        return 2;
    }

    static unsigned char handle[kLogBlockSize];
    static QsoBuffer rec;
    // Sequential scan, as the award tally makes it.
    std::vector<double> rates;
    uint64_t sink = 0;
    for (int run = 0; run < runs; ++run) {
        if (open(0, handle, logPath.c_str(), 0) != 0) {
            std::fprintf(stderr, "vireon-bench: cannot open %s\n", logPath.c_str());
            return 3;
        }
        int32_t n;
        std::memcpy(&n, handle + kLogCountOffset, 4);
        auto t0 = std::chrono::steady_clock::now();
        for (int32_t r = 1; r <= n; ++r) {
            if (read(handle, r, &rec) != 0) { std::fprintf(stderr, "read %d failed\n", r); return 3; }
            sink += static_cast<unsigned char>(rec.QSL[2]);
        }
        double s = Seconds(t0, std::chrono::steady_clock::now());
        close(handle, 0);
        rates.push_back(n / s);
    }
    std::printf("KVX_readv sequential over %u records: median %.2f million records/s (%d runs)\n", kCount,
                bench::Median(rates) / 1e6, runs);

    // Look-ups: idx_search alone, and idx_search followed by idx_next over
    // every entry with the same six-character key (at most 1000).
    static unsigned char ih[kIndexBlockSize];
    if (idxOpen(indexPath.c_str(), ih) != 0) { std::fprintf(stderr, "cannot open the index\n"); return 3; }
    std::vector<std::string> keys;
    {
        IndexFile ix;
        ix.Open(indexPath.c_str(), true);
        char call[kIndexCallBytes + 1] = {};
        uint32_t recNo;
        for (uint32_t i = 0; i < 1000; ++i) {
            ix.Entry(uint32_t((uint64_t(i) * 2654435761u) % ix.Count()), call, &recNo);
            keys.push_back(std::string(call, strnlen(call, 6)));
        }
        keys.push_back(kBusyCall);
    }
    std::vector<double> searchUs, walkUs;
    size_t longest = 0;
    for (int run = 0; run < runs; ++run) {
        for (const std::string& k : keys) {
            char key[8] = {};
            std::memcpy(key, k.data(), std::min<size_t>(k.size(), 6));
            auto t0 = std::chrono::steady_clock::now();
            int r = idxSearch(ih, key, 0);
            auto t1 = std::chrono::steady_clock::now();
            size_t walked = 0;
            while (r > 0 && walked < 1000) { r = idxNext(ih); ++walked; }
            auto t2 = std::chrono::steady_clock::now();
            searchUs.push_back(Seconds(t0, t1) * 1e6);
            walkUs.push_back(Seconds(t0, t2) * 1e6);
            longest = std::max(longest, walked);
        }
    }
    idxClose(ih);
    std::sort(searchUs.begin(), searchUs.end());
    std::sort(walkUs.begin(), walkUs.end());
    std::printf("idx_search: median %.1f us, 99th percentile %.1f us, max %.1f us (%zu look-ups)\n", bench::Median(searchUs),
                searchUs[searchUs.size() * 99 / 100], searchUs.back(), searchUs.size());
    std::printf("idx_search + idx_next walk: median %.1f us, max %.1f us (longest walk %zu entries)\n", bench::Median(walkUs),
                walkUs.back(), longest);

    auto sizeOf = [](const std::string& p) {
        OsFile* f = OsOpen(p.c_str(), OpenMode::Read, true);
        int64_t s = OsSize(f);
        OsClose(f);
        return s;
    };
    std::printf("files: vireon.vdb %.1f MB, vireon.dx0 %.1f MB (%u records)\n", sizeOf(logPath) / 1e6,
                sizeOf(indexPath) / 1e6, kCount);
    if (sink == 42) std::printf(" ");
    if (temporary) {
        std::remove(logPath.c_str());
        std::remove(indexPath.c_str());
        std::remove(Join(dir, kMasterFileName).c_str());
#if defined(_WIN32)
        RemoveDirectoryA(dir.c_str());
#else
        rmdir(dir.c_str());
#endif
    }
    return 0;
}
