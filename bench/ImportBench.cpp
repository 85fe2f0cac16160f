// vireon-import-bench: time and peak memory of import-adif on a large file.
//     vireon-import-bench [DIR] [--records N] [--runs N]
// Builds (or reuses, in DIR) an ADIF file of N records (default 1,000,000)
// from real records repeated (the shared ja-ft8-2021.adi when it is beside
// this clone, else a few written here), each copy dated a little later, once
// in date order (as exports are) and once shuffled (the sort's worst case),
// and imports each RUNS times (default 3) with the tool's own import
// function, printing the median time and the process's peak memory (the
// high-water mark, which includes the benchmark's own few megabytes).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "TestSupport.h"
#include "vireon/Adif.h"
#include "vireon/ToolCommands.h"

#if defined(_WIN32)
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

// Peak memory of this process so far, in MB: the resident high-water mark
// (Linux), the peak working set and peak committed bytes (Windows).
std::string PeakMemory() {
    char buf[96];
#if defined(_WIN32)
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c)) return "unknown";
    std::snprintf(buf, sizeof buf, "%.1f MB working set, %.1f MB committed", c.PeakWorkingSetSize / 1048576.0,
                  c.PeakPagefileUsage / 1048576.0);
#else
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    std::snprintf(buf, sizeof buf, "%.1f MB resident", u.ru_maxrss / 1024.0);
#endif
    return buf;
}

// ADIF records to repeat, each with its fields as they were written.
std::vector<vireon::AdifRecord> SourceRecords() {
    std::string path = test::SharedDataFile("adif/ja-ft8-2021.adi");
    std::string bytes;
    if (!path.empty()) {
        bytes = test::ReadFileBytes(path);
        std::printf("records repeated: %s\n", path.c_str());
    } else {
        bytes =
            "<CALL:6>JA1ABC <QSO_DATE:8>20210206 <TIME_ON:6>050800 <FREQ:5>7.041 <MODE:2>CW <RST_SENT:3>599 "
            "<RST_RCVD:3>579 <CNTY:4>1001 <QSL_RCVD:1>Y <QSL_SENT:1>Y <NAME:6>\xE4\xBD\x90\xE8\x97\xA4 <EOR>\n"
            "<CALL:8>JA0AMA/1 <QSO_DATE:8>20210207 <TIME_ON:4>1200 <BAND:3>40m <MODE:3>FT8 <STATE:2>12 "
            "<GRIDSQUARE:4>PM95 <COMMENT:8>FB QSO 1 <EOR>\n"
            "<CALL:4>W1AW <QSO_DATE:8>20210208 <TIME_ON:4>0101 <FREQ:6>14.074 <MODE:3>FT8 <DXCC:3>291 <EOR>\n";
        std::printf("records repeated: 3 written here (no shared data beside this clone)\n");
    }
    return vireon::ReadAdifRecords(bytes);
}

// Writes n records: copy k of the sources is dated k / copies-per-day days
// after 1990-01-01, so the file is in date order; shuffled, the records are
// written in a random order.
bool WriteAdif(const std::string& path, uint32_t n, bool shuffled) {
    std::vector<vireon::AdifRecord> src = SourceRecords();
    if (src.empty()) return false;
    std::vector<uint32_t> order(n);
    for (uint32_t i = 0; i < n; ++i) order[i] = i;
    if (shuffled) {
        uint64_t s = 88172645463325252ULL;
        for (uint32_t i = n; i > 1; --i) {
            s ^= s << 13; s ^= s >> 7; s ^= s << 17;
            std::swap(order[i - 1], order[uint32_t(s % i)]);
        }
    }
    std::ofstream out(path, std::ios::binary);
    out << "written by vireon-import-bench\n<ADIF_VER:5>3.1.4 <EOH>\n";
    std::string rec;
    for (uint32_t i : order) {
        const vireon::AdifRecord& r = src[i % src.size()];
        // 60 records a day, on years of twelve 28-day months from 1990 on:
        // 1,000,000 records reach 2039.
        uint32_t day = i / 60, y = 1990 + day / 336, m = 1 + day % 336 / 28, d = 1 + day % 28;
        char date[16], time[16];
        std::snprintf(date, sizeof date, "%04u%02u%02u", y > 2051 ? 2051 : y, m, d);
        std::snprintf(time, sizeof time, "%02u%02u", i % 60 / 3, i % 3 * 20);
        rec.clear();
        for (const vireon::AdifField& f : r.Fields) {
            const std::string& v = f.Name == "QSO_DATE" ? std::string(date) : f.Name == "TIME_ON" ? std::string(time) : f.Value;
            rec += "<" + f.Name + ":" + std::to_string(v.size()) + ">" + v + " ";
        }
        rec += "<EOR>\n";
        out << rec;
    }
    return bool(out);
}

long long FileSize(const std::string& path) {
    std::ifstream f(path, std::ios::binary | std::ios::ate);
    return f ? static_cast<long long>(f.tellg()) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir;
    uint32_t records = 1000000;
    int runs = 3;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--records") == 0 && i + 1 < argc) records = uint32_t(std::atol(argv[++i]));
        else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
        else dir = argv[i];
    }
    test::TempDir temp("import-bench");
    if (dir.empty()) dir = temp.Path();
    std::printf("peak memory before importing: %s\n", PeakMemory().c_str());
    for (bool shuffled : {false, true}) {
        std::string adif = test::JoinPath(dir, shuffled ? "import-shuffled.adi" : "import-sorted.adi");
        if (!test::FileExists(adif) && !WriteAdif(adif, records, shuffled)) {
            std::fprintf(stderr, "vireon-import-bench: cannot write %s\n", adif.c_str());
            return 2;
        }
        std::vector<double> times;
        for (int r = 0; r < runs; ++r) {
            std::ostringstream out, err;
            auto t0 = Clock::now();
            vireon::ImportOptions options;
            options.Replace = true;
            int code = vireon::ImportAdif(adif, dir, options, out, err);
            times.push_back(std::chrono::duration<double>(Clock::now() - t0).count());
            if (code > 1) {
                std::fprintf(stderr, "vireon-import-bench: import failed (%d): %s\n", code, err.str().c_str());
                return 2;
            }
            if (r == 0) {
                std::string report = out.str();
                size_t at = report.find("imported ");
                std::printf("%s: %s", shuffled ? "shuffled" : "in date order",
                            at == std::string::npos ? "no summary\n" : report.substr(at, report.find('\n', at) - at + 1).c_str());
            }
        }
        std::printf("import-adif %u records %s (%.0f MB file): %.2f s (median of %d)\n", records,
                    shuffled ? "shuffled" : "in date order", double(FileSize(adif)) / 1048576.0,
                    bench::Median(times), runs);
        std::printf("peak memory so far: %s\n", PeakMemory().c_str());
    }
    return 0;
}
