// A generated log whose areas come from the real JARL lists in shared/, for
// the benchmarks that measure the award windows on real tables.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace bench {

// vireon-tool run in `dir`; false, with what it printed, when it fails.
inline bool RunTool(const std::vector<std::string>& args, const std::string& dir) {
    std::string output;
    if (test::RunVireonTool(args, dir, &output) == 0) return true;
    std::fprintf(stderr, "vireon-tool %s failed:\n%s\n", args.front().c_str(), output.c_str());
    return false;
}

enum class JarlListLog { Made, NoLists, Failed };

// The library, a master made from the shared JCC, JCG and ward lists and a
// log of `qsos` generated QSOs, in `dir`. NoLists (said on standard output)
// when the lists are not beside this clone.
inline JarlListLog MakeJarlListLog(const test::TempDir& dir, unsigned qsos) {
    const std::string jcc = test::SharedDataFile("jarl/jcc-list.txt");
    const std::string jcg = test::SharedDataFile("jarl/jcg-list.txt");
    const std::string ku = test::SharedDataFile("jarl/ku-list.txt");
    if (jcc.empty() || jcg.empty() || ku.empty()) {
        std::printf("the shared JARL lists are not beside this clone: nothing measured\n");
        return JarlListLog::NoLists;
    }
    test::CopyFileTo(test::BinFile(test::LibraryFileName()), dir.File(test::LibraryFileName()));
    if (!RunTool({"make-master", "--jcc", jcc, "--jcg", jcg, "--ku", ku}, dir.Path()) ||
        !RunTool({"generate", std::to_string(qsos), "--master", "vireon.mst"}, dir.Path()))
        return JarlListLog::Failed;
    return JarlListLog::Made;
}

}  // namespace bench
