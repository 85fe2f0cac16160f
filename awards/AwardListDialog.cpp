#include "awards/AwardListDialog.h"

#include "awards/AwardList.h"
#include "logstore/LogAccess.h"

namespace {

// Window sizes in pixels for 96 DPI, scaled to the window's DPI; the
// height of the WAJA and area lists is the main window's, already in pixels.
constexpr int kAjdWidth = 310;
constexpr int kAjdHeight = 205;
constexpr int kWajaWidth = 355;
constexpr int kAreaWidth = 600;

}  // namespace

void ShowAwardMessage(const char* text) {
    ::MessageBoxA(::GetActiveWindow(), text, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
}

AwardListDialog::AwardListDialog(const AwardCriteria& criteria, const ListAnchor& anchor,
                                 ListSortState& sortState, AwardStatistics& results)
    : CDialog(IDD_AWARDLIST), criteria_(criteria), anchor_(anchor), sortState_(sortState), results_(results) {}

AwardListDialog::~AwardListDialog() = default;

FRAMEWORK_MESSAGE_MAP(AwardListDialog, CDialog,
    MapSize(&AwardListDialog::OnSize),
    MapNotify(IDC_AWARDLIST, LVN_COLUMNCLICK, &AwardListDialog::OnColumnClick))

void AwardListDialog::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, IDC_AWARDLIST, m_List); }

BOOL AwardListDialog::OnInitDialog() {
    // The control of an earlier opening is gone.
    m_List.Detach();
    CDialog::OnInitDialog();
    const int32_t kind = criteria_.AwardKind;
    m_List.Create(rows_);
    m_List.InsertColumns(AwardColumns(kind), AwardColumnCount(kind));
    rows_.Reset(AwardColumnCount(kind));
    const AreaEntry* table = AreaTableOfKind(kind);
    const TallyOutcome outcome = TallyLoggerLog(criteria_, table, results_);
    if (outcome == TallyOutcome::LibraryMissing) {
        ShowAwardMessage(kLibraryMissingText);
        m_List.ShowRows();
        return TRUE;   // headers only, template size and place
    }
    // A log that cannot be opened is said so, and the list shows what it
    // shows for an empty log: not worked is not the same as not known.
    BuildAwardRows(criteria_, results_, table, rows_);
    m_List.ShowRows();
    PlaceAtMainWindow(kind);
    if (outcome == TallyOutcome::LogCannotBeOpened) ShowAwardMessage(kLogCannotBeOpenedText);
    return TRUE;
}

void AwardListDialog::PlaceAtMainWindow(int32_t kind) {
    int width = ScaleToWindowDpi(m_hWnd, kAreaWidth);
    int height = anchor_.Height;
    if (kind == Ajd) {
        width = ScaleToWindowDpi(m_hWnd, kAjdWidth);
        height = ScaleToWindowDpi(m_hWnd, kAjdHeight);
    } else if (kind == Waja) {
        width = ScaleToWindowDpi(m_hWnd, kWajaWidth);
    }
    MoveWindow(anchor_.Left, anchor_.Top, width, height, TRUE);
}

void AwardListDialog::OnSize(UINT, int cx, int cy) {
    Default();
    m_List.FillParent(m_hWnd, 0, 0, cx, cy);
}

void AwardListDialog::OnColumnClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    m_List.SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem, sortState_);
}
