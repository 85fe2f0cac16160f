// How long the award result list takes to fill a JCC full list (every city
// of JARL's list, about 900 rows) under Wine: the whole initialisation of
// the window (tally, rows, fill, placement) and the fill of the list control
// alone, while the window is still hidden and once it is on the screen.
// Prints medians of several runs; not a test.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "JarlListLog.h"
#include "TestSupport.h"
#include "app/MainWindowPlacement.h"
#include "app/ProgramObjects.h"
#include "awards/AwardFilter.h"
#include "awards/AwardList.h"
#include "awards/AwardListDialog.h"
#include "awards/AwardTally.h"
#include "logstore/AreaMaster.h"
#include "logstore/LoggerLibrary.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr UINT kRefillOnScreen = WM_APP + 1;

// The real list window, timed from the inside.
class TimedList : public AwardListDialog {
public:
    TimedList() : AwardListDialog(AwardFilter, MainWindowPlacement, ColumnSortState, TheAwardResults) {}
    DECLARE_MESSAGE_MAP()

    double InitMs = 0;
    double HiddenFillMs = 0;
    double ShownFillMs = 0;
    int Rows = 0;

protected:
    BOOL OnInitDialog() override {
        auto start = Clock::now();
        AwardListDialog::OnInitDialog();
        InitMs = MsSince(start);
        Rows = m_List.GetItemCount();

        ::ShowWindow(m_hWnd, SW_HIDE);
        start = Clock::now();
        Refill();
        HiddenFillMs = MsSince(start);
        ::PostMessageA(m_hWnd, kRefillOnScreen, 0, 0);
        return TRUE;
    }

    // The rows built again from the last result and shown.
    void Refill() {
        BuildAwardRows(criteria_, results_, AreaTableOfKind(criteria_.AwardKind), rows_);
        m_List.ShowRows();
    }

    LRESULT OnRefill(WPARAM, LPARAM) {
        ::UpdateWindow(m_hWnd);
        auto start = Clock::now();
        Refill();
        ::UpdateWindow(m_hWnd);
        ShownFillMs = MsSince(start);
        EndDialog(IDOK);
        return 0;
    }
};

FRAMEWORK_MESSAGE_MAP(TimedList, AwardListDialog, MapMessage(kRefillOnScreen, &TimedList::OnRefill))

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const unsigned qsos = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 100000;
    test::TempDir dir("awards-gui-bench", true);
    switch (bench::MakeJarlListLog(dir, qsos)) {
    case bench::JarlListLog::NoLists: return 0;
    case bench::JarlListLog::Failed: return 1;
    case bench::JarlListLog::Made: break;
    }

    if (LoadLoggerLibrary() != 0) {
        std::fprintf(stderr, "the library does not load\n");
        return 1;
    }
    LoadAreaMaster();
    FreeLoggerLibrary();

    AwardFilter = AwardFilterRecord{};
    AwardFilter.AwardKind = Jcc;
    for (int b = 0; b < kBandCount; ++b) AwardFilter.BandSelected[b] = 1;
    AwardFilter.EndDate = 20501231;
    AwardFilter.ShowFullList = 1;
    MainWindowPlacement = {0, 0, 700};

    std::vector<double> tally, init, hidden, shown;
    int rows = 0;
    for (int r = 0; r < runs; ++r) {
        auto start = Clock::now();
        TallyJccJcg();
        tally.push_back(MsSince(start));

        TimedList list;
        list.DoModal();
        init.push_back(list.InitMs);
        hidden.push_back(list.HiddenFillMs);
        shown.push_back(list.ShownFillMs);
        rows = list.Rows;
    }
    std::printf("JCC full list: %d rows, log of %u QSOs, %d runs (medians)\n", rows, qsos, runs);
    std::printf("  tally alone                         %8.1f ms\n", bench::Median(tally));
    std::printf("  window initialisation (tally, rows, fill, placement) %8.1f ms\n", bench::Median(init));
    std::printf("  fill of the list control, window hidden   %8.1f ms\n", bench::Median(hidden));
    std::printf("  fill of the list control, window shown    %8.1f ms\n", bench::Median(shown));
    return 0;
}
