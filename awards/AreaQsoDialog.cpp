#include "awards/AreaQsoDialog.h"

#include "checkwin/CheckRules.h"
#include "logstore/Bands.h"
#include "logstore/LogAccess.h"
#include "logstore/QsoSource.h"

namespace {

// The main window's width when it opens at its defaults, at 96 DPI.
constexpr int kMainWindowWidth = 918;

}  // namespace

AreaQsoDialog::AreaQsoDialog(const AwardCriteria& criteria, const AreaTarget& target, int band)
    : AwardTableWindow(criteria), target_(target), band_(band), sortState_(QsoColumns, kQsoColumnCount) {}

AreaQsoDialog::~AreaQsoDialog() = default;

FRAMEWORK_MESSAGE_MAP(AreaQsoDialog, AwardTableWindow,
    MapNotify(IDC_AWARDLIST, LVN_COLUMNCLICK, &AreaQsoDialog::OnColumnClick))

BOOL AreaQsoDialog::OnInitDialog() {
    qsoRows_.Clear();
    sortState_ = ListSortState(QsoColumns, kQsoColumnCount);
    SetUpTable();
    const AreaEntry* table = AreaTableOfKind(target_.Kind);
    ::SetWindowTextA(m_hWnd, AreaCaption(target_, table).c_str());
    // "JCC-1001-20260101.csv", a band's "JCC-1001-7MHz-20260101.csv".
    fileKind_ = AreaCodeText(target_, table) + "-" + (band_ >= 0 ? std::string(BandName(band_)) + "MHz-" : "");
    m_List.InsertColumns(QsoColumns, kQsoColumnCount);

    const HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));   // IDC_WAIT
    LoggerLogSource log;
    AreaQsos found;
    if (log.Bound()) found = ListAreaQsos(target_, table, &criteria_, band_, log, qsoRows_);
    ::SetCursor(previous);
    m_List.ShowRows();
    if (!log.Bound()) {
        ShowAwardMessage(kLibraryMissingText);
        return TRUE;
    }
    SetStatusText(AreaStatusText(target_, table, found));
    // Fifteen columns are wider than a screen: at most as wide as the main
    // window opens, or the window under it when that is wider.
    RECT owner{};
    HWND under = ::GetWindow(m_hWnd, GW_OWNER);
    if (under) ::GetWindowRect(under, &owner);
    const int mainWidth = ScaleToWindowDpi(m_hWnd, kMainWindowWidth);
    PlaceOverOwner(owner.right - owner.left > mainWidth ? owner.right - owner.left : mainWidth);
    if (log.OpenFailed()) ShowAwardMessage(kLogCannotBeOpenedText);
    return TRUE;
}

void AreaQsoDialog::OnColumnClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    m_List.SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem, sortState_);
}
