// Speed of the main window's area lookup on a big log, against the least
// any whole-log pass costs: a bare loop of the library's record read
// (KVX_readv) over every record. The lookup is timed as the operator meets
// it, inside the window's own loop: a code typed and Enter, the master read,
// one pass, the rows listed and drawn.
//
//   area-lookup-bench [FOLDER|-] [RUNS] [QSOS]
//
// FOLDER holds vireon.vdb and vireon.mst; without it, or with "-", a
// temporary folder gets a master of 470 cities and 47 counties and a
// generated log of QSOS (default 1,000,000) QSOs. The area looked up is the JCC/JCG entry whose
// QSOs come nearest to 1,000. Prints the medians of RUNS runs (default 7),
// taken in turns, and their ratio. Run it under Wine with a display.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "TestSupport.h"
#include "app/SettingsFile.h"
#include "checkwin/AreaLookup.h"
#include "checkwin/CallsignCheckDialog.h"
#include "logstore/AreaMaster.h"
#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"
#include "logstore/QsoSource.h"
#include "res/resource.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

// The JCC/JCG code whose area has the number of QSOs nearest to `wanted`,
// counted through the lookup's own rule (not timed).
std::string PickArea(int wanted, int* count) {
    LoggerLogSource log;
    if (!log.Bound() || LoadAreaMaster() != 0) return "";
    std::map<std::pair<int, int>, int> perArea;
    struct Counter : ScannedQsoSink {
        std::map<std::pair<int, int>, int>* counts;
        int32_t kind;
        void Take(const ScannedQso& q) override { ++(*counts)[{kind, q.Area}]; }
    };
    for (int32_t kind : {Jcc, Jcg}) {
        Counter c;
        c.counts = &perArea;
        c.kind = kind;
        ScanAwardQsos(nullptr, AwardAreaRule(kind, AreaTableOfKind(kind)), -1, log, c);
    }
    std::string best;
    int bestCount = -1;
    for (const auto& [area, n] : perArea)
        if (bestCount < 0 || std::abs(n - wanted) < std::abs(bestCount - wanted)) {
            bestCount = n;
            best = AreaCodeText({area.first, area.second, ""}, AreaTableOfKind(area.first));
        }
    *count = bestCount;
    return best;
}

class BenchDialog : public CallsignCheckDialog {
public:
    BenchDialog(SettingsFile* settings, int runs, std::string code)
        : CallsignCheckDialog(settings), runs_(runs), code_(std::move(code)) {}

    BOOL OnInitDialog() override {
        CallsignCheckDialog::OnInitDialog();
        ::PostMessageA(m_hWnd, WM_APP, 0, 0);
        return TRUE;
    }

    std::vector<double> Bare, Lookup;
    int Records = 0, Rows = 0;
    std::string Status;

    DECLARE_MESSAGE_MAP()

private:
    LRESULT RunAll(WPARAM, LPARAM) {
        for (int i = 0; i < runs_; ++i) {
            Bare.push_back(BareReads());
            Lookup.push_back(TimedLookup());
        }
        EndDialog(IDOK);
        return 0;
    }

    // Bind, count, open, every record read once, close, release.
    double BareReads() {
        const Clock::time_point start = Clock::now();
        LoadLoggerLibrary();
        const int n = CountLogRecords();
        OpenLog();
        int read = 0;
        for (int recNo = 1; recNo <= n; ++recNo) read += ReadLogRecord(recNo) != nullptr;
        CloseLog();
        FreeLoggerLibrary();
        Records = read;
        return MsSince(start);
    }

    double TimedLookup() {
        ::SetDlgItemTextA(m_hWnd, IDC_CALLSIGN, code_.c_str());
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const Clock::time_point start = Clock::now();
        LookupArea();
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const double ms = MsSince(start);
        Rows = CallsignCheckDialog::Rows().Count();
        char status[512] = {};
        ::SendMessageA(::GetDlgItem(m_hWnd, IDC_STATUSBAR), WM_GETTEXT, sizeof status, reinterpret_cast<LPARAM>(status));
        Status = status;
        return ms;
    }

    int runs_;
    std::string code_;
};

FRAMEWORK_MESSAGE_MAP(BenchDialog, CallsignCheckDialog, MapMessage(WM_APP, &BenchDialog::RunAll))

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : "-";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const int qsos = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1000000;
    std::unique_ptr<test::TempDir> temp;
    if (folder == "-") {
        temp = std::make_unique<test::TempDir>("area-lookup-bench");
        folder = temp->Path();
        // 470 cities and 47 counties: the generator spreads the QSOs over
        // them, so that a city has about 1,000 QSOs of the million.
        std::string jcc = "ＪＣＣリスト    bench\n\n  No.     市名(ﾛｰﾏ字)       市名(漢字)  消滅日\n\n北海道 01\n";
        std::string jcg = "ＪＣＧリスト    bench\n  No.     郡名(ﾛｰﾏ字)       郡名(漢字)  消滅日\n \n北海道 01\n";
        char code[16];
        for (int p = 1; p <= 47; ++p) {
            for (int c = 1; c <= 10; ++c) {
                std::snprintf(code, sizeof code, "%02d%02d", p, c);
                jcc += test::JarlListLine(code, std::string("City") + code, "市");
            }
            std::snprintf(code, sizeof code, "%02d001", p);
            jcg += test::JarlListLine(code, std::string("County") + code, "郡");
        }
        test::WriteFileBytes(test::JoinPath(folder, "jcc.txt"), jcc);
        test::WriteFileBytes(test::JoinPath(folder, "jcg.txt"), jcg);
        std::string out;
        if (test::RunVireonTool({"make-master", "--jcc", "jcc.txt", "--jcg", "jcg.txt"}, folder, &out) != 0 ||
            test::RunVireonTool({"generate", std::to_string(qsos)}, folder, &out) != 0) {
            std::fprintf(stderr, "area-lookup-bench: cannot make the log:\n%s", out.c_str());
            return 2;
        }
    }
    test::CopyFileTo(test::BinFile(test::LibraryFileName()), test::JoinPath(folder, test::LibraryFileName()));
    if (!::SetCurrentDirectoryA(folder.c_str())) {
        std::fprintf(stderr, "area-lookup-bench: cannot enter %s\n", folder.c_str());
        return 2;
    }
    int areaQsos = 0;
    const std::string code = PickArea(1000, &areaQsos);
    if (code.empty()) {
        std::fprintf(stderr, "area-lookup-bench: no log or master in %s\n", folder.c_str());
        return 2;
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    auto settings = std::make_unique<SettingsFile>(test::JoinPath(folder, "bench.ini").c_str());
    BenchDialog dialog(settings.get(), runs, code);
    const INT_PTR ended = dialog.DoModal();
    if (ended != IDOK) {
        std::fprintf(stderr, "area-lookup-bench: the window did not run (%d)\n", static_cast<int>(ended));
        return 3;
    }
    const double bare = bench::Median(dialog.Bare), lookup = bench::Median(dialog.Lookup);
    std::printf("log %s: %d records, %d runs each, in turns\n", folder.c_str(), dialog.Records, runs);
    std::printf("bare KVX_readv loop (bind, open, every record, close)  median %9.2f ms\n", bare);
    std::printf("area lookup %-6s (%d rows listed, drawn)              median %9.2f ms\n", code.c_str(), dialog.Rows,
                lookup);
    std::printf("  status: %s\n", dialog.Status.c_str());
    std::printf("area lookup / bare read  %.3fx  (target at most 1.2x: %s)\n", bare > 0 ? lookup / bare : 0.0,
                bare > 0 && lookup / bare <= 1.2 ? "met" : "MISSED");
    return 0;
}
