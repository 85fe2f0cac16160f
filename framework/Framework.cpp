#include "framework/Framework.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

// ---------------------------------------------------------------- application

static CWinApp* g_app = nullptr;
static CDialog* g_modalTop = nullptr;

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

void CWinApp::EnableControlContainer() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
}

void CWinApp::Enable3dControls() { InitCommonControls(); }

CWinApp* AfxGetApp() { return g_app; }

UINT FrameworkSyncMessage() {
    static const UINT message = ::RegisterWindowMessageA("CallsignCheck.FrameworkSync");
    return message;
}

const char* AfxGetAppName() {
    static char name[MAX_PATH] = {};
    if (name[0]) return name;
    static char path[32768];
    DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return name;
    path[n] = '\0';
    // The base name: after the last separator (stepping over double-byte
    // characters, whose second byte may be 0x5C), up to the last dot.
    const char* base = path;
    for (const char* p = path; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':') base = p + 1;
    const char* dot = nullptr;
    for (const char* p = base; *p; p = ::CharNextA(p))
        if (*p == '.') dot = p;
    size_t length = dot ? static_cast<size_t>(dot - base) : std::strlen(base);
    if (length >= sizeof name) length = sizeof name - 1;
    std::memcpy(name, base, length);
    name[length] = '\0';
    return name;
}

// ---------------------------------------------------------------- DPI

namespace {
using DpiForSystemCall = UINT(WINAPI*)();
using DpiForWindowCall = UINT(WINAPI*)(HWND);

template <class Call>
Call User32Call(const char* name) {
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Call>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}
}  // namespace

int SystemDpi() {
    static const DpiForSystemCall dpiForSystem = User32Call<DpiForSystemCall>("GetDpiForSystem");
    if (dpiForSystem) {
        UINT dpi = dpiForSystem();
        if (dpi > 0) return static_cast<int>(dpi);
    }
    HDC screen = ::GetDC(nullptr);
    int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

int WindowDpi(HWND hwnd) {
    static const DpiForWindowCall dpiForWindow = User32Call<DpiForWindowCall>("GetDpiForWindow");
    if (hwnd && dpiForWindow) {
        UINT dpi = dpiForWindow(hwnd);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int ScaleToWindowDpi(HWND hwnd, int pixels96) { return ScaleToDpi(pixels96, WindowDpi(hwnd)); }

RECT NormalWindowRectOnScreen(HWND hwnd) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ::GetWindowPlacement(hwnd, &wp);
    RECT r = wp.rcNormalPosition;
    if (::GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return r;   // already screen coordinates
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (::GetMonitorInfoA(::MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &mi))
        ::OffsetRect(&r, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
    return r;
}

HINSTANCE AfxGetInstanceHandle() {
    if (g_app && g_app->m_hInstance) return g_app->m_hInstance;
    return GetModuleHandleA(nullptr);
}

int AfxRunApplication(HINSTANCE instance) {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = instance;
    int code = 0;
    try {
        // The start hook's failure result ends the process: there is no
        // message loop of the application's own.
        if (!app->InitInstance()) code = app->ExitInstance();
    } catch (const std::exception& e) {
        OutputDebugStringA(e.what());
        code = 1;
    } catch (...) {
        code = 1;
    }
    return code;
}

// ---------------------------------------------------------------- controls

std::string CWnd::GetWindowText() const {
    int n = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<size_t>(n > 0 ? n : 0) + 1, '\0');
    int got = ::GetWindowTextA(m_hWnd, &text[0], n + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
    return static_cast<DWORD>(::SendMessageA(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
}

int CListCtrl::InsertColumn(int col, const char* heading, int format, int width, int subItem) {
    LVCOLUMNA c{};
    c.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    c.fmt = format;
    c.cx = width;
    c.pszText = const_cast<char*>(heading);
    c.iSubItem = subItem;
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(&c)));
}

int CListCtrl::GetColumnWidth(int col) const {
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(col), 0));
}

int CListCtrl::InsertItem(int item, const char* text) {
    LVITEMA it{};
    it.mask = LVIF_TEXT;
    it.iItem = item;
    it.pszText = const_cast<char*>(text);
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, const char* text) {
    LVITEMA it{};
    it.iSubItem = subItem;
    it.pszText = const_cast<char*>(text);
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it)));
}

std::string CListCtrl::GetItemText(int item, int subItem) const {
    // The control copies at most the buffer's size; grow until the text fits.
    for (int size = 256;; size *= 4) {
        std::vector<char> buf(static_cast<size_t>(size), '\0');
        LVITEMA it{};
        it.iSubItem = subItem;
        it.pszText = buf.data();
        it.cchTextMax = size;
        int n = static_cast<int>(::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it)));
        if (n < size - 1 || size >= 65536) return std::string(buf.data());
    }
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    LVITEMA it{};
    it.mask = LVIF_PARAM;
    it.iItem = item;
    it.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it)));
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    LVITEMA it{};
    it.mask = LVIF_PARAM;
    it.iItem = item;
    if (!::SendMessageA(m_hWnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return 0;
    return static_cast<DWORD_PTR>(it.lParam);
}

int CListCtrl::GetItemCount() const { return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); }

BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_DELETEALLITEMS, 0, 0)); }

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, DWORD_PTR data) {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_SORTITEMS, static_cast<WPARAM>(data), reinterpret_cast<LPARAM>(compare)));
}

int CListCtrl::GetFirstSelectedItem() const {
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void CListCtrl::SetRedraw(BOOL redraw) {
    ::SendMessageA(m_hWnd, WM_SETREDRAW, static_cast<WPARAM>(redraw), 0);
    if (redraw) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CListCtrl::SetItemCountEx(int count, DWORD flags) {
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), static_cast<LPARAM>(flags)));
}

BOOL CListCtrl::RecreateAsOwnerData() {
    HWND old = m_hWnd;
    HWND parent = old ? ::GetParent(old) : nullptr;
    if (!parent) return FALSE;
    LONG style = ::GetWindowLongA(old, GWL_STYLE);
    if (style & LVS_OWNERDATA) return TRUE;
    LONG exStyle = ::GetWindowLongA(old, GWL_EXSTYLE);
    int id = ::GetDlgCtrlID(old);
    RECT r;
    ::GetWindowRect(old, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(old, WM_GETFONT, 0, 0));
    HWND made = ::CreateWindowExA(exStyle, WC_LISTVIEWA, "", static_cast<DWORD>(style | LVS_OWNERDATA), r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
    if (!made) return FALSE;
    if (font) ::SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // Right after the old control in the z-order, which is the tab order.
    ::SetWindowPos(made, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    bool hadFocus = ::GetFocus() == old;
    ::DestroyWindow(old);
    m_hWnd = made;
    if (hadFocus) ::SetFocus(made);
    return TRUE;
}

int CListCtrl::GetNextItem(int item, int flags) const {
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(item), MAKELPARAM(flags, 0)));
}

int CListCtrl::GetSelectedCount() const { return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0)); }

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEMA it{};
    it.stateMask = mask;
    it.state = state;
    return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it)));
}

// ---------------------------------------------------------------- data exchange

void DDX_Text(CDataExchange* dx, int id, std::string& value, int maxChars) {
    HWND box = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
    if (!box) return;
    if (dx->m_bSaveAndValidate) {
        CWnd w;
        w.Attach(box);
        value = w.GetWindowText();
        if (maxChars > 0 && static_cast<int>(value.size()) > maxChars) value.resize(static_cast<size_t>(maxChars));
    } else {
        if (maxChars > 0) ::SendMessageA(box, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        // A box already showing the text is left alone: setting it again
        // would only draw it again.
        CWnd w;
        w.Attach(box);
        if (w.GetWindowText() != value) ::SetWindowTextA(box, value.c_str());
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    // A dialog object may show its window again and again, each time made
    // anew: a wrapper still holding a control of an earlier window is bound
    // to this window's control.
    HWND current = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
    if (!control.m_hWnd || (current && control.m_hWnd != current)) control.Attach(current);
    std::vector<CWnd*>& bound = dx->m_pDlgWnd->m_boundControls;
    if (std::find(bound.begin(), bound.end(), &control) == bound.end()) bound.push_back(&control);
}

// ---------------------------------------------------------------- dialogs

CDialog::CDialog(UINT templateId, CDialog* parent) : m_templateId(templateId), m_pParent(parent) {}

CDialog::~CDialog() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

CDialog* CDialog::CurrentModal() { return g_modalTop; }

const MessageMap* CDialog::GetThisMessageMap() {
    static const MessageMap map = {nullptr, nullptr, 0};
    return &map;
}

const MessageMap* CDialog::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CDialog::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::EndDialog(INT_PTR result) {
    m_result = result;
    m_endRequested = true;
    // Wake the modal loop in case it is waiting for a message.
    if (m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

INT_PTR CDialog::DoModal() {
    HWND owner = nullptr;
    if (m_pParent) owner = m_pParent->m_hWnd;
    else if (g_modalTop) owner = g_modalTop->m_hWnd;

    m_endRequested = false;
    m_result = -1;
    m_outerModal = g_modalTop;
    g_modalTop = this;

    HWND hwnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_templateId), owner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd) {
        g_modalTop = m_outerModal;
        return -1;
    }
    bool ownerDisabled = owner && ::IsWindowEnabled(owner) && !m_endRequested;
    if (ownerDisabled) ::EnableWindow(owner, FALSE);
    if (!m_endRequested) {
        if (!(::GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE)) ::ShowWindow(hwnd, SW_SHOWNORMAL);
        ::UpdateWindow(hwnd);
    }

    MSG msg;
    bool quit = false;
    int quitCode = 0;
    while (!m_endRequested) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got < 0) break;
        if (msg.message == FrameworkSyncMessage() && msg.message != 0) {
            ::SetEvent(reinterpret_cast<HANDLE>(msg.lParam));
            continue;
        }
        bool consumed = false;
        try {
            consumed = PreTranslateMessage(&msg) != FALSE;
        } catch (...) {
            consumed = true;
        }
        if (consumed) continue;
        if (m_hWnd && ::IsDialogMessageA(m_hWnd, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }

    // Give the owner back its input before this window goes, so that the
    // activation returns to it and not to some other program.
    if (ownerDisabled) ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    g_modalTop = m_outerModal;
    m_outerModal = nullptr;
    if (quit) ::PostQuitMessage(quitCode);
    return m_result;
}

bool CDialog::CreateModeless(HWND owner) {
    if (m_hWnd) return true;
    HWND hwnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_templateId), owner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lp);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = hwnd;
        try {
            return self->OnInitDialog();
        } catch (const std::exception& e) {
            OutputDebugStringA(e.what());
            return TRUE;
        } catch (...) {
            return TRUE;
        }
    }
    self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) return FALSE;
    if (msg == FrameworkSyncMessage() && msg != 0) {
        // Reached the window through a loop that is not ours (a message box
        // of this dialog): everything posted before it has been handled too.
        ::SetEvent(reinterpret_cast<HANDLE>(lp));
        return TRUE;
    }
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        // A window without a modal loop of its own goes with its owner.
        if (self->m_hWnd == hwnd && self != g_modalTop) self->m_hWnd = nullptr;
        return FALSE;
    }
    LRESULT result = 0;
    bool handled = false;
    MSG saved = self->m_current;
    self->m_current = MSG{hwnd, msg, wp, lp, 0, {0, 0}};
    self->m_runDefault = false;
    try {
        handled = self->Dispatch(msg, wp, lp, &result);
    } catch (const std::exception& e) {
        // No exception may cross into the window system.
        OutputDebugStringA(e.what());
        handled = true;
    } catch (...) {
        handled = true;
    }
    bool runDefault = self->m_runDefault;
    self->m_current = saved;
    if (!handled || runDefault) return FALSE;
    switch (msg) {
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM: case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_INITDIALOG:
        // These return their result directly from the dialog procedure.
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

bool CDialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    UINT id = 0, code = 0;
    if (msg == WM_COMMAND) {
        id = LOWORD(wp);
        code = HIWORD(wp);
    } else if (msg == WM_NOTIFY) {
        NMHDR* h = reinterpret_cast<NMHDR*>(lp);
        id = static_cast<UINT>(h->idFrom);
        code = h->code;
        for (CWnd* control : m_boundControls) {
            if (control->m_hWnd != h->hwndFrom) continue;
            *result = 0;
            if (control->OnReflectedNotify(h, result)) return true;
        }
    }
    for (const MessageMap* map = GetMessageMap(); map; map = map->Base) {
        for (std::size_t i = 0; i < map->Count; ++i) {
            const MessageMapEntry& e = map->Entries[i];
            if (e.Message != msg) continue;
            if ((msg == WM_COMMAND || msg == WM_NOTIFY) && (e.Id != id || e.Code != code)) continue;
            return Invoke(e, wp, lp, result);
        }
    }
    // The standard buttons of a dialog, when no map entry took them.
    if (msg == WM_COMMAND && code == BN_CLICKED) {
        if (id == IDOK) { OnOK(); return true; }
        if (id == IDCANCEL) { OnCancel(); return true; }
    }
    return false;
}

bool CDialog::Invoke(const MessageMapEntry& e, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (e.Kind) {
    case HandlerKind::Command:
    case HandlerKind::Void:
        (this->*e.Handler.Command)();
        return true;
    case HandlerKind::Notify:
        *result = 0;
        (this->*e.Handler.Notify)(reinterpret_cast<NMHDR*>(lp), result);
        return true;
    case HandlerKind::Size:
        (this->*e.Handler.Size)(static_cast<UINT>(wp), static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        return true;
    case HandlerKind::SysCommand:
        (this->*e.Handler.SysCommand)(static_cast<UINT>(wp), lp);
        return true;
    case HandlerKind::QueryDragIcon:
        *result = reinterpret_cast<LRESULT>((this->*e.Handler.QueryDragIcon)());
        return true;
    case HandlerKind::Message:
        *result = (this->*e.Handler.Message)(wp, lp);
        return true;
    }
    return false;
}
