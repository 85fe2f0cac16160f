// Speed and memory of the award tallies on a large generated log.
//
//   awards-bench [--qsos N] [--runs R] [--dir FOLDER]   (FOLDER: an absolute path)
//
// Makes (once, then reuses) a log of N QSOs with vireon-tool in FOLDER, with
// a master from the shared JARL lists when they are present, and prints the
// median time of a bare KVX_readv loop over the log and of each tally,
// measured in the same run, with their ratio; the time to build the rows of
// a JCC full list; and the peak memory of a tally on a 1,000-QSO log and on
// the large one, each measured in a process of its own.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "TestSupport.h"
#include "awards/ApplicationList.h"
#include "awards/AwardCount.h"
#include "awards/AwardFilter.h"
#include "awards/AwardList.h"
#include "awards/AwardTally.h"
#include "logstore/AreaMaster.h"
#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"

#if defined(_WIN32)
#include <direct.h>
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

void MakeDir(const std::string& dir) {
#if defined(_WIN32)
    _mkdir(dir.c_str());
#else
    mkdir(dir.c_str(), 0755);
#endif
}

long PeakMemoryKb() {
#if defined(_WIN32)
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc)) return -1;
    return static_cast<long>(pmc.PeakWorkingSetSize / 1024);
#else
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The number of records of the log in the current folder, or -1.
int CountHere() {
    if (LoadLoggerLibrary() != 0) return -1;
    const int n = CountLogRecords();
    FreeLoggerLibrary();
    return n;
}

// A folder holding the library, a master and a log of `qsos` QSOs, made
// unless it is already there. Leaves the folder as the current directory.
bool PrepareFolder(const std::string& dir, int qsos) {
    MakeDir(dir);
    test::CopyFileTo(test::BinFile(test::LibraryFileName()), test::JoinPath(dir, test::LibraryFileName()));
    if (!bench::EnterFolder(dir)) {
        std::fprintf(stderr, "cannot enter %s\n", dir.c_str());
        return false;
    }
    if (CountHere() == qsos) return true;
    std::string output;
    const std::string jcc = test::SharedDataFile("jarl/jcc-list.txt");
    const std::string jcg = test::SharedDataFile("jarl/jcg-list.txt");
    if (!jcc.empty() && !jcg.empty()) {
        if (test::RunVireonTool({"make-master", "--jcc", jcc, "--jcg", jcg}, dir, &output) != 0) {
            std::fprintf(stderr, "make-master failed:\n%s\n", output.c_str());
            return false;
        }
    } else {
        std::printf("note: no shared JARL lists, the JCC/JCG tables stay empty\n");
    }
    std::printf("generating %d QSOs in %s ...\n", qsos, dir.c_str());
    std::fflush(stdout);
    if (test::RunVireonTool({"generate", std::to_string(qsos), "--replace"}, dir, &output) != 0) {
        std::fprintf(stderr, "generate failed:\n%s\n", output.c_str());
        return false;
    }
    return CountHere() == qsos;
}

void LoadMaster() {
    if (LoadLoggerLibrary() == 0) {
        LoadAreaMaster();
        FreeLoggerLibrary();
    }
}

void SelectEverything(int32_t kind) {
    AwardFilter = {};
    AwardFilter.AwardKind = kind;
    for (int b = 0; b < kBandCount; ++b) AwardFilter.BandSelected[b] = 1;
    AwardFilter.EndDate = 20991231;
}

volatile unsigned g_sink;

// The same frame as a tally with nothing but the reads.
void BareReadLoop() {
    if (LoadLoggerLibrary() != 0) return;
    const int n = CountLogRecords();
    OpenLog();
    unsigned sum = 0;
    for (int r = 1; r <= n; ++r)
        if (QsoRecord* q = ReadLogRecord(r)) sum += static_cast<unsigned char>(q->Date[0]);
    CloseLog();
    FreeLoggerLibrary();
    g_sink = sum;
}

bool RunTally(int32_t kind) {
    SelectEverything(kind);
    switch (kind) {
    case Ajd: return TallyAjd();
    case Waja: return TallyWaja();
    default: return TallyJccJcg();
    }
}

int CountedQsos(int32_t kind) {
    const AreaStat* t = kind == Ajd ? AjdStats : kind == Waja ? WajaStats : AreaStats;
    const int n = kind == Ajd ? kAjdAreaCount : kind == Waja ? kPrefectureCount + 1 : kAreaTableSize;
    int total = 0;
    for (int i = 0; i < n; ++i) total += t[i].QsoCount;
    return total;
}

// Child process: one tally of `kind` in the current folder, then its peak.
int PeakRun(int32_t kind) {
    LoadMaster();
    const long before = PeakMemoryKb();
    if (!RunTally(kind)) return 1;
    std::printf("peak_kb %ld %ld %d\n", before, PeakMemoryKb(), CountedQsos(kind));
    return 0;
}

bool MeasurePeak(const std::string& dir, int32_t kind, long* before, long* after) {
    std::string output;
    const int code = test::RunProgram(test::BinFile(test::ExeName("awards-bench")),
                                      {"--peak", std::to_string(kind)}, &output, dir);
    int counted = 0;
    const char* line = std::strstr(output.c_str(), "peak_kb ");
    if (code != 0 || !line || std::sscanf(line, "peak_kb %ld %ld %d", before, after, &counted) != 3) {
        std::fprintf(stderr, "peak run in %s failed (%d):\n%s\n", dir.c_str(), code, output.c_str());
        return false;
    }
    return true;
}

const char* KindName(int32_t kind) {
    switch (kind) {
    case Ajd: return "AJD";
    case Waja: return "WAJA";
    case Jcc: return "JCC";
    default: return "JCG";
    }
}

}  // namespace

int main(int argc, char** argv) {
    int qsos = 1000000, runs = 5;
    std::string dir = test::JoinPath(test::BinDir(), "../awards-bench");
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--peak" && i + 1 < argc) return PeakRun(std::atoi(argv[i + 1]));
        if (a == "--qsos" && i + 1 < argc) qsos = std::atoi(argv[++i]);
        else if (a == "--runs" && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--dir" && i + 1 < argc) dir = argv[++i];
        else {
            std::fprintf(stderr, "usage: awards-bench [--qsos N] [--runs R] [--dir FOLDER]\n");
            return 2;
        }
    }
    const std::string small = dir + "-1000";
    const std::string large = dir + "-" + std::to_string(qsos);
    if (!PrepareFolder(small, 1000) || !PrepareFolder(large, qsos)) return 1;

    LoadMaster();
    const int32_t kinds[] = {Ajd, Waja, Jcc, Jcg};
    std::vector<double> bare, tally[4];
    BareReadLoop();   // warm the file cache once
    for (int run = 0; run < runs; ++run) {
        bare.push_back(Seconds(BareReadLoop));
        for (int k = 0; k < 4; ++k) tally[k].push_back(Seconds([&] { RunTally(kinds[k]); }));
    }
    const double bareMedian = bench::Median(bare);
    std::printf("log of %d QSOs, %d runs, medians\n", qsos, runs);
    std::printf("  bare KVX_readv loop  %8.1f ms\n", bareMedian * 1000);
    for (int k = 0; k < 4; ++k) {
        RunTally(kinds[k]);
        const double m = bench::Median(tally[k]);
        std::printf("  %-4s tally           %8.1f ms   %.2fx   (%d QSOs counted)\n", KindName(kinds[k]),
                    m * 1000, bareMedian > 0 ? m / bareMedian : 0.0, CountedQsos(kinds[k]));
    }

    // The rows of a JCC full list from the statistics just made.
    RunTally(Jcc);
    AwardStatistics stats;
    stats.Kind = Jcc;
    std::memcpy(stats.Areas, AreaStats, sizeof AreaStats);
    AwardCriteria fullList = AwardFilter;
    fullList.ShowFullList = 1;
    ListRows rows;
    std::vector<double> build;
    for (int run = 0; run < std::max(runs, 20); ++run)
        build.push_back(Seconds([&] { BuildAwardRows(fullList, stats, JccTable, rows); }));
    std::printf("  JCC full list rows   %8.3f ms   (%d rows)\n", bench::Median(build) * 1000, rows.Count());

    // The application list of a JCC search of the whole log: the first
    // confirmed QSO of each area read back, checked against the search, and
    // the file's text.
    AwardCriteria jcc = AwardFilter;
    jcc.AwardKind = Jcc;
    AwardStatistics searched;
    TallyLoggerLog(jcc, JccTable, searched);
    std::vector<double> application;
    size_t bytes = 0, areas = 0;
    bool again = false;
    for (int run = 0; run < runs; ++run)
        application.push_back(Seconds([&] {
            std::vector<ApplicationEntry> entries;
            std::vector<ApplicationQso> read;
            ReadApplicationList(jcc, JccTable, &searched, &entries, &read, &again);
            areas = entries.size();
            bytes = ApplicationListCsv(entries, read).size();
        }));
    std::printf("  JCC application list %8.3f ms   (%zu areas, %zu bytes%s)\n", bench::Median(application) * 1000, areas,
                bytes, again ? ", searched again" : "");

    std::printf("peak memory of one tally (KB: before the tally -> after)\n");
    for (int32_t kind : kinds) {
        long b1 = 0, a1 = 0, b2 = 0, a2 = 0;
        if (!MeasurePeak(small, kind, &b1, &a1) || !MeasurePeak(large, kind, &b2, &a2)) return 1;
        std::printf("  %-4s  1,000 QSOs: %ld -> %ld   %d QSOs: %ld -> %ld   difference %+ld KB\n",
                    KindName(kind), b1, a1, qsos, b2, a2, a2 - a1);
    }
    return 0;
}
