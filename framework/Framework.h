// A small stand-in for the application-framework classes the program is
// written against: the application object, modal dialogs from templates with
// message maps and data exchange, and wrappers for list views and buttons.
// Plain Win32 underneath, ANSI ("A") calls throughout.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <cstddef>
#include <string>
#include <vector>

#include "framework/DpiScale.h"

class CDialog;

// ---------------------------------------------------------------- application

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Per-instance start. Returning FALSE ends the process at once, without
    // a message loop of the application's own.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }

    // Control containment and three-dimensional control drawing: on current
    // Windows both amount to registering the common controls.
    void EnableControlContainer();
    void Enable3dControls();

    HINSTANCE m_hInstance = nullptr;
    CDialog* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
// The application's name: the executable's base name (no folder, no
// extension), the caption of the program's message boxes.
const char* AfxGetAppName();
// The window's restored (normal) rectangle in screen coordinates, also while
// it is maximised or minimised. The window placement gives it in workspace
// coordinates, which differ from the screen's by a taskbar at the top or
// left; a rectangle taken from there and given back to MoveWindow would
// make the window creep by the taskbar's size.
RECT NormalWindowRectOnScreen(HWND hwnd);
// A message that the modal loops answer by setting the event handle given as
// its second parameter, once every message posted before it was handled.
// Lets a test (or any driver within the process) wait for queued input.
UINT FrameworkSyncMessage();
HINSTANCE AfxGetInstanceHandle();
// Runs the application object's start hook; called by the program's WinMain.
int AfxRunApplication(HINSTANCE instance);

// Named integers kept between runs (the program's settings file), through
// which a window keeps its placement and column widths.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored value, or the key's default.
    virtual int ReadInt(const char* key) = 0;
    // A size in pixels (a window's width and height, a column's width): the
    // stored value as the user left it, or else the key's default, which is
    // given for 96 DPI, scaled to dpi.
    virtual int ReadSize(const char* key, int dpi) = 0;
    // 0 when stored, -1 when not.
    virtual int WriteInt(const char* key, int value) = 0;
    // Brackets writes that belong together, so that they reach the store as
    // one unit. false from BeginWrites: there is nowhere to write (and no
    // EndWrites).
    virtual bool BeginWrites() { return true; }
    virtual void EndWrites() {}
    // The name of the file the store keeps its values in, for a message
    // that tells the operator they could not be kept; "" when unknown.
    virtual std::string FileName() const { return {}; }
};

// ---------------------------------------------------------------- DPI

// The programs are DPI aware (their manifest says so), so Windows does not
// stretch their windows: dialog templates scale by themselves, and every
// size the code gives in pixels is written for 96 DPI and scaled with these.
// Newer calls are looked up at run time: the programs run on Windows 7.

// The system DPI, that of every window of a system-DPI-aware program:
// GetDpiForSystem (Windows 10 1607 and later), else the screen's LOGPIXELSY.
int SystemDpi();
// The DPI the window is shown at: GetDpiForWindow (Windows 10 1607 and
// later), else the system DPI; the system DPI for a null window.
int WindowDpi(HWND hwnd);
// A size written for 96 DPI, in the window's pixels.
int ScaleToWindowDpi(HWND hwnd, int pixels96);

// ---------------------------------------------------------------- message maps

// What a map entry's handler looks like. The framework unpacks the message
// parameters accordingly.
enum class HandlerKind {
    Command,        // void (); WM_COMMAND with control id and notification code
    Notify,         // void (NMHDR*, LRESULT*); WM_NOTIFY with control id and code
    Size,           // void (UINT type, int cx, int cy); WM_SIZE
    SysCommand,     // void (UINT id, LPARAM); WM_SYSCOMMAND
    Void,           // void (); any message without parameters (WM_PAINT, WM_CLOSE)
    QueryDragIcon,  // HCURSOR (); WM_QUERYDRAGICON
    Message,        // LRESULT (WPARAM, LPARAM); any message
};

// Member handlers are stored as pointers to members of CDialog, one union
// member per kind; a derived class's handler converts to that type
// (static_cast) as long as the derived class has CDialog as its only base.
union DialogHandler {
    void (CDialog::*Command)();
    void (CDialog::*Notify)(NMHDR*, LRESULT*);
    void (CDialog::*Size)(UINT, int, int);
    void (CDialog::*SysCommand)(UINT, LPARAM);
    HCURSOR (CDialog::*QueryDragIcon)();
    LRESULT (CDialog::*Message)(WPARAM, LPARAM);
};

struct MessageMapEntry {
    UINT Message;
    UINT Id;        // control or command id; 0 for window messages
    UINT Code;      // notification code (WM_COMMAND, WM_NOTIFY)
    HandlerKind Kind;
    DialogHandler Handler;
};

struct MessageMap {
    const MessageMap* Base;
    const MessageMapEntry* Entries;
    std::size_t Count;
};

// Builders for map entries, so that a class's table reads plainly:
//   MapCommand(1034, &AjdWajaDialog::RunSearch), MapNotify(1005, LVN_COLUMNCLICK, &X::OnColumnClick)
inline MessageMapEntry MakeEntry(UINT message, UINT id, UINT code, HandlerKind kind) {
    MessageMapEntry e{};
    e.Message = message;
    e.Id = id;
    e.Code = code;
    e.Kind = kind;
    return e;
}
template <class T>
MessageMapEntry MapCommand(UINT id, void (T::*h)(), UINT code = BN_CLICKED) {
    MessageMapEntry e = MakeEntry(WM_COMMAND, id, code, HandlerKind::Command);
    e.Handler.Command = static_cast<void (CDialog::*)()>(h);
    return e;
}
template <class T>
MessageMapEntry MapNotify(UINT id, UINT code, void (T::*h)(NMHDR*, LRESULT*)) {
    MessageMapEntry e = MakeEntry(WM_NOTIFY, id, code, HandlerKind::Notify);
    e.Handler.Notify = static_cast<void (CDialog::*)(NMHDR*, LRESULT*)>(h);
    return e;
}
template <class T>
MessageMapEntry MapSize(void (T::*h)(UINT, int, int)) {
    MessageMapEntry e = MakeEntry(WM_SIZE, 0, 0, HandlerKind::Size);
    e.Handler.Size = static_cast<void (CDialog::*)(UINT, int, int)>(h);
    return e;
}
template <class T>
MessageMapEntry MapSysCommand(void (T::*h)(UINT, LPARAM)) {
    MessageMapEntry e = MakeEntry(WM_SYSCOMMAND, 0, 0, HandlerKind::SysCommand);
    e.Handler.SysCommand = static_cast<void (CDialog::*)(UINT, LPARAM)>(h);
    return e;
}
template <class T>
MessageMapEntry MapVoid(UINT message, void (T::*h)()) {
    MessageMapEntry e = MakeEntry(message, 0, 0, HandlerKind::Void);
    e.Handler.Command = static_cast<void (CDialog::*)()>(h);
    return e;
}
template <class T>
MessageMapEntry MapQueryDragIcon(HCURSOR (T::*h)()) {
    MessageMapEntry e = MakeEntry(WM_QUERYDRAGICON, 0, 0, HandlerKind::QueryDragIcon);
    e.Handler.QueryDragIcon = static_cast<HCURSOR (CDialog::*)()>(h);
    return e;
}
template <class T>
MessageMapEntry MapMessage(UINT message, LRESULT (T::*h)(WPARAM, LPARAM)) {
    MessageMapEntry e = MakeEntry(message, 0, 0, HandlerKind::Message);
    e.Handler.Message = static_cast<LRESULT (CDialog::*)(WPARAM, LPARAM)>(h);
    return e;
}

// Declares a class's map; define it with FRAMEWORK_MESSAGE_MAP in the .cpp.
#define DECLARE_MESSAGE_MAP()                              \
public:                                                    \
    static const MessageMap* GetThisMessageMap();          \
    const MessageMap* GetMessageMap() const override;

// Defines Class's map from its base's map and a braced list of entries.
#define FRAMEWORK_MESSAGE_MAP(Class, Base, ...)                                         \
    const MessageMap* Class::GetThisMessageMap() {                                       \
        static const MessageMapEntry entries[] = {__VA_ARGS__};                          \
        static const MessageMap map = {Base::GetThisMessageMap(), entries,               \
                                       sizeof entries / sizeof entries[0]};              \
        return &map;                                                                     \
    }                                                                                    \
    const MessageMap* Class::GetMessageMap() const { return GetThisMessageMap(); }

// ---------------------------------------------------------------- controls

// Common base of the wrappers: an attached window handle.
class CWnd {
public:
    virtual ~CWnd() = default;
    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    void Detach() { m_hWnd = nullptr; }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, repaint); }
    std::string GetWindowText() const;
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    void Invalidate() { ::InvalidateRect(m_hWnd, nullptr, TRUE); }
    // A notification this control sends to its dialog, offered to the
    // control's object first (when bound with DDX_Control): true when it
    // answered it, with *result the answer; false lets the dialog's map
    // have it.
    virtual bool OnReflectedNotify(NMHDR*, LRESULT*) { return false; }
};

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int state) { ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(state), 0); }
};

// Report-view list control.
class CListCtrl : public CWnd {
public:
    DWORD SetExtendedStyle(DWORD style);
    int InsertColumn(int col, const char* heading, int format, int width, int subItem);
    int GetColumnWidth(int col) const;
    int InsertItem(int item, const char* text);
    BOOL SetItemText(int item, int subItem, const char* text);
    std::string GetItemText(int item, int subItem) const;
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    int GetItemCount() const;
    BOOL DeleteAllItems();
    // Sorts with a comparison of two items' data values.
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data);
    // The selected item with the lowest position as shown, or -1.
    int GetFirstSelectedItem() const;
    void SetRedraw(BOOL redraw);

    // For a list that keeps its rows in the program (LVS_OWNERDATA): the
    // number of rows the control shows; it asks for their texts with
    // LVN_GETDISPINFO when it draws them.
    BOOL SetItemCountEx(int count, DWORD flags = LVSICF_NOSCROLL);
    // Replaces the control made from the dialog template by one of the same
    // id, styles, place, font and tab order, with LVS_OWNERDATA added (the
    // style cannot be switched on later). Columns are not copied: call it
    // before inserting any.
    BOOL RecreateAsOwnerData();
    int GetNextItem(int item, int flags) const;
    int GetSelectedCount() const;
    // item -1: every item.
    BOOL SetItemState(int item, UINT state, UINT mask);
};

// ---------------------------------------------------------------- data exchange

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;   // TRUE: controls to members; FALSE: members to controls
};

// Moves a text between an edit box and a member. Showing a text also limits
// the box to maxChars bytes; taking it cuts a longer text to that length.
void DDX_Text(CDataExchange* dx, int id, std::string& value, int maxChars);
// Binds a wrapper to the dialog's control with the id.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

// ---------------------------------------------------------------- dialogs

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CDialog* parent = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the dialog from its template and runs it until EndDialog.
    // The owner (the given parent, else the innermost running modal dialog)
    // is disabled meanwhile.
    virtual INT_PTR DoModal();
    void EndDialog(INT_PTR result);
    // Creates the dialog from its template as a window beside the running
    // ones, owned by `owner`, without a loop of its own: its messages come
    // through the loop that runs (the modal loop of its owner). It is not
    // shown; false when it could not be made. DestroyWindow ends it.
    bool CreateModeless(HWND owner);

    // Every message of the modal loop comes here before the dialog's own
    // keyboard handling; returning TRUE consumes it.
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* dx);
    virtual void OnOK();
    virtual void OnCancel();
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    UINT TemplateId() const { return m_templateId; }
    bool IsRunning() const { return m_hWnd != nullptr; }
    // The innermost dialog that DoModal is running, or null.
    static CDialog* CurrentModal();

protected:
    // Within a handler: let the window's standard handling of the current
    // message run as well (after the handler returns).
    void Default() { m_runDefault = true; }
    const MSG* CurrentMessage() const { return &m_current; }

    friend void DDX_Control(CDataExchange* dx, int id, CWnd& control);
    // The controls bound with DDX_Control, which see their notifications first.
    std::vector<CWnd*> m_boundControls;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    bool Invoke(const MessageMapEntry& e, WPARAM wp, LPARAM lp, LRESULT* result);

    UINT m_templateId;
    CDialog* m_pParent;
    CDialog* m_outerModal = nullptr;
    bool m_endRequested = false;
    bool m_runDefault = false;
    INT_PTR m_result = -1;
    MSG m_current{};
};
