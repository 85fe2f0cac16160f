#include "awards/AwardListDialog.h"

#include "app/MainWindowPlacement.h"
#include "awards/AwardFilter.h"
#include "awards/AwardList.h"
#include "awards/AwardTally.h"

namespace {

// The rows on show. Only one result list is open at a time, so the two list
// objects share this one fixed store.
AwardListRows ShownRows;

constexpr DWORD kListStyles = LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;   // 0x31

// Window sizes in pixels for 96 DPI, scaled to the window's DPI; the
// height of the WAJA and area lists is the main window's, already in pixels.
constexpr int kAjdWidth = 310;
constexpr int kAjdHeight = 205;
constexpr int kWajaWidth = 355;
constexpr int kAreaWidth = 600;

bool RunTally(int32_t kind) {
    switch (kind) {
    case Ajd: return TallyAjd();
    case Waja: return TallyWaja();
    case Jcc:
    case Jcg: return TallyJccJcg();
    default: return false;
    }
}

// Item data is the row's id; the sorted place of each id is in Rank.
int CALLBACK CompareByRank(LPARAM a, LPARAM b, LPARAM) {
    const int32_t ra = ShownRows.Rank[static_cast<int>(a)];
    const int32_t rb = ShownRows.Rank[static_cast<int>(b)];
    return ra < rb ? -1 : (ra > rb ? 1 : 0);
}

struct MessageSinkInstaller {
    MessageSinkInstaller() { AwardMessageSink = &ShowAwardMessage; }
} const InstallMessageSink;

}  // namespace

void ShowAwardMessage(const char* text) {
    ::MessageBoxA(::GetActiveWindow(), text, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
}

AwardListDialog::AwardListDialog() : CDialog(IDD_AWARDLIST) {}

AwardListDialog::~AwardListDialog() = default;

FRAMEWORK_MESSAGE_MAP(AwardListDialog, CDialog,
    MapSize(&AwardListDialog::OnSize),
    MapNotify(IDC_AWARDLIST, LVN_COLUMNCLICK, &AwardListDialog::OnColumnClick))

void AwardListDialog::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, IDC_AWARDLIST, m_List); }

BOOL AwardListDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    const int32_t kind = AwardFilter.AwardKind;
    m_List.SetExtendedStyle(kListStyles);
    InsertColumns(kind);
    ShownRows.Kind = kind;
    ShownRows.Count = 0;
    ShownRows.ColumnCount = AwardColumnCount(kind);
    if (!RunTally(kind)) return TRUE;   // headers only, template size and place
    BuildAwardRows(ShownRows);
    ShowRows(ShownRows);
    PlaceAtMainWindow(kind);
    return TRUE;
}

void AwardListDialog::InsertColumns(int32_t kind) {
    for (int c = 0; c < AwardColumnCount(kind); ++c) {
        const AwardColumn* column = AwardColumnAt(kind, c);
        const int format = column->Align == ColumnAlign::Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
        m_List.InsertColumn(c, column->Title, format, ScaleToWindowDpi(m_hWnd, column->Width), c);
    }
}

void AwardListDialog::ShowRows(const AwardListRows& rows) {
    // A list that repaints after every row is very slow; fill it unseen.
    m_List.SetRedraw(FALSE);
    m_List.DeleteAllItems();
    for (int i = 0; i < rows.Count; ++i) {
        const AwardListRow& row = rows.Rows[i];
        const int item = m_List.InsertItem(i, row.Cells[0]);
        m_List.SetItemData(item, static_cast<DWORD_PTR>(row.Id));
        for (int c = 1; c < rows.ColumnCount; ++c)
            if (row.Cells[c][0] != '\0') m_List.SetItemText(item, c, row.Cells[c]);
    }
    m_List.SetRedraw(TRUE);
}

void AwardListDialog::PlaceAtMainWindow(int32_t kind) {
    int width = ScaleToWindowDpi(m_hWnd, kAreaWidth);
    int height = MainWindowPlacement.Height;
    if (kind == Ajd) {
        width = ScaleToWindowDpi(m_hWnd, kAjdWidth);
        height = ScaleToWindowDpi(m_hWnd, kAjdHeight);
    } else if (kind == Waja) {
        width = ScaleToWindowDpi(m_hWnd, kWajaWidth);
    }
    MoveWindow(MainWindowPlacement.Left, MainWindowPlacement.Top, width, height, TRUE);
}

void AwardListDialog::OnSize(UINT, int cx, int cy) {
    Default();
    if (m_List.m_hWnd && ::IsWindow(m_List.m_hWnd) && ::GetParent(m_List.m_hWnd) == m_hWnd)
        m_List.MoveWindow(0, 0, cx, cy, TRUE);
}

void AwardListDialog::OnColumnClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
    if (SortAwardRows(ShownRows, column)) m_List.SortItems(&CompareByRank, 0);
}
