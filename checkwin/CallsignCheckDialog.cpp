#include "checkwin/CallsignCheckDialog.h"

#include "app/AboutDialog.h"
#include "app/MainWindowPlacement.h"
#include "app/ProgramObjects.h"
#include "awards/AjdWajaDialog.h"
#include "awards/JccJcgDialog.h"
#include "res/resource.h"

namespace {
constexpr int kCallTextMax = 8;
constexpr int kCountTextMax = 64;
}  // namespace

CallsignCheckDialog::CallsignCheckDialog() : CDialog(IDD_CALLSIGNCHECK) {
    m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

FRAMEWORK_MESSAGE_MAP(CallsignCheckDialog, CDialog,
    MapSysCommand(&CallsignCheckDialog::OnSysCommand),
    MapVoid(WM_PAINT, &CallsignCheckDialog::OnPaint),
    MapQueryDragIcon(&CallsignCheckDialog::OnQueryDragIcon),
    MapCommand(ID_AJDWAJACHECK, &CallsignCheckDialog::OnAjdWajaCheck, 0),
    MapCommand(ID_JCCJCGCHECK, &CallsignCheckDialog::OnJccJcgCheck, 0))

void CallsignCheckDialog::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_QSOLIST, m_QsoList);
    DDX_Text(dx, IDC_CALLSIGN, CallText, kCallTextMax);
    DDX_Text(dx, IDC_COUNT, CountText, kCountTextMax);
}

BOOL CallsignCheckDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    AddAboutEntryToSystemMenu();
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    return TRUE;
}

void CallsignCheckDialog::AddAboutEntryToSystemMenu() {
    char text[256] = {};
    if (::LoadStringA(AfxGetInstanceHandle(), IDS_ABOUTBOX, text, sizeof text) <= 0 || text[0] == '\0') return;
    HMENU sys = ::GetSystemMenu(m_hWnd, FALSE);
    if (!sys) return;
    ::AppendMenuA(sys, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(sys, MF_STRING, IDM_ABOUTBOX, text);
}

BOOL CallsignCheckDialog::PreTranslateMessage(MSG* msg) { return CDialog::PreTranslateMessage(msg); }

void CallsignCheckDialog::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        AboutDialog about;
        about.DoModal();
        return;
    }
    Default();
}

void CallsignCheckDialog::OnPaint() {
    if (!::IsIconic(m_hWnd)) {
        Default();
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    int x = (rc.right - rc.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rc.bottom - rc.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &ps);
}

HCURSOR CallsignCheckDialog::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hIcon); }

void CallsignCheckDialog::RecordMainWindowPlacement() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ::GetWindowPlacement(m_hWnd, &wp);
    MainWindowPlacement.Top = wp.rcNormalPosition.top;
    MainWindowPlacement.Left = wp.rcNormalPosition.left;
    MainWindowPlacement.Height = wp.rcNormalPosition.bottom - wp.rcNormalPosition.top;
}

void CallsignCheckDialog::OnAjdWajaCheck() {
    RecordMainWindowPlacement();
    TheAjdWajaDialog.DoModal();
}

void CallsignCheckDialog::OnJccJcgCheck() {
    RecordMainWindowPlacement();
    TheJccJcgDialog.DoModal();
}
