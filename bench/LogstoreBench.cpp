// Whole-log read through the program's log operations against a bare loop of
// the library's own read on the same log, in the same process.
//
//   logstore-bench [FOLDER|-] [RUNS]
//
// FOLDER holds vireon.vdb (and the library); without it, or with "-", a
// temporary folder gets a generated log of 1,000,000 QSOs. Prints the median of RUNS runs
// (default 7) of each and their ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "TestSupport.h"
#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// What a scan does with each record, so neither loop can be dropped.
unsigned Touch(const QsoRecord* r) {
    return static_cast<unsigned char>(r->Call[0]) + static_cast<unsigned char>(r->Date[7]);
}

double ThroughLogOperations(int* records, unsigned* sum) {
    Clock::time_point start = Clock::now();
    int n = CountLogRecords();
    OpenLog();
    unsigned s = 0;
    int read = 0;
    for (int i = 1; i <= n; ++i) {
        QsoRecord* r = ReadLogRecord(i);
        if (!r) continue;
        s += Touch(r);
        ++read;
    }
    CloseLog();
    double t = Seconds(start);
    *records = read;
    *sum = s;
    return t;
}

double BareLibraryLoop(int* records, unsigned* sum) {
    static unsigned char handle[kLogHandleSize];
    static QsoRecord buffer;
    const LoggerLibrary& lib = TheLoggerLibrary;
    Clock::time_point start = Clock::now();
    lib.SetDbsShare(1);
    if (lib.VireonOpen(0, handle, "vireon.vdb", 0) != 0) return -1;
    int32_t n;
    std::memcpy(&n, handle + kLogCountOffset, sizeof n);
    unsigned s = 0;
    int read = 0;
    for (int i = 1; i <= n; ++i) {
        if (lib.KVX_readv(handle, i, &buffer) != 0) continue;
        s += Touch(&buffer);
        ++read;
    }
    lib.VireonClose(handle, 0);
    double t = Seconds(start);
    *records = read;
    *sum = s;
    return t;
}

bool MakeLog(const std::string& dir, int qsos) {
    test::CopyFileTo(test::BinFile(test::LibraryFileName()), test::JoinPath(dir, test::LibraryFileName()));
    test::WriteFileBytes(test::JoinPath(dir, "jcc.txt"),
                         "北海道 01\n  0101    Sapporo             札幌\n"
                         "  0102    Asahikawa           旭川\n"
                         "東京都 10\n  100101 Chiyoda         千代田\n"
                         "* 1001   Tokyo 23-wards       東京23区  \"Mar.31,2010\"\n");
    test::WriteFileBytes(test::JoinPath(dir, "jcg.txt"),
                         "北海道  01\n  01001   Akan                阿寒\n"
                         "* 01004   Atsuta              厚田       \"Sep.30,2005\"\n");
    std::string out;
    if (test::RunVireonTool({"make-master", "--jcc", "jcc.txt", "--jcg", "jcg.txt"}, dir, &out) != 0 ||
        test::RunVireonTool({"generate", std::to_string(qsos), "--seed", "1", "--replace"}, dir, &out) != 0) {
        std::fprintf(stderr, "vireon-tool failed:\n%s\n", out.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<test::TempDir> temp;
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    if (argc > 1 && std::string(argv[1]) != "-") {
        std::string dir = argv[1];
        if (!test::FileExists(test::JoinPath(dir, test::LibraryFileName())))
            test::CopyFileTo(test::BinFile(test::LibraryFileName()), test::JoinPath(dir, test::LibraryFileName()));
        if (!bench::EnterFolder(dir)) {
            std::fprintf(stderr, "cannot enter %s\n", dir.c_str());
            return 2;
        }
    } else {
        temp = std::make_unique<test::TempDir>("logstore-bench", true);
        Clock::time_point start = Clock::now();
        if (!MakeLog(temp->Path(), 1000000)) return 2;
        std::printf("generated 1,000,000 QSOs in %.1f s\n", Seconds(start));
    }
    if (LoadLoggerLibrary() != 0 || !TheLoggerLibrary.KVX_readv || !TheLoggerLibrary.VireonOpen) {
        std::fprintf(stderr, "cannot bind %s\n", test::LibraryFileName().c_str());
        return 2;
    }
    std::vector<double> ops, bare;
    int opsRecords = 0, bareRecords = 0;
    unsigned opsSum = 0, bareSum = 0;
    for (int run = 0; run < runs; ++run) {
        // Alternate the order so that neither always runs on a warmer cache.
        if (run % 2 == 0) {
            ops.push_back(ThroughLogOperations(&opsRecords, &opsSum));
            bare.push_back(BareLibraryLoop(&bareRecords, &bareSum));
        } else {
            bare.push_back(BareLibraryLoop(&bareRecords, &bareSum));
            ops.push_back(ThroughLogOperations(&opsRecords, &opsSum));
        }
    }
    FreeLoggerLibrary();
    if (opsRecords != bareRecords || opsSum != bareSum) {
        std::fprintf(stderr, "the two loops read different records (%d / %d)\n", opsRecords, bareRecords);
        return 1;
    }
    double a = bench::Median(ops), b = bench::Median(bare);
    std::printf("records read:                     %d\n", opsRecords);
    std::printf("log operations (median of %d):    %.3f s  %.2f M records/s\n", runs, a, opsRecords / a / 1e6);
    std::printf("bare KVX_readv loop (median):     %.3f s  %.2f M records/s\n", b, bareRecords / b / 1e6);
    std::printf("ratio operations / bare:          %.3f\n", a / b);
    return 0;
}
