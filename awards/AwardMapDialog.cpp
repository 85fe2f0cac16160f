#include "awards/AwardMapDialog.h"

#include <algorithm>

#include "awards/AreaQsoDialog.h"
#include "awards/AwardList.h"
#include "awards/AwardListDialog.h"
#include "lists/FileSave.h"
#include "lists/ReportList.h"
#include "res/resource.h"

namespace {

const char kViewClass[] = "CallsignCheckAwardMap";
const char kSaveTitle[] = "PNG で保存";

// Sizes in pixels at 96 DPI: the smallest map window, and the height it
// opens with at least (the owner's height when that is more).
constexpr int kMinWidth = 360;
constexpr int kMinHeight = 400;
constexpr int kOpenHeight = 600;

void RegisterViewClass(WNDPROC proc) {
    WNDCLASSA wc{};
    if (::GetClassInfoA(AfxGetInstanceHandle(), kViewClass, &wc)) return;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kViewClass;
    ::RegisterClassA(&wc);
}

// The result list's rows of one prefecture, in a list window like the band
// grid's, on top of the map.
class PrefectureRowsDialog : public AwardTableWindow {
public:
    PrefectureRowsDialog(const AwardCriteria& criteria, const AwardStatistics& results, int prefecture)
        : AwardTableWindow(criteria), results_(results), prefecture_(prefecture) {}

protected:
    BOOL OnInitDialog() override {
        SetUpTable();
        const int32_t kind = criteria_.AwardKind;
        ::SetWindowTextA(m_hWnd, PrefectureRowsCaption(kind, prefecture_).c_str());
        m_List.InsertColumns(AwardColumns(kind), AwardColumnCount(kind));
        BuildPrefectureRows(criteria_, results_, AreaTableOfKind(kind), prefecture_, rows_);
        m_List.ShowRows();
        SetStatusText(std::to_string(rows_.Count()) + " 件");
        RECT owner;
        HWND under = ::GetWindow(m_hWnd, GW_OWNER);
        if (under && ::GetWindowRect(under, &owner)) {
            int width = 0;
            for (int c = 0; c < m_List.ColumnCount(); ++c) width += m_List.GetColumnWidth(c);
            width += ::GetSystemMetrics(SM_CXVSCROLL) + 4 * ::GetSystemMetrics(SM_CXFRAME);
            MoveWindow(owner.left, owner.top, width, (owner.bottom - owner.top) / 2, TRUE);
        }
        return TRUE;
    }
    const char* CsvFileKind() const override { return ""; }

private:
    const AwardStatistics& results_;
    int prefecture_;
};

}  // namespace

AwardMapDialog::AwardMapDialog(const AwardCriteria& criteria, const AwardStatistics& results)
    : CDialog(IDD_AWARDMAP), criteria_(criteria), results_(results) {}

AwardMapDialog::~AwardMapDialog() = default;

FRAMEWORK_MESSAGE_MAP(AwardMapDialog, CDialog,
    MapSize(&AwardMapDialog::OnSize),
    MapCommand(IDC_MAP_BAND, &AwardMapDialog::OnBandChange, CBN_SELCHANGE),
    MapCommand(ID_MAP_COPY, &AwardMapDialog::OnCopy, 0),
    MapCommand(ID_MAP_SAVEPNG, &AwardMapDialog::OnSavePng, 0),
    MapMessage(WM_CONTEXTMENU, &AwardMapDialog::OnContextMenu),
    MapMessage(WM_GETMINMAXINFO, &AwardMapDialog::OnMinMaxInfo))

AwardMapDialog* AwardMapDialog::FromWindow(HWND window) {
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    return dynamic_cast<AwardMapDialog*>(dialog);
}

BOOL AwardMapDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    const int32_t kind = criteria_.AwardKind;
    ::SetWindowTextA(m_hWnd, MapCaption(kind).c_str());
    HWND chooser = GetDlgItem(IDC_MAP_BAND);
    bands_ = MapBandChoices(criteria_);
    for (int band : bands_) ::SendMessageA(chooser, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(MapBandLabel(band).c_str()));
    ::SendMessageA(chooser, CB_SETCURSEL, 0, 0);
    map_ = BuildAwardMap(results_, AreaTableOfKind(kind), -1);
    focused_ = 1;

    RegisterViewClass(&AwardMapDialog::ViewProc);
    view_ = ::CreateWindowExA(0, kViewClass, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MAP_VIEW)), AfxGetInstanceHandle(),
                              nullptr);
    ::SetWindowLongPtrA(view_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SendMessageA(view_, WM_SETFONT, ::SendMessageA(m_hWnd, WM_GETFONT, 0, 0), FALSE);
    PlaceOverOwner();
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    LayOut(client.right, client.bottom);
    ::SetFocus(view_);
    return FALSE;   // the focus is on the map
}

void AwardMapDialog::PlaceOverOwner() {
    // Like the band grid: at the result list's place, at least as tall as it.
    RECT owner;
    HWND under = ::GetWindow(m_hWnd, GW_OWNER);
    if (!under || !::GetWindowRect(under, &owner)) return;
    RECT window, client;
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    const int frameX = (window.right - window.left) - client.right;
    const int frameY = (window.bottom - window.top) - client.bottom;
    int height = std::max<int>(owner.bottom - owner.top, ScaleToWindowDpi(m_hWnd, kOpenHeight));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoA(::MonitorFromWindow(under, MONITOR_DEFAULTTONEAREST), &monitor))
        height = std::min<int>(height, monitor.rcWork.bottom - monitor.rcWork.top);
    // As wide as square cells need for the height the grid gets.
    RECT chooser;
    ::GetWindowRect(GetDlgItem(IDC_MAP_BAND), &chooser);
    const int top = (chooser.bottom - chooser.top) + 2 * ScaleToWindowDpi(m_hWnd, 4);
    HDC dc = ::GetDC(m_hWnd);
    const MapLook look = Look(false);
    const int viewHeight = height - frameY - top;
    const MapGeometry g = MapGeometryFor(dc, 10000, viewHeight, look);
    ::ReleaseDC(m_hWnd, dc);
    const int width = std::max(ScaleToWindowDpi(m_hWnd, kMinWidth),
                               g.Cell * kMapColumns + 2 * ScaleToWindowDpi(m_hWnd, 6) + frameX);
    MoveWindow(owner.left, owner.top, width, height, TRUE);
}

LRESULT AwardMapDialog::OnMinMaxInfo(WPARAM, LPARAM lp) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lp);
    info->ptMinTrackSize.x = ScaleToWindowDpi(m_hWnd, kMinWidth);
    info->ptMinTrackSize.y = ScaleToWindowDpi(m_hWnd, kMinHeight);
    return 0;
}

void AwardMapDialog::OnSize(UINT, int cx, int cy) {
    Default();
    LayOut(cx, cy);
}

void AwardMapDialog::LayOut(int cx, int cy) {
    if (!view_) return;
    RECT chooser;
    HWND box = GetDlgItem(IDC_MAP_BAND);
    ::GetWindowRect(box, &chooser);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&chooser), 2);
    const int top = chooser.bottom + ScaleToWindowDpi(m_hWnd, 4);
    ::MoveWindow(view_, 0, top, cx, std::max(0, cy - top), TRUE);
}

MapLook AwardMapDialog::Look(bool withFocus) const {
    MapLook look;
    look.Font = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    look.Dpi = WindowDpi(m_hWnd);
    look.Title = MapCaption(map_.Kind);
    look.Focused = withFocus && ::GetFocus() == view_ ? focused_ : 0;
    return look;
}

MapGeometry AwardMapDialog::Geometry() const {
    RECT client;
    ::GetClientRect(view_, &client);
    HDC dc = ::GetDC(view_);
    const MapGeometry g = MapGeometryFor(dc, client.right, client.bottom, Look(false));
    ::ReleaseDC(view_, dc);
    return g;
}

void AwardMapDialog::TrackTip(int x, int y) {
    if (!tips_) {
        // Made on the first move of the mouse over the map, not at opening:
        // one tool, the whole view, whose text is that of the tile under the mouse.
        tips_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                  AfxGetInstanceHandle(), nullptr);
        TOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = view_;
        tool.uId = 1;
        tool.rect = {0, 0, 32767, 32767};   // the view at any size
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        ::SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        // The move that made it, which the tool did not see.
        MSG move = {view_, WM_MOUSEMOVE, 0, MAKELPARAM(x, y), static_cast<DWORD>(::GetMessageTime()), {x, y}};
        ::SendMessageA(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    }
    const int p = Geometry().HitTest(x, y);
    if (p != hovered_) {
        // Another tile: the tip goes, and comes back with the new tile's text.
        hovered_ = p;
        ::SendMessageA(tips_, TTM_POP, 0, 0);
    }
}

void AwardMapDialog::ShowBand(int band) {
    map_ = BuildAwardMap(results_, AreaTableOfKind(criteria_.AwardKind), band);
    ::InvalidateRect(view_, nullptr, FALSE);
}

bool AwardMapDialog::ChooseBand(int band) {
    const auto at = std::find(bands_.begin(), bands_.end(), band);
    if (at == bands_.end()) return false;
    ::SendMessageA(GetDlgItem(IDC_MAP_BAND), CB_SETCURSEL, static_cast<WPARAM>(at - bands_.begin()), 0);
    ShowBand(band);
    return true;
}

void AwardMapDialog::OnBandChange() {
    const LRESULT chosen = ::SendMessageA(GetDlgItem(IDC_MAP_BAND), CB_GETCURSEL, 0, 0);
    if (chosen >= 0 && chosen < static_cast<LRESULT>(bands_.size())) ShowBand(bands_[static_cast<size_t>(chosen)]);
}

BOOL AwardMapDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && IsCtrlDown() && (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        if (msg->wParam == 'C') {
            CopyPicture();
            return TRUE;
        }
        if (msg->wParam == 'S') {
            SavePicture();
            return TRUE;
        }
    }
    return FALSE;
}

HBITMAP AwardMapDialog::RenderPicture() const {
    RECT client;
    ::GetClientRect(view_, &client);
    return RenderAwardMap(client.right, client.bottom, map_, Look(false));
}

bool AwardMapDialog::CopyPicture() {
    HBITMAP picture = RenderPicture();
    const bool ok = PutBitmapOnClipboard(m_hWnd, picture);
    if (picture) ::DeleteObject(picture);
    return ok;
}

void AwardMapDialog::SavePicture() {
    SaveAwardFile(m_hWnd, kSaveTitle, MapFileName(map_.Kind, TodayYmd()), "png",
                  [this](std::string* png, std::string* reason) {
                      HBITMAP picture = RenderPicture();
                      const bool made = picture && PngOfBitmap(picture, png, reason);
                      if (picture) ::DeleteObject(picture);
                      return made;
                  });
}

void AwardMapDialog::OnCopy() { CopyPicture(); }
void AwardMapDialog::OnSavePng() { SavePicture(); }

LRESULT AwardMapDialog::OnContextMenu(WPARAM, LPARAM lp) {
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, ID_MAP_COPY, "コピー\tCtrl+C");
    ::AppendMenuA(menu, MF_STRING, ID_MAP_SAVEPNG, "PNG で保存...\tCtrl+S");
    POINT at = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    if (lp == static_cast<LPARAM>(-1)) ::GetCursorPos(&at);   // from the keyboard
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
    return 0;
}

void AwardMapDialog::OpenPrefectureAreas(int prefecture) {
    if (map_.Kind == Waja || map_.Kind == Ajd) {
        // WAJA: the prefecture's QSOs; AJD: its call area's, on the band shown.
        char code[3] = {};
        if (map_.Kind == Waja) {
            code[0] = static_cast<char>('0' + prefecture / 10);
            code[1] = static_cast<char>('0' + prefecture % 10);
        } else {
            code[0] = static_cast<char>('0' + map_.Tile(prefecture).CallArea);
        }
        AreaQsoDialog qsos(criteria_, AreaOfAwardRow(map_.Kind, nullptr, code), map_.Band);
        qsos.DoModal();
        return;
    }
    // JCC and JCG: the result list's rows of the prefecture's areas.
    PrefectureRowsDialog rows(criteria_, results_, prefecture);
    rows.DoModal();
}

void AwardMapDialog::MoveFocus(int dx, int dy) {
    focused_ = NeighbourTile(focused_, dx, dy);
    ::InvalidateRect(view_, nullptr, FALSE);
}

// ---------------------------------------------------------------- the view

LRESULT CALLBACK AwardMapDialog::ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<AwardMapDialog*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
    try {
        return self->ViewMessage(msg, wp, lp);
    } catch (...) {
        return 0;   // nothing thrown crosses into the system
    }
}

void AwardMapDialog::PaintView() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(view_, &ps);
    RECT client;
    ::GetClientRect(view_, &client);
    // Drawn whole into memory first, then put on the screen at once.
    HDC memory = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, std::max<int>(1, client.right), std::max<int>(1, client.bottom));
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    DrawAwardMap(memory, client.right, client.bottom, map_, Look(true));
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::EndPaint(view_, &ps);
}

LRESULT AwardMapDialog::ViewMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        PaintView();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(view_, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        // Arrows move between tiles and Enter opens one; Tab and Esc stay the dialog's.
        if (lp && reinterpret_cast<MSG*>(lp)->message == WM_KEYDOWN && reinterpret_cast<MSG*>(lp)->wParam == VK_RETURN)
            return DLGC_WANTARROWS | DLGC_WANTMESSAGE;
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        switch (wp) {
        case VK_LEFT: MoveFocus(-1, 0); return 0;
        case VK_RIGHT: MoveFocus(1, 0); return 0;
        case VK_UP: MoveFocus(0, -1); return 0;
        case VK_DOWN: MoveFocus(0, 1); return 0;
        case VK_RETURN: OpenPrefectureAreas(focused_); return 0;
        default: break;
        }
        break;
    case WM_LBUTTONDOWN: {
        ::SetFocus(view_);
        const int p = Geometry().HitTest(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        if (p != 0) {
            focused_ = p;
            ::InvalidateRect(view_, nullptr, FALSE);
            ::UpdateWindow(view_);
            OpenPrefectureAreas(p);
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        TrackTip(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (!tips_ || header->hwndFrom != tips_ || header->code != TTN_GETDISPINFOA) break;
        // No text over the sea: the tip is not shown there.
        tipText_ = hovered_ >= 1 && hovered_ <= kPrefectureCount ? TileTipText(map_, hovered_) : std::string();
        reinterpret_cast<NMTTDISPINFOA*>(lp)->lpszText = const_cast<char*>(tipText_.c_str());
        return 0;
    }
    default:
        break;
    }
    return ::DefWindowProcA(view_, msg, wp, lp);
}
