#include "AwardWindowFixture.h"

#include <commctrl.h>

#include <cstring>

#include "GuiDriver.h"
#include "awards/AwardFilter.h"
#include "awards/AwardList.h"
#include "awards/AwardTally.h"
#include "app/ProgramObjects.h"
#include "framework/Framework.h"
#include "logstore/AreaMaster.h"
#include "logstore/LoggerLibrary.h"

namespace awardgui {

namespace {

void Tool(const test::TempDir& dir, const std::vector<std::string>& args) {
    std::string output;
    int code = test::RunVireonTool(args, dir.Path(), &output);
    std::string line;
    for (const auto& a : args) line += a + " ";
    ASSERT_EQ(code, 0) << "vireon-tool " << line << "\n" << output;
}

}  // namespace


void AwardWindowTest::TearDown() { FreeLoggerLibrary(); }

void AwardWindowTest::UseLibrary() {
    test::CopyFileTo(test::BinFile(test::LibraryFileName()), dir_.File(test::LibraryFileName()));
}

void AwardWindowTest::MakeLog(const std::vector<Qso>& qsos) { ASSERT_NO_FATAL_FAILURE(test::MakeLog(dir_.Path(), qsos)); }

void AwardWindowTest::MakeMaster(const std::string& jccLines, const std::string& jcgLines) {
    test::WriteFileBytes(dir_.File("jcc.txt"),
                         "ＪＣＣリスト    test\n\n  No.     市名(ﾛｰﾏ字)       市名(漢字)  消滅日\n\n北海道 01\n" + jccLines);
    test::WriteFileBytes(dir_.File("jcg.txt"),
                         "ＪＣＧリスト    test\n  No.     郡名(ﾛｰﾏ字)       郡名(漢字)  消滅日\n \n北海道 01\n" + jcgLines);
    ASSERT_NO_FATAL_FAILURE(Tool(dir_, {"make-master", "--jcc", "jcc.txt", "--jcg", "jcg.txt"}));
}

void AwardWindowTest::MakeSmallMaster() {
    MakeMaster(JarlListLine("0101", "Sapporo", "札幌") + JarlListLine("0102", "Asahikawa", "旭川") +
                   JarlListLine("0103", "Otaru", "小樽", "Mar.31,2010") +
                   JarlListLine("0104", "Hakodate", "函館", "Apr.1,2010") +
                   JarlListLine("0105", "Muroran", "室蘭", "Dec.1,2009") + JarlListLine("1001", "Tokyo", "東京23区") +
                   JarlListLine("1002", "Hachioji", "八王子"),
               JarlListLine("01001", "Ishikari", "石狩郡") + JarlListLine("01002", "Atsuta", "厚田郡", "Mar.1,2009"));
}

void AwardWindowTest::LoadTables() {
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    LoadAreaMaster();
    FreeLoggerLibrary();
}

void ResetAwardState() {
    AwardFilter = AwardCriteria{};
    TheAwardResults = AwardStatistics{};
    ColumnSortState = InitialAwardSortState();
}

Rows ReadListRows(HWND list) { return gui::ReadListRows(list); }

std::vector<std::string> ColumnOf(const Rows& rows, int column) {
    std::vector<std::string> cells;
    for (const auto& r : rows) cells.push_back(r.at(static_cast<size_t>(column)));
    return cells;
}

std::vector<ColumnInfo> ReadColumns(HWND list) {
    std::vector<ColumnInfo> columns;
    for (int c = 0;; ++c) {
        char title[64] = {};
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        col.pszText = title;
        col.cchTextMax = sizeof title;
        if (!::SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col))) break;
        columns.push_back({title, col.cx, col.fmt & LVCFMT_JUSTIFYMASK});
    }
    return columns;
}

bool IsTicked(HWND dialog, int id) {
    return ::SendMessageA(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

std::string BoxText(HWND dialog, int id) { return gui::WindowText(::GetDlgItem(dialog, id)); }

void SetBoxText(HWND dialog, int id, const std::string& text) {
    ::SendMessageA(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND dialog, int id) {
    ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    gui::Settle(dialog);
}

void ClickColumn(HWND dialog, HWND list, int column) {
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = list;
    nm.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(list));
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    ::SendMessageA(dialog, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

HWND SearchAndWaitForList(HWND check, int searchId) {
    ::PostMessageA(::GetDlgItem(check, searchId), BM_CLICK, 0, 0);
    // A list that opens runs its own modal loop, which answers the settle
    // marker only once its initialisation is over.
    gui::Settle(check);
    CDialog* top = CDialog::CurrentModal();
    HWND h = top ? top->m_hWnd : nullptr;
    return (h && h != check) ? h : nullptr;
}

void CloseAndWait(HWND window, HWND under) {
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(window); }));
    EXPECT_TRUE(gui::WaitUntil([&] { return ::IsWindowEnabled(under) != FALSE; }));
    gui::Settle(under);
}

// A path as a person types it into the save dialog.
static std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// The save dialog titled `title`, once it shows: the name it offers, then
// `path` typed into its name box and saved.
std::string AnswerSaveDialog(const std::string& title, const std::string& path) {
    HWND dialog = gui::WaitFor([&] { return gui::FindProcessWindow(title); });
    EXPECT_NE(dialog, nullptr) << title;
    if (!dialog) return {};
    HWND name = ::GetDlgItem(dialog, 0x47C);   // the file name box
    if (!name) name = ::GetDlgItem(dialog, 0x480);
    const std::string offered = gui::WindowText(name);
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WindowsPath(path).c_str()));
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(dialog); }));
    return offered;
}

}  // namespace awardgui
