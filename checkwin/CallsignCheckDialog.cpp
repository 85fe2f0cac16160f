#include "checkwin/CallsignCheckDialog.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "checkwin/AreaLookup.h"
#include "checkwin/LoggerLink.h"
#include "checkwin/WorkedSummary.h"
#include "logstore/CallIndexCopy.h"
#include "checkwin/PlacementRules.h"
#include "checkwin/ScreenPlacement.h"
#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"
#include "res/resource.h"

namespace {

constexpr int kCallTextMax = 8;
constexpr int kCountTextMax = 64;
// The list sits below the boxes and fills the client area down to the
// status bar, which sizes itself to its font.
// Sizes in pixels here are for 96 DPI and scaled to the window's DPI.
constexpr int kListTop = 50;
// Where the window opens when nothing usable is stored (the place on the
// screen as it is, the size scaled).
constexpr int kDefaultLeft = 100, kDefaultTop = 100, kDefaultWidth = 918, kDefaultHeight = 547;
// At most this many further index entries are read after the first hit.
constexpr int kMaxFurtherHits = 1000;

const char kLibraryMissing[] = "VIREON50.DLLがみつかりません";
const char kLibraryMissingAtStart[] = "VIREON50.DLLがみつかりません\nプログラムを終了します";
const char kTooFewCharacters[] = "検索文字数はが2文字以上を入力してください";

}  // namespace

CallsignCheckDialog::CallsignCheckDialog(SettingsStore* settings, MainWindowCommands commands)
    : CDialog(IDD_CALLSIGNCHECK),
      settings_(settings),
      commands_(std::move(commands)),
      sortState_(QsoColumns, kQsoColumnCount),
      checkWindow_(settings) {
    m_hIcon = ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    // A call chosen in the check window is looked up as if typed and entered.
    checkWindow_.LookUp = [this](const std::string& call) {
        ::SetFocus(GetDlgItem(IDC_CALLSIGN));
        UpdateData(TRUE);
        CallText = call;
        UpdateData(FALSE);
        LookupCall();
        UpdateData(TRUE);
        SendCallToLogger(CallText, true);
        UpdateData(FALSE);
    };
    checkWindow_.OpenChanged = [this](bool open) {
        if (m_hWnd) ::CheckMenuItem(::GetMenu(m_hWnd), ID_CHECKWINDOW, MF_BYCOMMAND | (open ? MF_CHECKED : MF_UNCHECKED));
    };
}

FRAMEWORK_MESSAGE_MAP(CallsignCheckDialog, CDialog,
    MapSysCommand(&CallsignCheckDialog::OnSysCommand),
    MapVoid(WM_PAINT, &CallsignCheckDialog::OnPaint),
    MapQueryDragIcon(&CallsignCheckDialog::OnQueryDragIcon),
    MapCommand(ID_AJDWAJACHECK, &CallsignCheckDialog::OnAjdWajaCheck, 0),
    MapCommand(ID_JCCJCGCHECK, &CallsignCheckDialog::OnJccJcgCheck, 0),
    MapCommand(IDC_LOOKUPUNFILTERED, &CallsignCheckDialog::LookupCallUnfiltered, 0),
    MapCommand(ID_CHECKWINDOW, &CallsignCheckDialog::ToggleCheckWindow, 0),
    MapCommand(IDC_CALLSIGN, &CallsignCheckDialog::OnCallTextChange, EN_CHANGE),
    MapVoid(WM_CLOSE, &CallsignCheckDialog::OnClose),
    MapMessage(WM_ENDSESSION, &CallsignCheckDialog::OnEndSession),
    MapSize(&CallsignCheckDialog::OnSize),
    MapNotify(IDC_QSOLIST, LVN_COLUMNCLICK, &CallsignCheckDialog::OnColumnClick),
    MapNotify(IDC_QSOLIST, NM_DBLCLK, &CallsignCheckDialog::OnListDoubleClick),
    MapNotify(IDC_QSOLIST, NM_RCLICK, &CallsignCheckDialog::OnListRightClick))

void CallsignCheckDialog::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_QSOLIST, m_QsoList);
    DDX_Control(dx, IDC_LINKTOLOGGER, m_LinkToLogger);
    DDX_Text(dx, IDC_CALLSIGN, CallText, kCallTextMax);
    DDX_Text(dx, IDC_COUNT, CountText, kCountTextMax);
}

BOOL CallsignCheckDialog::OnInitDialog() {
    // Controls of an earlier run of this object are gone.
    m_QsoList.Detach();
    m_LinkToLogger.Detach();
    rows_.Clear();
    CDialog::OnInitDialog();
    // The list keeps its rows here and hands the control their texts as it
    // draws them: filling a list control row by row is far too slow for a
    // partial search that lists a large part of the log.
    m_QsoList.Create(rows_);
    // A standard status bar with one part and a size grip, in the dialog's
    // font; the window's stored size stays the whole window's, and the list
    // gives up the bar's height.
    statusBar_.Create(m_hWnd, IDC_STATUSBAR);
    AddAboutEntryToSystemMenu();
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    bool started = true;
    if (LoadLoggerLibrary() != 0) {
        ShowFailure(kLibraryMissingAtStart);
        EndDialog(1);
        started = false;
    } else {
        // The program's own copy of the call index, brought up to the
        // logger's; the lookups do so again each time.
        PrepareCallIndex();
        FreeLoggerLibrary();
    }
    RestorePlacement();
    SetupColumns();
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    LayOut(client.right, client.bottom);
    if (started && checkWindow_.WasOpen()) ToggleCheckWindow();
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

BOOL CallsignCheckDialog::PreTranslateMessage(MSG* msg) {
    // These keys act whichever control has the focus, and never reach it or
    // the dialog's own keyboard handling: Escape does not close the window,
    // Tab does not move the focus, Down does not move the list's selection.
    if (msg->message == WM_KEYDOWN && m_hWnd && (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        switch (msg->wParam) {
        case VK_ESCAPE:
        case VK_TAB:
            ClearLookup();
            return TRUE;
        case VK_RETURN:
        case VK_DOWN:
            // A JCC/JCG code is looked up as an area; no call sign is all digits.
            UpdateData(TRUE);
            if (IsAreaCodeText(CallText.c_str())) {
                LookupArea();
                return TRUE;
            }
            LookupCall();
            UpdateData(TRUE);
            SendCallToLogger(CallText, msg->wParam == VK_RETURN);
            UpdateData(FALSE);
            return TRUE;
        case VK_F3:
            PartialSearch();
            return TRUE;
        case VK_F4:
            LookupAreaOfRow();
            return TRUE;
        case VK_F6:
            ToggleCheckWindow();
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------- searches

void CallsignCheckDialog::LookupCall() { RunLookup(LookupFilter::ByKeyLength); }

void CallsignCheckDialog::LookupCallUnfiltered() { RunLookup(LookupFilter::All); }

bool CallsignCheckDialog::BeginSearch() {
    DeleteAllRows();
    if (LoadLoggerLibrary() != 0) {
        ShowFailure(kLibraryMissing);   // the count box keeps its text
        return false;
    }
    UpdateData(TRUE);
    CountText.clear();
    return true;
}

void CallsignCheckDialog::RunLookup(LookupFilter filter) {
    if (!BeginSearch()) return;
    // The logger adds every new QSO to its own index: a copy that differs
    // from it is made anew first (a failure keeps the old copy and says
    // nothing), and without any copy the logger's index is read itself.
    const char* indexName = PrepareCallIndex();
    // The library may rewrite the text it searches for, and is told it may
    // use the whole 528 bytes.
    CallSearchText text = {};
    char key[kLookupKeyLength + 1];
    int keyLength = FormLookupKey(CallText.c_str(), key);
    std::memcpy(text, key, static_cast<size_t>(keyLength) + 1);
    // The emptied count is shown with the result: nothing is drawn while the
    // search runs, and the boxes take no input meanwhile.

    int rows = 0;
    bool logCannotBeOpened = false;
    if (OpenLogWithIndex(indexName) == 0) {
        CallSearchHit* hit = SearchCall(text, 0);
        if (hit) {
            // A stale or damaged index may name another station's record:
            // only records whose call begins with the key are listed.
            if (IsListedHit(filter, key, keyLength, hit->Record->Call)) AddQsoRow(*hit->Record, rows++, hit->RecNo);
            if (hit->Status == 2) {
                for (int i = 0; i < kMaxFurtherHits; ++i) {
                    CallSearchHit* next = SearchCall(text, 1);
                    if (!next) break;
                    if (IsListedHit(filter, key, keyLength, next->Record->Call))
                        AddQsoRow(*next->Record, rows++, next->RecNo);
                }
            }
            CountText = QsoCountText(rows);
        }
        CloseLogWithIndex();
    } else {
        // The index or the log failed to open; only the log's failure is
        // told, as the log is what the operator knows and can mend.
        logCannotBeOpened = CountLogRecords() < 0;
    }
    // From the listed rows alone, with the library's band lookup while it
    // is still bound.
    SetStatusText(WorkedSummaryText(rows_, BandOfFrequency));
    FreeLoggerLibrary();
    UpdateData(FALSE);
    ShowRows();
    if (logCannotBeOpened) ShowFailure(kLogCannotBeOpenedText);
}

void CallsignCheckDialog::PartialSearch() {
    if (!BeginSearch()) return;
    std::string typed = CallText;
    UpdateData(FALSE);

    SearchPattern pattern = BuildSearchPattern(typed.c_str());
    CallText = pattern.Text;
    UpdateData(FALSE);

    bool logCannotBeOpened = false;
    if (pattern.FixedCount < kPatternMinFixed) {
        ShowFailure(kTooFewCharacters);
    } else {
        int count = CountLogRecords();   // -1 reads nothing
        int rows = 0;
        const bool opened = OpenLog() == 0;
        for (int recNo = 1; recNo <= count; ++recNo) {
            // A record that cannot be read is left out; the rest still count.
            const QsoRecord* record = ReadLogRecord(recNo);
            if (record && MatchesPattern(pattern, record->Call)) AddQsoRow(*record, rows++, recNo);
        }
        UpdateData(TRUE);
        CountText = SearchCountText(rows);
        UpdateData(FALSE);
        CloseLog();
        ShowRows();
        logCannotBeOpened = count < 0 || !opened;
    }
    FreeLoggerLibrary();
    // Told once the library is released: nothing stays open while the
    // message waits. The count keeps saying 0 found, as before.
    if (logCannotBeOpened) ShowFailure(kLogCannotBeOpenedText);
}

void CallsignCheckDialog::LookupArea() {
    UpdateData(TRUE);
    AreaRequest request;
    request.Code = CallText;
    ShowAreaLookup(request);
}

void CallsignCheckDialog::LookupAreaOfRow() {
    int position = m_QsoList.GetFirstSelectedItem();
    if (position < 0) position = 0;
    AreaRequest request;
    request.FromQso = true;
    request.Code = rows_.Text(position, kColumnCode);
    request.Date = rows_.Text(position, kColumnDate);
    // Nothing listed, or a QSO without a code: no area to look up.
    if (request.Code.find_first_not_of(' ') == std::string::npos) {
        ::MessageBeep(MB_OK);
        return;
    }
    ShowAreaLookup(request);
}

void CallsignCheckDialog::ShowAreaLookup(const AreaRequest& request) {
    DeleteAllRows();
    UpdateData(TRUE);
    const HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));   // IDC_WAIT
    AreaLookupResult result;
    const AreaLookupOutcome outcome = RunAreaLookup(request, rows_, &result);
    ::SetCursor(previous);
    if (outcome == AreaLookupOutcome::LibraryMissing) {
        ShowFailure(kLibraryMissing);   // the boxes keep their texts, as for a call
        return;
    }
    CountText.clear();
    if (outcome == AreaLookupOutcome::Done) {
        CountText = QsoCountText(result.Listed);
        // After F4 the box holds the area's code, so that Enter, F3 and
        // Escape act as after typing it.
        if (request.FromQso) CallText = result.BoxText;
        SetStatusText(result.Status);
    }
    UpdateData(FALSE);
    ShowRows();
    if (outcome == AreaLookupOutcome::MasterCannotBeLoaded) ShowFailure(kMasterCannotBeLoadedText);
    if (outcome == AreaLookupOutcome::LogCannotBeOpened) ShowFailure(kLogCannotBeOpenedText);
}

void CallsignCheckDialog::ClearLookup() {
    UpdateData(TRUE);
    CountText.clear();
    CallText.clear();
    DeleteAllRows();
    ShowRows();
    SendClearToLogger();
    UpdateData(FALSE);
}

void CallsignCheckDialog::ShowFailure(const char* text) {
    ShowRows();   // the emptied list is drawn while the message is up
    ::MessageBoxA(m_hWnd, text, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
}

// ---------------------------------------------------------------- the QSO list

void CallsignCheckDialog::SetupColumns() {
    int widths[kQsoColumnCount];
    for (int i = 0; i < kQsoColumnCount; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "COLUMN%d", i);
        const int defaultWidth = ScaleToWindowDpi(m_hWnd, QsoColumns[i].Width);
        // A width no column can have (negative, or wider than any screen)
        // comes from a damaged file: the default. 0 is a column hidden.
        widths[i] = settings_ ? UsableColumnWidth(settings_->ReadSize(key, WindowDpi(m_hWnd)), defaultWidth) : defaultWidth;
    }
    m_QsoList.InsertColumns(QsoColumns, kQsoColumnCount, widths);
}

void CallsignCheckDialog::AddQsoRow(const QsoRecord& record, int row, int recNo) {
    // The row is shown when the operation that adds it ends (ShowRows).
    rows_.Insert(row, record, recNo);
}

void CallsignCheckDialog::DeleteAllRows() {
    // The control shows the change when the operation shows its rows. The
    // status tells about the rows listed, so it goes with them: a partial
    // search, the clear and a lookup that lists nothing leave it empty.
    m_QsoList.ClearRows();
    SetStatusText("");
}

void CallsignCheckDialog::ShowRows() { m_QsoList.ShowRows(); }

void CallsignCheckDialog::SetStatusText(const std::string& text) {
    // Every search empties the status first: the bar is told only of a
    // change, so that it is not drawn again for nothing.
    if (text != statusBar_.Text()) statusBar_.SetText(text);
}

void CallsignCheckDialog::SortByColumn(int column) { m_QsoList.SortByColumn(column, sortState_); }

void CallsignCheckDialog::OnColumnClick(NMHDR* header, LRESULT* result) {
    SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
    *result = 0;
}

void CallsignCheckDialog::OnSize(UINT type, int cx, int cy) {
    Default();
    if (type == SIZE_MINIMIZED) return;
    LayOut(cx, cy);
}

void CallsignCheckDialog::LayOut(int cx, int cy) {
    m_QsoList.FillParent(m_hWnd, ScaleToWindowDpi(m_hWnd, kListTop), statusBar_.Place(), cx, cy);
}

void CallsignCheckDialog::RestorePlacement() {
    // Stored sizes are the user's pixels; the defaults are scaled.
    const int dpi = WindowDpi(m_hWnd);
    const int defaultHeight = ScaleToDpi(kDefaultHeight, dpi), defaultWidth = ScaleToDpi(kDefaultWidth, dpi);
    int height = defaultHeight, width = defaultWidth;
    int top = kDefaultTop, left = kDefaultLeft;
    if (settings_) {
        height = settings_->ReadSize("HIGHT", dpi);
        width = settings_->ReadSize("WIDTH", dpi);
        top = settings_->ReadInt("TOP");
        left = settings_->ReadInt("LEFT");
    }
    // A place stored while another monitor was attached, or a damaged or
    // hand-edited file, may give a window that cannot be seen, reached or
    // sized: open where a fresh start would. Closing stores what opened.
    if (!IsUsablePlacement(left, top, width, height, CurrentPlacementLimits(m_hWnd))) {
        left = kDefaultLeft;
        top = kDefaultTop;
        width = defaultWidth;
        height = defaultHeight;
    }
    ::MoveWindow(m_hWnd, left, top, width, height, TRUE);
}

bool CallsignCheckDialog::SavePlacement() {
    if (!settings_) return true;
    // One unit: a second copy of the program closing at the same moment
    // writes its settings wholly before or after these.
    if (!settings_->BeginWrites()) return false;
    const RECT r = NormalWindowRectOnScreen(m_hWnd);   // the restored place, also when maximised
    bool stored = true;
    auto write = [&](const char* key, int value) { stored = settings_->WriteInt(key, value) == 0 && stored; };
    write("TOP", r.top);
    write("LEFT", r.left);
    write("WIDTH", r.right - r.left);
    write("HIGHT", r.bottom - r.top);
    for (int i = 0; i < kQsoColumnCount; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "COLUMN%d", i);
        write(key, m_QsoList.GetColumnWidth(i));
    }
    checkWindow_.SavePlacement();
    settings_->EndWrites();
    return stored;
}

void CallsignCheckDialog::OnClose() {
    // A settings file that cannot be written (read-only, in a folder that
    // cannot be written) is told once, naming the file, before the window
    // goes.
    if (!SavePlacement()) {
        std::string file = settings_->FileName();
        if (file.empty()) file = std::string(AfxGetAppName()) + ".ini";
        ::MessageBoxA(m_hWnd, SettingsNotSavedText(file).c_str(), AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
    }
    Default();
}

LRESULT CallsignCheckDialog::OnEndSession(WPARAM ending, LPARAM) {
    // Windows ends the process once this returns, without a WM_CLOSE: the
    // settings are stored now, as a close would store them.
    // No message here: Windows is ending the session and no one could
    // answer it.
    if (ending) SavePlacement();
    return 0;
}

// ---------------------------------------------------------------- the link

bool CallsignCheckDialog::LinkIsOn() const {
    return m_LinkToLogger.m_hWnd && m_LinkToLogger.GetCheck() == BST_CHECKED;
}

bool CallsignCheckDialog::FirstSelectedRow(LinkRow* row) const {
    int position = m_QsoList.GetFirstSelectedItem();
    if (position < 0 || position >= rows_.Count()) return false;
    row->Call = rows_.Text(position, kColumnCall);
    row->Code = rows_.Text(position, kColumnCode);
    row->Name = rows_.Text(position, kColumnName);
    row->Qth = rows_.Text(position, kColumnQth);
    return true;
}

void CallsignCheckDialog::SendCallToLogger(const std::string& text, bool toFront) {
    HWND target = FindLoggerWindow();
    LinkMessages messages = CallMessages(LinkIsOn(), target != nullptr, text.c_str());
    if (messages.empty()) return;
    if (SendLinkMessages(m_hWnd, target, messages) == messages.size() && toFront) ::SetForegroundWindow(target);
}

void CallsignCheckDialog::SendClearToLogger() {
    HWND target = FindLoggerWindow();
    SendLinkMessages(m_hWnd, target, ClearMessages(LinkIsOn(), target != nullptr));
}

void CallsignCheckDialog::SendRowCallToLogger() {
    if (!LinkIsOn()) return;
    LinkRow row;
    bool selected = FirstSelectedRow(&row);
    HWND target = FindLoggerWindow();
    SendLinkMessages(m_hWnd, target, DoubleClickMessages(true, target != nullptr, selected ? &row : nullptr));
}

void CallsignCheckDialog::SendRowToLogger() {
    if (!LinkIsOn()) return;
    LinkRow row;
    bool selected = FirstSelectedRow(&row);
    HWND target = FindLoggerWindow();
    SendLinkMessages(m_hWnd, target, RowMessages(true, target != nullptr, selected ? &row : nullptr));
}

void CallsignCheckDialog::OnListDoubleClick(NMHDR*, LRESULT* result) {
    SendRowCallToLogger();
    *result = 0;
}

void CallsignCheckDialog::OnListRightClick(NMHDR*, LRESULT* result) {
    SendRowToLogger();
    *result = 0;
}

// ---------------------------------------------------------------- the check window

std::string CallsignCheckDialog::CallBoxText() const {
    CWnd box;
    box.Attach(GetDlgItem(IDC_CALLSIGN));
    return box.GetWindowText();
}

void CallsignCheckDialog::ToggleCheckWindow() {
    if (checkWindow_.IsOpen()) checkWindow_.Close();
    else checkWindow_.Open(m_hWnd, CallBoxText());
}

void CallsignCheckDialog::OnCallTextChange() {
    if (checkWindow_.IsOpen()) checkWindow_.FollowText(CallBoxText());
}

// ---------------------------------------------------------------- frame

void CallsignCheckDialog::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        if (commands_.ShowVersionBox) commands_.ShowVersionBox();
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

void CallsignCheckDialog::OnAjdWajaCheck() {
    if (commands_.OpenAjdWajaCheck) commands_.OpenAjdWajaCheck(NormalWindowRectOnScreen(m_hWnd));
}

void CallsignCheckDialog::OnJccJcgCheck() {
    if (commands_.OpenJccJcgCheck) commands_.OpenJccJcgCheck(NormalWindowRectOnScreen(m_hWnd));
}
