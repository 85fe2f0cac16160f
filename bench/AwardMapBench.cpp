// How long the award map takes under Wine for the JCC map of a big log
// (every city of JARL's list): opening the window until its first picture
// is on the screen, and switching the band chooser until the new picture
// is. The tally is done once before; the map only reads its result. Beside
// them, what the map's own work costs (the model, the picture drawn off the
// screen) and what opening the same template as a bare dialog costs, which
// is the window system's share.
// Prints medians of several runs; not a test.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "JarlListLog.h"
#include "TestSupport.h"
#include "app/ProgramObjects.h"
#include "awards/AwardFilter.h"
#include "awards/AwardMapDialog.h"
#include "awards/AwardTally.h"
#include "logstore/AreaMaster.h"
#include "logstore/LoggerLibrary.h"
#include "res/resource.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

constexpr UINT kMeasure = WM_APP + 1;

// The real map window, timed from the inside.
class TimedMap : public AwardMapDialog {
public:
    TimedMap() : AwardMapDialog(AwardFilter, TheAwardResults) {}
    DECLARE_MESSAGE_MAP()

    Clock::time_point Started;
    double OpenMs = 0;
    double DrawMs = 0;
    std::vector<double> SwitchMs;

protected:
    BOOL OnInitDialog() override {
        const BOOL result = AwardMapDialog::OnInitDialog();
        // No result list under it here: the size it takes over a list of 600 pixels.
        ::MoveWindow(m_hWnd, 0, 0, 527, 600, FALSE);
        ::PostMessageA(m_hWnd, kMeasure, 0, 0);
        return result;
    }

    LRESULT OnMeasure(WPARAM, LPARAM) {
        // The first picture painted: the window is open.
        ::UpdateWindow(m_hWnd);
        ::UpdateWindow(View());
        OpenMs = MsSince(Started);
        const auto drawStart = Clock::now();
        HBITMAP picture = RenderPicture();
        DrawMs = MsSince(drawStart);
        if (picture) ::DeleteObject(picture);
        for (int band : MapBandChoices(AwardFilter)) {
            const auto start = Clock::now();
            ChooseBand(band);
            ::UpdateWindow(View());
            SwitchMs.push_back(MsSince(start));
        }
        EndDialog(IDOK);
        return 0;
    }
};

FRAMEWORK_MESSAGE_MAP(TimedMap, AwardMapDialog, MapMessage(kMeasure, &TimedMap::OnMeasure))

// The map's template as a plain dialog: no map, no drawing.
class BareDialog : public CDialog {
public:
    BareDialog() : CDialog(IDD_AWARDMAP) {}
    DECLARE_MESSAGE_MAP()

    Clock::time_point Started;
    double OpenMs = 0;

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CDialog::OnInitDialog();
        ::MoveWindow(m_hWnd, 0, 0, 527, 600, FALSE);
        ::PostMessageA(m_hWnd, kMeasure, 0, 0);
        return result;
    }
    LRESULT OnMeasure(WPARAM, LPARAM) {
        ::UpdateWindow(m_hWnd);
        OpenMs = MsSince(Started);
        EndDialog(IDOK);
        return 0;
    }
};

FRAMEWORK_MESSAGE_MAP(BareDialog, CDialog, MapMessage(kMeasure, &BareDialog::OnMeasure))

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const unsigned qsos = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1000000;
    test::TempDir dir("awards-map-bench", true);
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
    const auto tallyStart = Clock::now();
    if (TallyLoggerLog(AwardFilter, JccTable, TheAwardResults) != TallyOutcome::Done) {
        std::fprintf(stderr, "the tally did not read the log\n");
        return 1;
    }
    const double tallyMs = MsSince(tallyStart);

    std::vector<double> open, bare, model, draw, switches;
    for (int r = 0; r < runs; ++r) {
        BareDialog plain;
        plain.Started = Clock::now();
        plain.DoModal();
        bare.push_back(plain.OpenMs);
        const auto modelStart = Clock::now();
        const AwardMap built = BuildAwardMap(TheAwardResults, JccTable, -1);
        model.push_back(MsSince(modelStart));
        if (built.Kind != Jcc) return 1;

        TimedMap map;
        map.Started = Clock::now();
        const INT_PTR ended = map.DoModal();
        if (ended != IDOK) {
            std::fprintf(stderr, "the map window did not run (%d)\n", static_cast<int>(ended));
            return 1;
        }
        open.push_back(map.OpenMs);
        draw.push_back(map.DrawMs);
        switches.insert(switches.end(), map.SwitchMs.begin(), map.SwitchMs.end());
    }
    std::printf("JCC map: log of %u QSOs, %d runs, %zu band switches (medians)\n", qsos, runs, switches.size());
    std::printf("  tally, once before                 %8.1f ms\n", tallyMs);
    std::printf("  open until the map is painted      %8.1f ms\n", bench::Median(open));
    std::printf("    the same template as a bare dialog %6.1f ms (the window system's share)\n", bench::Median(bare));
    std::printf("    the model alone                  %8.2f ms\n", bench::Median(model));
    std::printf("    the picture drawn off the screen %8.1f ms\n", bench::Median(draw));
    std::printf("  band switch until repainted        %8.1f ms\n", bench::Median(switches));
    std::printf("  slowest band switch                %8.1f ms\n",
                switches.empty() ? 0.0 : *std::max_element(switches.begin(), switches.end()));
    return 0;
}
