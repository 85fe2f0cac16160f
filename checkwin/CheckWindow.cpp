#include "checkwin/CheckWindow.h"

#include <commctrl.h>

#include "checkwin/PlacementRules.h"
#include "checkwin/ScreenPlacement.h"
#include "logstore/LogAccess.h"
#include "logstore/QsoSource.h"
#include "res/resource.h"

const char kCheckLeftKey[] = "CHECKLEFT";
const char kCheckTopKey[] = "CHECKTOP";
const char kCheckWidthKey[] = "CHECKWIDTH";
const char kCheckHeightKey[] = "CHECKHIGHT";
const char kCheckOpenKey[] = "CHECKOPEN";

namespace {

// Posted to the window when the call box changed.
constexpr UINT kFollowMessage = WM_APP + 22;
// The size it opens with when nothing usable is stored, at 96 DPI.
constexpr int kDefaultWidth = 340, kDefaultHeight = 420;
constexpr char kLogFileName[] = "vireon.vdb";
const char kLibraryMissing[] = "VIREON50.DLLがみつかりません";

// The text colours of the rows that are not plain "contains" rows.
constexpr COLORREF kOneOffColour = RGB(0xB0, 0x20, 0x00);
constexpr COLORREF kMoreColour = RGB(0x60, 0x60, 0x60);

bool SameFile(const IndexFileStamp& a, const IndexFileStamp& b) {
    return a.Present == b.Present && a.Size == b.Size && a.WriteTime == b.WriteTime;
}

}  // namespace

CheckWindow::CheckWindow(SettingsStore* settings) : CDialog(IDD_CHECKWINDOW), settings_(settings) {}

CheckWindow::~CheckWindow() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    if (boldFont_) ::DeleteObject(boldFont_);
}

FRAMEWORK_MESSAGE_MAP(CheckWindow, CDialog,
    MapSize(&CheckWindow::OnSize),
    MapVoid(WM_CLOSE, &CheckWindow::OnClose),
    MapVoid(WM_DESTROY, &CheckWindow::OnDestroy),
    MapMessage(kFollowMessage, &CheckWindow::OnFollow),
    MapNotify(IDC_CHECKLIST, NM_DBLCLK, &CheckWindow::OnListActivate),
    MapNotify(IDC_CHECKLIST, NM_RETURN, &CheckWindow::OnListActivate),
    MapNotify(IDC_CHECKLIST, LVN_KEYDOWN, &CheckWindow::OnListKeyDown),
    MapNotify(IDC_CHECKLIST, NM_CUSTOMDRAW, &CheckWindow::OnListCustomDraw))

void CheckWindow::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, IDC_CHECKLIST, list_); }

BOOL CheckWindow::OnInitDialog() {
    list_.Detach();
    CDialog::OnInitDialog();
    list_.Create(rows_);
    rows_.Reset(kCheckColumnTotal);
    list_.InsertColumns(CheckColumns, kCheckColumnTotal);
    statusBar_.Create(m_hWnd, IDC_CHECKSTATUS);
    statusBar_.SetText(statusText_);
    // The exact call is drawn in the list's own font, made bold.
    if (!boldFont_) {
        LOGFONTA font{};
        HFONT listFont = reinterpret_cast<HFONT>(::SendMessageA(list_.m_hWnd, WM_GETFONT, 0, 0));
        if (listFont && ::GetObjectA(listFont, sizeof font, &font)) {
            font.lfWeight = FW_BOLD;
            boldFont_ = ::CreateFontIndirectA(&font);
        }
    }
    // FALSE: the dialog manager gives none of its controls the focus, which
    // stays in the main window's call box.
    return FALSE;
}

void CheckWindow::OnDestroy() {
    // Also when the owner goes: the window is made anew at the next opening.
    list_.Detach();
    placed_ = false;
    updatePending_ = false;
    open_ = false;
    if (OpenChanged) OpenChanged(false);
}

// ---------------------------------------------------------------- open and close

void CheckWindow::Open(HWND owner, const std::string& text) {
    if (!m_hWnd && !CreateModeless(owner)) return;
    if (!placed_) RestorePlacement(owner);
    text_ = text;
    // Beside the main window, which keeps the focus in its call box.
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    open_ = true;
    if (OpenChanged) OpenChanged(true);
    ReadLog();
    ShowMatches();
}

void CheckWindow::Close() {
    if (!IsOpen()) return;
    ::ShowWindow(m_hWnd, SW_HIDE);
    open_ = false;
    if (OpenChanged) OpenChanged(false);
}

bool CheckWindow::IsOpen() const { return m_hWnd && open_; }

void CheckWindow::OnClose() { Close(); }

void CheckWindow::FollowText(const std::string& text) {
    text_ = text;
    if (!IsOpen() || updatePending_) return;
    updatePending_ = true;
    ::PostMessageA(m_hWnd, kFollowMessage, 0, 0);
}

LRESULT CheckWindow::OnFollow(WPARAM, LPARAM) {
    updatePending_ = false;
    if (!IsOpen()) return 0;
    ReadLogIfChanged();
    ShowMatches();
    return 0;
}

// ---------------------------------------------------------------- the log's calls

void CheckWindow::ReadLog() {
    const IndexFileStamp stamp = StampOfIndexFile(kLogFileName);
    const bool toldBefore = logUnreadable_ && SameFile(stamp, logStamp_);
    logStamp_ = stamp;
    bool bound = false, built = false;
    {
        // The library is bound for the read alone.
        LoggerLogSource source;
        bound = source.Bound();
        built = bound && table_.Build(source);
    }
    if (!built) table_.Clear();
    logRead_ = true;
    logUnreadable_ = !built;
    if (built || toldBefore) return;
    // Said once for each state of the log file; the window says it meanwhile.
    SetStatus(kCheckLogUnreadable);
    rows_.Reset(kCheckColumnTotal);
    looks_.clear();
    list_.ShowRows();
    ::MessageBoxA(::GetWindow(m_hWnd, GW_OWNER), bound ? kLogCannotBeOpenedText : kLibraryMissing, AfxGetAppName(),
                  MB_OK | MB_ICONEXCLAMATION);
}

void CheckWindow::ReadLogIfChanged() {
    if (!logRead_ || !SameFile(StampOfIndexFile(kLogFileName), logStamp_)) ReadLog();
}

void CheckWindow::ShowMatches() {
    if (!m_hWnd) return;
    list_.ClearRows();
    looks_.clear();
    if (logUnreadable_) {
        rows_.Reset(kCheckColumnTotal);
        SetStatus(kCheckLogUnreadable);
    } else {
        const CheckMatches matches = FindCheckMatches(table_, text_);
        FillCheckRows(table_, matches, rows_, looks_);
        SetStatus(CheckStatusText(text_, matches));
    }
    list_.ShowRows();
}

void CheckWindow::SetStatus(const std::string& text) {
    statusText_ = text;
    statusBar_.SetText(text);
}

// ---------------------------------------------------------------- the list

void CheckWindow::OnSize(UINT type, int cx, int cy) {
    Default();
    if (type == SIZE_MINIMIZED) return;
    list_.FillParent(m_hWnd, 0, statusBar_.Place(), cx, cy);
}

void CheckWindow::ChooseRow(int position) {
    if (position < 0 || position >= rows_.Count()) return;
    const int row = rows_.RowAt(position);
    if (row < 0 || static_cast<size_t>(row) >= looks_.size() || looks_[static_cast<size_t>(row)] == CheckRowLook::More)
        return;
    const std::string call = rows_.Text(position, kCheckColumnCall);
    if (LookUp) LookUp(call);
}

void CheckWindow::OnListActivate(NMHDR* header, LRESULT* result) {
    int position = -1;
    if (header->code == NM_DBLCLK) position = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
    if (position < 0) position = list_.GetNextItem(-1, LVNI_FOCUSED | LVNI_SELECTED);
    if (position < 0) position = list_.GetFirstSelectedItem();
    ChooseRow(position);
    *result = 0;
}

void CheckWindow::OnListKeyDown(NMHDR* header, LRESULT* result) {
    // F6 closes the window from its list as it does from the main window.
    if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_F6) Close();
    *result = 0;
}

void CheckWindow::OnListCustomDraw(NMHDR* header, LRESULT* result) {
    NMLVCUSTOMDRAW* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    *result = CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return;
    const int row = rows_.RowAt(static_cast<int>(draw->nmcd.dwItemSpec));
    if (row < 0 || static_cast<size_t>(row) >= looks_.size()) return;
    switch (looks_[static_cast<size_t>(row)]) {
    case CheckRowLook::Exact:
        if (boldFont_) {
            ::SelectObject(draw->nmcd.hdc, boldFont_);
            *result = CDRF_NEWFONT;
        }
        break;
    case CheckRowLook::OneOff:
        draw->clrText = kOneOffColour;
        break;
    case CheckRowLook::More:
        draw->clrText = kMoreColour;
        break;
    case CheckRowLook::Contains:
        break;
    }
}

// ---------------------------------------------------------------- placement

bool CheckWindow::WasOpen() const {
    return settings_ && const_cast<SettingsStore*>(settings_)->ReadInt(kCheckOpenKey) != 0;
}

void CheckWindow::RestorePlacement(HWND owner) {
    placed_ = true;
    const int dpi = WindowDpi(m_hWnd);
    const int defaultWidth = ScaleToDpi(kDefaultWidth, dpi), defaultHeight = ScaleToDpi(kDefaultHeight, dpi);
    const PlacementLimits limits = CurrentPlacementLimits(m_hWnd);
    int left = 0, top = 0, width = defaultWidth, height = defaultHeight;
    bool usable = false;
    if (settings_) {
        left = settings_->ReadInt(kCheckLeftKey);
        top = settings_->ReadInt(kCheckTopKey);
        width = settings_->ReadSize(kCheckWidthKey, dpi);
        height = settings_->ReadSize(kCheckHeightKey, dpi);
        usable = IsUsablePlacement(left, top, width, height, limits);
    }
    if (!usable) {
        // Nothing usable stored (a first start, another monitor, a damaged
        // file): beside the main window's right edge, or just inside it when
        // the screen ends there.
        width = defaultWidth;
        height = defaultHeight;
        RECT main{100, 100, 100, 100};
        if (owner) main = NormalWindowRectOnScreen(owner);
        left = main.right;
        top = main.top;
        if (!IsUsablePlacement(left, top, width, height, limits)) left = main.right - width;
        if (!IsUsablePlacement(left, top, width, height, limits)) left = top = 100;
    }
    ::MoveWindow(m_hWnd, left, top, width, height, FALSE);
}

void CheckWindow::SavePlacement() {
    // A window never opened in this run leaves the file as it was: what is
    // stored says closed (else it would have opened at the start).
    if (!settings_ || !m_hWnd || !placed_) return;
    settings_->WriteInt(kCheckOpenKey, IsOpen() ? 1 : 0);
    const RECT r = NormalWindowRectOnScreen(m_hWnd);
    settings_->WriteInt(kCheckLeftKey, r.left);
    settings_->WriteInt(kCheckTopKey, r.top);
    settings_->WriteInt(kCheckWidthKey, r.right - r.left);
    settings_->WriteInt(kCheckHeightKey, r.bottom - r.top);
}
