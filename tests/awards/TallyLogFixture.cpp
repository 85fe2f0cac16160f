#include "TallyLogFixture.h"

#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>

#include "logstore/AreaMaster.h"
#include "logstore/LoggerLibrary.h"

namespace awardtest {

namespace {

// Call area of prefecture number n, written from the prefecture ranges.
int AreaOfPrefecture(int n) {
    if (n == 1) return 8;
    if (n >= 2 && n <= 7) return 7;
    if (n == 8 || n == 9) return 0;
    if (n >= 10 && n <= 17) return 1;
    if (n >= 18 && n <= 21) return 2;
    if (n >= 22 && n <= 27) return 3;
    if (n >= 28 && n <= 30) return 9;
    if (n >= 31 && n <= 35) return 4;
    if (n >= 36 && n <= 39) return 5;
    if (n >= 40 && n <= 47) return 6;
    return -1;
}

bool Digit(char c) { return c >= '0' && c <= '9'; }

// The counted code of a QSO for JCC and JCG: wards count for their city
// except the 1001xx wards from 2010-04 to 2030-01, a county's town counts
// for its county.
std::string CountedCode(std::string code, int yymm) {
    code.resize(6, '\0');
    size_t n = 0;
    while (n < 6 && Digit(code[n])) ++n;
    const std::string d = code.substr(0, n);
    if (n == 4 && d[0] <= '4') return code.c_str();
    if (n == 6 && d.compare(0, 4, "1001") == 0 && yymm >= 1004 && yymm <= 3001) return code.c_str();
    if (n == 6) return d.substr(0, 4) + "  ";
    if (n == 5 && code[5] != ' ') return d + " ";
    return code.c_str();
}

}  // namespace

void TallyLog::TearDown() { FreeLoggerLibrary(); }

void TallyLog::UseLibrary() {
    test::CopyFileTo(test::BinFile(test::LibraryFileName()), dir_.File(test::LibraryFileName()));
}

void TallyLog::Tool(const std::vector<std::string>& args) {
    std::string output, line;
    const int code = test::RunVireonTool(args, dir_.Path(), &output);
    for (const auto& a : args) line += a + " ";
    ASSERT_EQ(code, 0) << "vireon-tool " << line << "\n" << output;
}

void TallyLog::MakeLog(const std::vector<Qso>& qsos) { ASSERT_NO_FATAL_FAILURE(test::MakeLog(dir_.Path(), qsos)); }

void TallyLog::MakeAndLoadMaster() {
    const std::string jcc = test::SharedDataFile("jarl/jcc-list.txt");
    const std::string jcg = test::SharedDataFile("jarl/jcg-list.txt");
    ASSERT_FALSE(jcc.empty() || jcg.empty());
    ASSERT_NO_FATAL_FAILURE(Tool({"make-master", "--jcc", jcc, "--jcg", jcg}));
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    ASSERT_EQ(LoadAreaMaster(), 0);
    FreeLoggerLibrary();
    ASSERT_NE(JccTable[0].Code[0], '\0');
    ASSERT_NE(JcgTable[0].Code[0], '\0');
}

std::vector<DumpRow> TallyLog::Dump() {
    std::vector<DumpRow> rows;
    for (const test::DumpedRecord& d : test::DumpLog(dir_.Path())) {
        DumpRow r;
        r.RecNo = d.RecNo;
        r.Call = d.Fields[test::kDumpCall];
        r.Date = d.Fields[test::kDumpDate];
        r.Freq = d.Fields[test::kDumpFreq];
        r.Mode = d.Fields[test::kDumpMode];
        r.Code = d.Fields[test::kDumpCode];
        r.QSL = d.Fields[test::kDumpQSL];
        rows.push_back(r);
    }
    return rows;
}

bool TallyLog::Tally(Stats* stats) {
    bool ok = false;
    switch (AwardFilter.AwardKind) {
    case Ajd: ok = TallyAjd(); stats->assign(AjdStats, AjdStats + kAjdAreaCount); break;
    case Waja: ok = TallyWaja(); stats->assign(WajaStats, WajaStats + kPrefectureCount + 1); break;
    default: ok = TallyJccJcg(); stats->assign(AreaStats, AreaStats + kAreaTableSize); break;
    }
    return ok;
}

Stats TallyLog::NaiveCount(const std::vector<DumpRow>& rows, const std::vector<int>& unreadable) {
    const int32_t kind = AwardFilter.AwardKind;
    Stats stats(kind == Ajd ? 10 : kind == Waja ? 48 : 1000, AreaStat{0, 0, 0, 0});
    // First position of each code in the table of the kind, up to its end.
    std::map<std::string, int> positions;
    const AreaEntry* table = kind == Jcg ? JcgTable : JccTable;
    for (int i = 0; i < kAreaTableSize && table[i].Code[0]; ++i) positions.emplace(table[i].Code, i);

    EXPECT_EQ(LoadLoggerLibrary(), 0);   // for the library's band of a frequency
    for (const DumpRow& r : rows) {
        bool skip = false;
        for (int u : unreadable) skip = skip || u == r.RecNo;
        if (skip) continue;
        std::string six;
        for (size_t p : {0, 1, 3, 4, 6, 7})
            if (p < r.Date.size()) six += r.Date[p];
        const int v = std::atoi(six.c_str());
        const int date = v == 0 ? 0 : v <= 510000 ? v + 20000000 : v + 19000000;
        if (date > AwardFilter.EndDate) break;
        if (AwardFilter.StartDate != 0 && date < AwardFilter.StartDate) continue;
        const int band = BandOfFrequency(r.Freq.c_str());
        if (band < 0 || band > 13 || !AwardFilter.BandSelected[band]) continue;
        if (AwardFilter.ModeText[0] && r.Mode != AwardFilter.ModeText) continue;

        int index = -1;
        if (kind == Ajd || kind == Waja) {
            const int number = std::atoi(r.Code.substr(0, 2).c_str());
            const bool twoDigits = r.Code.size() >= 2 && Digit(r.Code[0]) && Digit(r.Code[1]);
            if (kind == Ajd) index = twoDigits ? AreaOfPrefecture(number) : -1;
            else index = (number >= 1 && number <= 47) ? number : -1;
        } else {
            auto it = positions.find(CountedCode(r.Code, v / 100));
            if (it != positions.end()) index = it->second;
        }
        if (index < 0) continue;
        AreaStat& s = stats[index];
        ++s.QsoCount;
        if (s.FirstDate == 0) s.FirstDate = s.LastDate = date;
        else if (date > s.LastDate) s.LastDate = date;
        const bool confirmed = r.QSL.size() >= 3 && r.QSL[2] != ' ';
        s.QslState = confirmed ? 2 : (s.QslState == 2 ? 2 : 1);
    }
    FreeLoggerLibrary();
    return stats;
}

int ExpectSameStats(const Stats& tally, const Stats& naive, const std::string& what) {
    EXPECT_EQ(tally.size(), naive.size()) << what;
    if (tally.size() != naive.size()) return 0;
    int worked = 0;
    for (size_t i = 0; i < tally.size(); ++i) {
        const AreaStat& t = tally[i];
        const AreaStat& n = naive[i];
        EXPECT_TRUE(t.FirstDate == n.FirstDate && t.LastDate == n.LastDate && t.QsoCount == n.QsoCount &&
                    t.QslState == n.QslState)
            << what << ", area " << i << ": tally " << t.FirstDate << " " << t.LastDate << " " << t.QsoCount
            << " " << t.QslState << ", count " << n.FirstDate << " " << n.LastDate << " " << n.QsoCount
            << " " << n.QslState;
        worked += n.QsoCount > 0;
    }
    return worked;
}

void SetFilter(int32_t kind, std::vector<int> bands, const char* mode, int32_t start, int32_t end) {
    AwardFilter.AwardKind = kind;
    std::memset(AwardFilter.BandSelected, 0, sizeof AwardFilter.BandSelected);
    for (int b : bands) AwardFilter.BandSelected[b] = 1;
    std::memset(AwardFilter.ModeText, 0, sizeof AwardFilter.ModeText);
    std::snprintf(AwardFilter.ModeText, sizeof AwardFilter.ModeText, "%s", mode);
    AwardFilter.StartDate = start;
    AwardFilter.EndDate = end;
}

}  // namespace awardtest
