// A test folder, entered as the current directory, holding the stand-in
// library, a log and a master made by vireon-tool; the log's records as
// `vireon-tool dump` lists them; and a plain second count of the awards over
// those dumped records, written without the tally's code.
#pragma once
#include <string>
#include <vector>

#include "TestSupport.h"
#include "awards/AwardFilter.h"
#include "awards/AwardTally.h"

namespace awardtest {

using test::Qso;

struct DumpRow {
    int RecNo = 0;
    std::string Call, Date, Freq, Mode, Code, QSL;
};

// The statistics a check of one kind gives, one AreaStat per area index
// (10 for AJD, 48 for WAJA, 1000 for JCC/JCG).
using Stats = std::vector<AreaStat>;

class TallyLog : public ::testing::Test {
protected:
    TallyLog() : dir_("awards", true) {}
    void TearDown() override;

    const test::TempDir& Dir() const { return dir_; }
    void UseLibrary();
    void Tool(const std::vector<std::string>& args);
    void MakeLog(const std::vector<Qso>& qsos);
    // vireon-tool's master from the shared JARL lists, loaded into the tables.
    void MakeAndLoadMaster();
    std::vector<DumpRow> Dump();

    // Runs the tally of the current AwardFilter.AwardKind and copies its table.
    bool Tally(Stats* stats);
    // The second count over the dumped rows, with the library's band lookup.
    // Records whose numbers are in `unreadable` are left out.
    Stats NaiveCount(const std::vector<DumpRow>& rows, const std::vector<int>& unreadable = {});

private:
    test::TempDir dir_;
};

// Compares area by area; returns how many areas the second count found worked.
int ExpectSameStats(const Stats& tally, const Stats& naive, const std::string& what);
void SetFilter(int32_t kind, std::vector<int> bands, const char* mode, int32_t start, int32_t end);

}  // namespace awardtest
