// The check window's table of distinct calls on a big log: the time to
// build it through the library (bound for the build, as the window does)
// against a bare loop of the library's KVX_readv over the same log, the
// table's memory per distinct call beyond the calls' own bytes, and the
// median time of a query (contains and one off, rows made) for typed texts
// of 2, 3, 4 and 6 characters.
//
//   checktable-bench [FOLDER|-] [RUNS] [QSOS]
//
// FOLDER holds vireon.vdb; without it, or with "-", a temporary folder gets a
// generated log of QSOS (default 1,000,000) QSOs. RUNS (default 5) builds of
// each kind.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "TestSupport.h"
#include "checkwin/CallCollector.h"
#include "checkwin/CheckWindowTable.h"
#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"
#include "logstore/QsoSource.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// The library's own read, record by record, doing as little as can be kept.
double BareLoop(unsigned* sum) {
    static unsigned char handle[kLogHandleSize];
    static QsoRecord buffer;
    Clock::time_point start = Clock::now();
    if (LoadLoggerLibrary() != 0) return -1;
    const LoggerLibrary& lib = TheLoggerLibrary;
    lib.SetDbsShare(1);
    if (lib.VireonOpen(0, handle, "vireon.vdb", 0) != 0) return -1;
    int32_t n;
    std::memcpy(&n, handle + kLogCountOffset, sizeof n);
    unsigned s = 0;
    for (int i = 1; i <= n; ++i)
        if (lib.KVX_readv(handle, i, &buffer) == 0) s += static_cast<unsigned char>(buffer.Call[0]);
    lib.VireonClose(handle, 0);
    FreeLoggerLibrary();
    *sum = s;
    return Seconds(start);
}

double BuildTable(CallTable& table) {
    Clock::time_point start = Clock::now();
    LoggerLogSource source;
    if (!source.Bound() || !table.Build(source)) return -1;
    return Seconds(start);
}

bool MakeLog(const std::string& dir, int qsos) {
    test::CopyFileTo(test::BinFile(test::LibraryFileName()), test::JoinPath(dir, test::LibraryFileName()));
    test::WriteFileBytes(test::JoinPath(dir, "jcc.txt"),
                         "北海道 01\n  0101    Sapporo             札幌\n"
                         "東京都 10\n  100101 Chiyoda         千代田\n");
    test::WriteFileBytes(test::JoinPath(dir, "jcg.txt"), "北海道  01\n  01001   Akan                阿寒\n");
    std::string out;
    if (test::RunVireonTool({"make-master", "--jcc", "jcc.txt", "--jcg", "jcg.txt"}, dir, &out) != 0 ||
        test::RunVireonTool({"generate", std::to_string(qsos), "--seed", "1"}, dir, &out) != 0) {
        std::fprintf(stderr, "vireon-tool failed:\n%s\n", out.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<test::TempDir> temp;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const int qsos = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1000000;
    if (argc > 1 && std::string(argv[1]) != "-") {
        const std::string dir = argv[1];
        if (!test::FileExists(test::JoinPath(dir, test::LibraryFileName())))
            test::CopyFileTo(test::BinFile(test::LibraryFileName()), test::JoinPath(dir, test::LibraryFileName()));
        if (!bench::EnterFolder(dir)) {
            std::fprintf(stderr, "cannot enter %s\n", dir.c_str());
            return 2;
        }
    } else {
        temp = std::make_unique<test::TempDir>("checktable-bench", true);
        Clock::time_point start = Clock::now();
        if (!MakeLog(temp->Path(), qsos)) return 2;
        std::printf("generated %d QSOs in %.1f s\n", qsos, Seconds(start));
    }

    CallTable table;
    std::vector<double> build, bare;
    unsigned sum = 0;
    for (int run = 0; run < runs; ++run) {
        // Alternated, so that neither always runs on a warmer cache.
        if (run % 2 == 0) {
            build.push_back(BuildTable(table));
            bare.push_back(BareLoop(&sum));
        } else {
            bare.push_back(BareLoop(&sum));
            build.push_back(BuildTable(table));
        }
        if (build.back() < 0 || bare.back() < 0) {
            std::fprintf(stderr, "cannot read the log through %s\n", test::LibraryFileName().c_str());
            return 2;
        }
    }
    const double b = bench::Median(build), r = bench::Median(bare);
    std::printf("distinct calls:                    %zu\n", table.Count());
    std::printf("processors:                        %u (a second thread counts from %zu QSOs on)\n",
                std::thread::hardware_concurrency(), CallCollector::kHelperRecords);
    std::printf("build the table (median of %d):     %.3f s\n", runs, b);
    std::printf("bare KVX_readv loop (median):      %.3f s\n", r);
    std::printf("ratio build / bare:                %.3f (target <= 1.3)\n", b / r);
    const size_t beyond = table.MemoryBytes() - table.TextBytes();
    std::printf("table memory:                      %zu bytes, calls' bytes %zu\n", table.MemoryBytes(), table.TextBytes());
    std::printf("beyond the calls, per call:        %.1f bytes (target <= 40)\n",
                table.Count() ? static_cast<double>(beyond) / static_cast<double>(table.Count()) : 0.0);

    // Typed texts taken from calls spread over the table: the start of a
    // call, as an operator types it, of each length.
    ListRows rows;
    std::vector<CheckRowLook> looks;
    for (size_t length : {2u, 3u, 4u, 6u}) {
        std::vector<double> times;
        size_t shown = 0, total = 0;
        for (size_t k = 0; k < 31 && table.Count() > 0; ++k) {
            std::string text = table.Call((k * 7919u + 13u) % table.Count()).substr(0, length);
            Clock::time_point start = Clock::now();
            const CheckMatches m = FindCheckMatches(table, text);
            FillCheckRows(table, m, rows, looks);
            times.push_back(Seconds(start) * 1000.0);
            shown += m.Shown.size();
            total += m.Total;
        }
        if (times.empty()) break;
        std::printf("query of %zu characters (median):   %.2f ms  (%.0f rows shown, %.0f matched on average)\n", length,
                    bench::Median(times), static_cast<double>(shown) / times.size(), static_cast<double>(total) / times.size());
    }
    return 0;
}
