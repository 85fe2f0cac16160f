// Speed of the main window's searches as the operator meets them, on a big
// log: the exact lookup (bring the index copy up to date, bind, open,
// search, fill, close, drawn) and a partial search that lists about a tenth
// of the log (drawn); the check of the index copy on an unchanged index, and
// a refresh of the whole copy.
//
//   checkwin-bench [FOLDER|-] [RUNS] [QSOS]
//
// FOLDER holds vireon.vdb and vireon.dx0; without it, or with "-", a
// temporary folder gets a generated log of QSOS (default 1,000,000) QSOs.
// Prints the median and the spread of RUNS runs (default 7) of each search.
// Run it under Wine with a display.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "TestSupport.h"
#include "app/SettingsFile.h"
#include "checkwin/CallsignCheckDialog.h"
#include "checkwin/WorkedSummary.h"
#include "logstore/CallIndexCopy.h"
#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"
#include "res/resource.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    std::vector<double> Ms;
    int Rows = 0;
};

// The main window, running the searches from inside its own modal loop once
// it is up, so that no cross-thread message is timed.
class BenchDialog : public CallsignCheckDialog {
public:
    BenchDialog(SettingsFile* settings, int runs) : CallsignCheckDialog(settings), runs_(runs) {}

    BOOL OnInitDialog() override {
        CallsignCheckDialog::OnInitDialog();
        ::PostMessageA(m_hWnd, WM_APP, 0, 0);
        return TRUE;
    }

    Figures Exact, ExactShown, Partial, PartialLarge;
    // The exact lookup's steps on their own: bind, open, search, close and
    // release (the library's share), so the window's share shows apart.
    std::vector<double> Bind, Open, Search, Close;
    // The index copy: the check when nothing changed, and a whole refresh.
    std::vector<double> IndexCheck, IndexRefresh;
    long long IndexBytes = 0;
    double ShowTextsMs = 0, TakeTextsMs = 0, FillMs = 0, BindMs = 0, SummaryMs = 0;
    int SummaryRows = 0;
    std::vector<std::pair<std::string, int>> PatternRows;

    DECLARE_MESSAGE_MAP()

private:
    LRESULT RunAll(WPARAM, LPARAM) {
        // Which pattern lists about 100,000 rows depends on the log.
        const char* candidates[] = {"JA", "JH", "JA1", "7K", "JR"};
        std::string chosen;
        int best = -1;
        for (const char* p : candidates) {
            Timed(p, &CallsignCheckDialog::PartialSearch);
            int rows = Rows().Count();
            PatternRows.emplace_back(p, rows);
            if (best < 0 || std::abs(rows - 100000) < std::abs(best - 100000)) best = rows, chosen = p;
        }
        for (int i = 0; i < runs_; ++i) {
            Exact.Ms.push_back(Timed("JA1ABC", &CallsignCheckDialog::LookupCall, false));
            Exact.Rows = Rows().Count();
            ExactShown.Ms.push_back(Timed("JA1ABC", &CallsignCheckDialog::LookupCall));
            ExactShown.Rows = Rows().Count();
            Partial.Ms.push_back(Timed(chosen.c_str(), &CallsignCheckDialog::PartialSearch));
            Partial.Rows = Rows().Count();
            PartialLarge.Ms.push_back(Timed("JA", &CallsignCheckDialog::PartialSearch));
            PartialLarge.Rows = Rows().Count();
            TimeLookupSteps();
        }
        pattern_ = chosen;
        TimeIndexCopy();
        // The window's own steps of a lookup, each on its own.
        auto each = [&](const std::function<void()>& step) {
            Clock::time_point t = Clock::now();
            for (int i = 0; i < 20; ++i) step();
            return std::chrono::duration<double, std::milli>(Clock::now() - t).count() / 20;
        };
        ShowTextsMs = each([&] { UpdateData(FALSE); });
        static QsoRecord record;   // a plain record of empty texts
        std::strcpy(record.Call, "JA1ABC");
        FillMs = each([&] {
            DeleteAllRows();
            for (int i = 0; i < 1001; ++i) AddQsoRow(record, i, i + 1);
            m_QsoList.ShowRows();
        });
        BindMs = each([&] {
            LoadLoggerLibrary();
            FreeLoggerLibrary();
        });
        TakeTextsMs = each([&] { UpdateData(TRUE); });
        // The status bar's summary of the 1001 rows of JA1ABC, with the
        // library bound as the lookup has it.
        ::SetDlgItemTextA(m_hWnd, IDC_CALLSIGN, "JA1ABC");
        LookupCall();
        SummaryRows = Rows().Count();
        LoadLoggerLibrary();
        SummaryMs = each([&] { WorkedSummaryText(Rows(), BandOfFrequency); });
        FreeLoggerLibrary();
        EndDialog(IDOK);
        return 0;
    }

    void TimeLookupSteps() {
        auto ms = [](Clock::time_point from) {
            return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
        };
        Clock::time_point t = Clock::now();
        LoadLoggerLibrary();
        Bind.push_back(ms(t));
        t = Clock::now();
        OpenLogWithIndex();
        Open.push_back(ms(t));
        t = Clock::now();
        CallSearchText text = "JA1ABC";
        CallSearchHit* hit = SearchCall(text, 0);
        for (int i = 0; hit && hit->Status == 2 && i < 1000; ++i)
            if (!SearchCall(text, 1)) break;
        Search.push_back(ms(t));
        t = Clock::now();
        CloseLogWithIndex();
        FreeLoggerLibrary();
        Close.push_back(ms(t));
    }

    void TimeIndexCopy() {
        auto ms = [](Clock::time_point from) {
            return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
        };
        PrepareCallIndex();
        IndexBytes = static_cast<long long>(StampOfIndexFile(kCallIndexCopyName).Size);
        for (int i = 0; i < runs_; ++i) {
            Clock::time_point t = Clock::now();
            for (int k = 0; k < 100; ++k) PrepareCallIndex();
            IndexCheck.push_back(ms(t) / 100);
            t = Clock::now();
            RefreshCallIndexCopy();
            IndexRefresh.push_back(ms(t));
        }
    }

    double Timed(const char* typed, void (CallsignCheckDialog::*search)(), bool drawn = true) {
        ::SetDlgItemTextA(m_hWnd, IDC_CALLSIGN, typed);
        // Start from a drawn window, so that only this search's drawing counts.
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Clock::time_point start = Clock::now();
        (this->*search)();
        // Shown: the list and the boxes drawn with the new rows.
        if (drawn) ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }

    int runs_;

public:
    std::string pattern_;
};

FRAMEWORK_MESSAGE_MAP(BenchDialog, CallsignCheckDialog, MapMessage(WM_APP, &BenchDialog::RunAll))

void Report(const char* what, const Figures& f, double targetMs) {
    std::vector<double> v = f.Ms;
    std::sort(v.begin(), v.end());
    std::printf("%-34s rows %7d  median %9.2f ms  min %9.2f  max %9.2f  target %6.0f ms  %s\n", what, f.Rows,
                bench::Median(f.Ms), v.front(), v.back(), targetMs, bench::Median(f.Ms) <= targetMs ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : "-";
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    int qsos = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1000000;
    std::unique_ptr<test::TempDir> temp;
    if (folder == "-") {
        temp = std::make_unique<test::TempDir>("checkwin-bench");
        folder = temp->Path();
        std::string out;
        const std::string lists = CC_DEMODATA_DIR;
        if (test::RunVireonTool({"make-master", "--jcc", lists + "/jcc-demo.txt", "--jcg", lists + "/jcg-demo.txt"},
                                folder, &out) != 0 ||
            test::RunVireonTool({"generate", std::to_string(qsos)}, folder, &out) != 0) {
            std::fprintf(stderr, "checkwin-bench: cannot make the log:\n%s", out.c_str());
            return 2;
        }
    }
    test::CopyFileTo(test::BinFile(test::LibraryFileName()), test::JoinPath(folder, test::LibraryFileName()));
    if (!::SetCurrentDirectoryA(folder.c_str())) {
        std::fprintf(stderr, "checkwin-bench: cannot enter %s\n", folder.c_str());
        return 2;
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);

    auto settings = std::make_unique<SettingsFile>(test::JoinPath(folder, "bench.ini").c_str());
    BenchDialog dialog(settings.get(), runs);
    if (dialog.DoModal() != IDOK) {
        std::fprintf(stderr, "checkwin-bench: the window did not run\n");
        return 3;
    }
    std::printf("log %s, %d runs each\n", folder.c_str(), runs);
    for (const auto& p : dialog.PatternRows) std::printf("  pattern %-4s lists %d rows\n", p.first.c_str(), p.second);
    Report("exact lookup JA1ABC", dialog.Exact, 20);
    Report("exact lookup JA1ABC, drawn", dialog.ExactShown, 20);
    std::printf("  its steps (medians): bind %.2f ms, open log and index %.2f ms, search 1001 %.2f ms, "
                "close and release %.2f ms\n",
                bench::Median(dialog.Bind), bench::Median(dialog.Open), bench::Median(dialog.Search), bench::Median(dialog.Close));
    std::printf("  showing the box texts %.2f ms, taking them %.2f ms (a lookup does each 3 times)\n",
                dialog.ShowTextsMs, dialog.TakeTextsMs);
    std::printf("  emptying the list and filling it with 1001 rows %.2f ms; binding and releasing the library %.2f ms\n",
                dialog.FillMs, dialog.BindMs);
    std::printf("  the worked/confirmed summary of the %d rows %.2f ms\n", dialog.SummaryRows, dialog.SummaryMs);
    std::printf("  index copy of %lld bytes: the check on an unchanged index %.3f ms (target 0.2 ms, %s), "
                "a refresh of the whole copy %.1f ms (medians)\n",
                dialog.IndexBytes, bench::Median(dialog.IndexCheck), bench::Median(dialog.IndexCheck) <= 0.2 ? "met" : "MISSED",
                bench::Median(dialog.IndexRefresh));
    Report(("partial search " + dialog.pattern_).c_str(), dialog.Partial, 2000);
    Report("partial search JA", dialog.PartialLarge, 2000);
    return 0;
}
