#include "awards/AwardListDialog.h"

#include "awards/ApplicationList.h"
#include "awards/AreaQsoDialog.h"
#include "awards/AwardCount.h"
#include "awards/AwardList.h"
#include "awards/AwardMapDialog.h"
#include "lists/FileSave.h"
#include "logstore/LogAccess.h"

namespace {

// Window sizes in pixels for 96 DPI, scaled to the window's DPI; the
// height of the WAJA and area lists is the main window's, already in pixels.
constexpr int kAjdWidth = 310;
constexpr int kAjdHeight = 205;
constexpr int kWajaWidth = 355;
constexpr int kAreaWidth = 600;

const char kCsvTitle[] = "CSV で保存";
const char kApplicationTitle[] = "申請リストを保存";
const char kCannotWrite[] = "ファイルに書き込めません";
const char kNothingToApplyFor[] = "申請できる地域がありません";
const char kBandGridCaption[] = "バンド別";

}  // namespace

void ShowAwardMessage(const char* text) {
    ::MessageBoxA(::GetActiveWindow(), text, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
}

void ShowAwardMessage(const std::wstring& text) {
    const std::wstring caption = WideFromCp932(AfxGetAppName());
    ::MessageBoxW(::GetActiveWindow(), text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// ---------------------------------------------------------------- the shared table window

AwardTableWindow::AwardTableWindow(const AwardCriteria& criteria) : CDialog(IDD_AWARDLIST), criteria_(criteria) {}

AwardTableWindow::~AwardTableWindow() = default;

FRAMEWORK_MESSAGE_MAP(AwardTableWindow, CDialog,
    MapSize(&AwardTableWindow::OnSize),
    MapNotify(IDC_AWARDLIST, LVN_KEYDOWN, &AwardTableWindow::OnListKeyDown),
    MapNotify(IDC_AWARDLIST, NM_RCLICK, &AwardTableWindow::OnListRightClick),
    MapNotify(IDC_AWARDLIST, NM_DBLCLK, &AwardTableWindow::OnListDoubleClick),
    MapCommand(ID_LIST_COPY, &AwardTableWindow::OnCopy, 0),
    MapCommand(ID_LIST_SELECTALL, &AwardTableWindow::OnSelectAll, 0),
    MapCommand(ID_LIST_SAVECSV, &AwardTableWindow::OnSaveCsv, 0))

void AwardTableWindow::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, IDC_AWARDLIST, m_List); }

void AwardTableWindow::SetUpTable() {
    // The controls of an earlier opening are gone.
    m_List.Detach();
    CDialog::OnInitDialog();
    m_List.Create(TableRows());
    status_.Create(m_hWnd, IDC_AWARDSTATUS);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    LayOut(client.right, client.bottom);
}

void AwardTableWindow::SetStatusText(const std::string& text) { status_.SetText(text); }

void AwardTableWindow::LayOut(int cx, int cy) {
    m_List.FillParent(m_hWnd, 0, status_.Place(), cx, cy);
}

void AwardTableWindow::OnSize(UINT, int cx, int cy) {
    Default();
    LayOut(cx, cy);
}

std::vector<std::pair<UINT, const char*>> AwardTableWindow::MenuCommands() const {
    return {{ID_LIST_COPY, "コピー\tCtrl+C"}, {ID_LIST_SELECTALL, "すべて選択\tCtrl+A"},
            {ID_LIST_SAVECSV, "CSV で保存...\tCtrl+S"}};
}

void AwardTableWindow::OnListKeyDown(NMHDR* header, LRESULT* result) {
    *result = 0;
    const WORD key = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
    if (!IsCtrlDown()) return;
    if (key == 'S')
        SaveCsv();
    else
        OnCommandKey(key);
}

void AwardTableWindow::OnListRightClick(NMHDR*, LRESULT* result) {
    *result = 0;
    HMENU menu = ::CreatePopupMenu();
    for (const auto& command : MenuCommands()) ::AppendMenuA(menu, MF_STRING, command.first, command.second);
    POINT at;
    ::GetCursorPos(&at);
    // The chosen command comes back as WM_COMMAND, as from any menu.
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
}

BOOL AwardTableWindow::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_List.m_hWnd && msg->hwnd == m_List.m_hWnd) {
        const int position = m_List.GetFirstSelectedItem();
        if (position >= 0 && OpenRowQsos(position, -1)) return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void AwardTableWindow::OnListDoubleClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    const NMITEMACTIVATE* item = reinterpret_cast<NMITEMACTIVATE*>(header);
    if (item->iItem >= 0) OpenRowQsos(item->iItem, item->iSubItem);
}

void AwardTableWindow::PlaceOverOwner(int maxWidth) {
    RECT owner;
    HWND under = ::GetWindow(m_hWnd, GW_OWNER);
    if (!under || !::GetWindowRect(under, &owner)) return;
    int width = 0;
    for (int c = 0; c < m_List.ColumnCount(); ++c) width += m_List.GetColumnWidth(c);
    width += ::GetSystemMetrics(SM_CXVSCROLL) + 4 * ::GetSystemMetrics(SM_CXFRAME);
    if (maxWidth > 0 && width > maxWidth) width = maxWidth;
    MoveWindow(owner.left, owner.top, width, owner.bottom - owner.top, TRUE);
}

void AwardTableWindow::OnCopy() { m_List.CopySelection(); }
void AwardTableWindow::OnSelectAll() { m_List.SelectAll(); }
void AwardTableWindow::OnSaveCsv() { SaveCsv(); }

std::string AwardTableWindow::DefaultFileName(const char* what) const {
    return std::string(AwardName(criteria_.AwardKind)) + "-" + what + TodayYmd() + ".csv";
}

void AwardTableWindow::SaveCsv() { SaveFile(kCsvTitle, DefaultFileName(CsvFileKind()), m_List.AllRowsAsCsv()); }

void AwardTableWindow::SaveFile(const char* title, const std::string& defaultName, const std::string& bytes) {
    SaveAwardFile(m_hWnd, title, defaultName, "csv", [&bytes](std::string* out, std::string*) {
        *out = bytes;
        return true;
    });
}

void SaveAwardFile(HWND owner, const char* title, const std::string& defaultName, const char* type,
                   const std::function<bool(std::string* bytes, std::string* reason)>& make) {
    std::wstring path;
    std::string bytes, reason;
    switch (AskSaveFileName(owner, title, defaultName, &path, type)) {
    case SaveName::Cancelled:
        return;
    case SaveName::TooLong:
        ShowAwardMessage(WideFromCp932(std::string(kCannotWrite) + "\n" + SystemReason(ERROR_FILENAME_EXCED_RANGE)));
        return;
    case SaveName::Chosen:
        if (!make(&bytes, &reason) || !WriteFileWhole(path, bytes, &reason))
            ShowAwardMessage(WideFromCp932(std::string(kCannotWrite) + "\n") + path + WideFromCp932("\n" + reason));
        return;
    }
}

// ---------------------------------------------------------------- the result list

AwardListDialog::AwardListDialog(const AwardCriteria& criteria, const ListAnchor& anchor,
                                 ListSortState& sortState, AwardStatistics& results)
    : AwardTableWindow(criteria), anchor_(anchor), sortState_(sortState), results_(results) {}

AwardListDialog::~AwardListDialog() = default;

FRAMEWORK_MESSAGE_MAP(AwardListDialog, AwardTableWindow,
    MapNotify(IDC_AWARDLIST, LVN_COLUMNCLICK, &AwardListDialog::OnColumnClick),
    MapCommand(ID_LIST_SAVEAPPLICATION, &AwardListDialog::OnSaveApplication, 0),
    MapCommand(ID_LIST_BANDGRID, &AwardListDialog::OnBandGrid, 0),
    MapCommand(ID_LIST_MAP, &AwardListDialog::OnMap, 0))

BOOL AwardListDialog::OnInitDialog() {
    SetUpTable();
    tallied_ = false;
    const int32_t kind = criteria_.AwardKind;
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
    // The application list and the grid want a log that was read.
    tallied_ = outcome == TallyOutcome::Done;
    ShowResults();
    PlaceAtMainWindow(kind);
    if (outcome == TallyOutcome::LogCannotBeOpened) ShowAwardMessage(kLogCannotBeOpenedText);
    return TRUE;
}

std::vector<std::pair<UINT, const char*>> AwardListDialog::MenuCommands() const {
    std::vector<std::pair<UINT, const char*>> commands = AwardTableWindow::MenuCommands();
    commands.emplace_back(ID_LIST_SAVEAPPLICATION, "申請リストを保存...\tCtrl+L");
    commands.emplace_back(ID_LIST_BANDGRID, "バンド別表示\tCtrl+B");
    commands.emplace_back(ID_LIST_MAP, "地図\tCtrl+M");
    return commands;
}

bool AwardListDialog::OnCommandKey(WORD key) {
    if (key == 'L') {
        SaveApplicationList();
        return true;
    }
    if (key == 'B') {
        ShowBandGrid();
        return true;
    }
    if (key == 'M') {
        ShowMap();
        return true;
    }
    return false;
}

bool AwardListDialog::OpenRowQsos(int position, int) {
    if (!tallied_) return false;
    // The column that names the area: the JCC/JCG code, the AJD digit, the
    // prefecture's name.
    const int32_t kind = criteria_.AwardKind;
    const int codeColumn = kind == Jcc || kind == Jcg ? 2 : 1;
    const AreaTarget target = AreaOfAwardRow(kind, AreaTableOfKind(kind), rows_.Text(position, codeColumn));
    if (target.Kind == 0) return false;
    AreaQsoDialog qsos(criteria_, target, -1);
    qsos.DoModal();
    return true;
}

void AwardListDialog::OnSaveApplication() { SaveApplicationList(); }
void AwardListDialog::OnBandGrid() { ShowBandGrid(); }
void AwardListDialog::OnMap() { ShowMap(); }

void AwardListDialog::ShowResults() {
    const AreaEntry* table = AreaTableOfKind(criteria_.AwardKind);
    BuildAwardRows(criteria_, results_, table, rows_);
    m_List.ShowRows();
    SetStatusText(AwardStatusText(criteria_.AwardKind, CountAward(results_, table)));
}

void AwardListDialog::SaveApplicationList() {
    if (!tallied_) return;
    // The QSOs are read back as the log stands now; when it has changed
    // since the search, the search runs again and the list shows its result.
    std::vector<ApplicationEntry> entries;
    std::vector<ApplicationQso> qsos;
    bool searchedAgain = false;
    const TallyOutcome read = ReadApplicationList(criteria_, AreaTableOfKind(criteria_.AwardKind), &results_,
                                                  &entries, &qsos, &searchedAgain);
    if (searchedAgain) ShowResults();
    // Each failure is told as what it is: the library gone, or the log.
    switch (read) {
    case TallyOutcome::Done:
        if (entries.empty())
            ShowAwardMessage(kNothingToApplyFor);
        else
            SaveFile(kApplicationTitle, DefaultFileName("申請リスト-"), ApplicationListCsv(entries, qsos));
        break;
    case TallyOutcome::LibraryMissing:
        ShowAwardMessage(kLibraryMissingText);
        break;
    case TallyOutcome::LogCannotBeOpened:
        ShowAwardMessage(kLogCannotBeOpenedText);
        break;
    }
}

void AwardListDialog::ShowBandGrid() {
    if (!tallied_) return;
    BandGridDialog grid(criteria_, results_);
    grid.DoModal();
}

void AwardListDialog::ShowMap() {
    if (!tallied_) return;
    AwardMapDialog map(criteria_, results_);
    map.DoModal();
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

void AwardListDialog::OnColumnClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    m_List.SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem, sortState_);
}

// ---------------------------------------------------------------- the band grid

BandGridDialog::BandGridDialog(const AwardCriteria& criteria, const AwardStatistics& results)
    : AwardTableWindow(criteria), results_(results) {}

BandGridDialog::~BandGridDialog() = default;

BOOL BandGridDialog::OnInitDialog() {
    SetUpTable();
    ::SetWindowTextA(m_hWnd, kBandGridCaption);
    columns_ = BandGridColumns(criteria_);
    m_List.InsertColumns(columns_.data(), static_cast<int>(columns_.size()));
    const AreaEntry* table = AreaTableOfKind(criteria_.AwardKind);
    BuildBandGridRows(criteria_, results_, table, rows_);
    m_List.ShowRows();
    SetStatusText(AwardStatusText(criteria_.AwardKind, CountAward(results_, table)));
    // Wide enough for every band column, on top of the result list.
    PlaceOverOwner();
    return TRUE;
}

bool BandGridDialog::OpenRowQsos(int position, int column) {
    const AreaTarget target =
        AreaOfAwardRow(criteria_.AwardKind, AreaTableOfKind(criteria_.AwardKind), rows_.Text(position, 1));
    if (target.Kind == 0) return false;   // the totals
    // A band's cell: that band's QSOs; the row's other cells: all of them.
    int band = -1;
    for (int b = 0, c = 3; b < kBandCount; ++b)
        if (criteria_.BandSelected[b] && c++ == column) band = b;
    AreaQsoDialog qsos(criteria_, target, band);
    qsos.DoModal();
    return true;
}
