// cc-tour: a guided tour of CallsignCheck for the operator's first look,
// run and checked from outside the program, as the operator's desktop would.
//
//   cc-tour FOLDER SHOTS
//
// FOLDER holds CallsignCheck.exe, vireon50.dll, loggerwin.exe, a log with
// its index and master, and dump.txt (the log as "vireon-tool dump" prints
// it). The tour starts the logger window and the program there and walks
// through a lookup, a pattern search, an area lookup, the check window, the
// hand-over to the logger window, an AJD and a JCC check (with the QSOs
// behind a band grid cell) and the version box. Each step checks what the
// windows show against the dump and the logger's journal, and leaves a
// picture of the window as SHOTS/<name>.bmp, announced on standard output as
//   SHOT <name> <width> <height>
// Exit code 0 when every check held, 1 when one failed, 2 for bad usage.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "TourWindows.h"
#include "res/resource.h"

namespace {

using namespace tour;

// The busiest station of the log that still fits the window: a six-character
// call of the JA form (so its first characters make a pattern of fixed
// positions) with at most 50 QSOs, the earliest in call order on a tie.
std::string PickCall(const std::vector<DumpRecord>& dump, int* count) {
    std::map<std::string, int> worked;
    for (const DumpRecord& r : dump) {
        const std::string& c = r.Call();
        if (c.size() < 6) continue;
        bool jaForm = (c[0] == 'J' || c[0] == '7') && (c[1] == 'A' || (c[1] >= 'D' && c[1] <= 'S')) &&
                      c[2] >= '0' && c[2] <= '9';
        for (int i = 3; i < 6; ++i) jaForm = jaForm && c[i] >= 'A' && c[i] <= 'Z';
        if (jaForm) ++worked[c.substr(0, 6)];
    }
    std::string best;
    *count = 0;
    for (const auto& [call, n] : worked)
        if (n <= 50 && n > *count) {
            best = call;
            *count = n;
        }
    return best;
}

std::string RecNoText(int recNo) {
    char text[16];
    std::snprintf(text, sizeof text, "%6d", recNo);
    return text;
}

// Step: Enter on a call of the log lists every QSO with that station.
void Lookup(Tour& t, const std::string& call, int expected) {
    std::vector<std::string> want;
    for (const DumpRecord& r : t.Dump)
        if (r.Call().compare(0, 6, call) == 0) want.push_back(RecNoText(r.RecNo));
    Type(t, call);
    if (!PostKey(t, VK_RETURN)) return;
    t.Check(TextOf(::GetDlgItem(t.Main, IDC_CALLSIGN)) == call, "the box keeps " + call);
    std::string count = "交信回数 " + std::to_string(expected) + " 回";
    t.Check(TextOf(::GetDlgItem(t.Main, IDC_COUNT)) == count, "the count box shows the dump's count for " + call);
    Rows rows = ReadList(t, ::GetDlgItem(t.Main, IDC_QSOLIST), {0, 1});
    std::vector<std::string> shown;
    for (const auto& row : rows) {
        t.Check(StartsWith(row[1], call), "row of " + row[1] + " belongs to " + call);
        shown.push_back(row[0]);
    }
    std::sort(shown.begin(), shown.end());
    std::sort(want.begin(), want.end());
    t.Check(shown == want, "the list holds exactly the dump's records of " + call);
    t.Check(Journal(t).empty(), "with the link off nothing reaches the logger");
    std::printf("lookup %s: %zu rows\n", call.c_str(), rows.size());
}

// Step: F3 on a call's first three characters (the call area's prefix) lists
// every call that begins with them.
void Pattern(Tour& t, const std::string& typed) {
    int expected = 0;
    for (const DumpRecord& r : t.Dump) expected += StartsWith(r.Call(), typed);
    Type(t, typed);
    if (!PostKey(t, VK_F3)) return;
    std::string pattern = typed + std::string(6 - typed.size(), '?');
    t.Check(TextOf(::GetDlgItem(t.Main, IDC_CALLSIGN)) == pattern, "the box shows the pattern " + pattern);
    std::string count = "検索件数 " + std::to_string(expected) + " 件";
    t.Check(TextOf(::GetDlgItem(t.Main, IDC_COUNT)) == count, "the count box shows the dump's count for " + pattern);
    Rows rows = ReadList(t, ::GetDlgItem(t.Main, IDC_QSOLIST), {1});
    t.Check(static_cast<int>(rows.size()) == expected, "one row per fitting record");
    for (const auto& row : rows) t.Check(StartsWith(row[0], typed), "row of " + row[0] + " fits " + pattern);
    std::printf("pattern %s: %zu rows\n", pattern.c_str(), rows.size());
}

// The date of a dump record as YYYYMMDD.
int DumpDate(const DumpRecord& r) {
    const std::string& d = r.Fields[1];
    if (d.size() < 8) return 0;
    const int yy = std::atoi(d.substr(0, 2).c_str());
    return ((yy <= 50 ? 2000 : 1900) + yy) * 10000 + std::atoi(d.substr(3, 2).c_str()) * 100 +
           std::atoi(d.substr(6, 2).c_str());
}

// Step: a Tokyo ward's code typed in the call box lists the QSOs that count
// for it (the ward's code, from April 2010) and the status bar tells where
// it is confirmed and where only worked; the demo log makes it both.
void AreaLookup(Tour& t, const std::string& ward) {
    std::vector<std::string> want;
    for (const DumpRecord& r : t.Dump)
        if (r.Code() == ward && DumpDate(r) >= 20100401) want.push_back(RecNoText(r.RecNo));
    Type(t, ward);
    if (!PostKey(t, VK_RETURN)) return;
    Rows rows = ReadList(t, ::GetDlgItem(t.Main, IDC_QSOLIST), {0});
    std::vector<std::string> shown;
    for (const auto& row : rows) shown.push_back(row[0]);
    t.Check(!want.empty() && shown == want, "the list holds exactly the dump's QSOs of the ward " + ward);
    t.Check(TextOf(::GetDlgItem(t.Main, IDC_COUNT)) == "交信回数 " + std::to_string(want.size()) + " 回",
            "the count box counts them");
    const std::string status = TextOf(::GetDlgItem(t.Main, IDC_STATUSBAR));
    t.Check(StartsWith(status, "JCC " + ward + " ") && status.find("Cfm ") != std::string::npos &&
                status.find("Wkd ") != std::string::npos,
            "the status bar names the area and its confirmed and worked-only bands: " + status);
    t.Check(Journal(t).empty(), "an area lookup hands nothing to the logger");
    std::printf("area %s: %zu rows, %s\n", ward.c_str(), rows.size(), status.c_str());
}

// Double-clicks a cell of a list of the program with the real mouse (list
// notifications from another process do not arrive under Wine).
bool DoubleClickCell(Tour& t, HWND list, int row, int column) {
    RemoteBlock block(t.Process, sizeof(RECT));
    if (!t.Check(block.At() != nullptr, "a buffer inside the program")) return false;
    ::SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    RECT r{};
    r.top = column;
    r.left = LVIR_BOUNDS;
    block.Write(0, &r, sizeof r);
    ::SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.At()));
    block.Read(0, &r, sizeof r);
    if (!t.Check(r.right > r.left && r.bottom > r.top, "the cell is on the screen")) return false;
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ClientToScreen(list, &p);
    ::SetForegroundWindow(::GetAncestor(list, GA_ROOT));
    ::SetCursorPos(p.x, p.y);
    INPUT input[4]{};
    for (int i = 0; i < 4; ++i) {
        input[i].type = INPUT_MOUSE;
        input[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    return t.Check(::SendInput(4, input, sizeof(INPUT)) == 4, "the double click is taken");
}

// Step: a double click on a grid cell on 14 MHz opens the QSOs behind it:
// those of the area (a ward's QSOs before April 2010 for its city), on 14 MHz.
void GridCellQsos(Tour& t, HWND grid, const Rows& cells) {
    HWND gridList = ::GetDlgItem(grid, IDC_AWARDLIST);
    const int column14 = 3 + 4;   // No, Code, Qth, then every band from 1.9 MHz
    const Rows band14 = ReadList(t, gridList, {1, 2, column14});
    int row = -1;
    for (size_t i = 0; i + 1 < band14.size() && row < 0; ++i)
        if (band14[i][2] == "C" || band14[i][2] == "W") row = static_cast<int>(i);
    if (!t.Check(row >= 0 && cells.size() == band14.size(), "the grid has an area worked on 14 MHz")) return;
    auto trimmed = [](const std::string& text) { return text.substr(0, text.find_last_not_of(' ') + 1); };
    const std::string code = trimmed(band14[static_cast<size_t>(row)][0]);
    const std::string qth = trimmed(band14[static_cast<size_t>(row)][1]);
    if (!DoubleClickCell(t, gridList, row, column14)) return;
    HWND qsos = WaitForProgramWindow(t, code + " " + qth);
    if (!qsos) return;
    Settle(t, qsos);
    Rows rows = ReadList(t, ::GetDlgItem(qsos, IDC_AWARDLIST), {0, 6, 8});
    t.Check(!rows.empty(), "the cell's window lists QSOs");
    for (const auto& q : rows) {
        const double mhz = std::atof(q[1].c_str());
        t.Check(q[2].compare(0, 4, code, 0, 4) == 0, "row " + q[0] + " is a QSO of " + code + " (" + q[2] + ")");
        t.Check(q[1] == "14" || (mhz >= 14.0 && mhz <= 14.35), "row " + q[0] + " is on 14 MHz (" + q[1] + ")");
    }
    char status[256] = {};
    ::SendMessageA(::GetDlgItem(qsos, IDC_AWARDSTATUS), WM_GETTEXT, sizeof status, reinterpret_cast<LPARAM>(status));
    t.Check(StartsWith(status, "JCC " + code + " "), std::string("the status bar names the area: ") + status);
    std::printf("grid cell %s / 14 MHz: %zu rows, %s\n", code.c_str(), rows.size(), status);
    Shoot(t, qsos, "jcc-area-qsos");
    Close(t, qsos, "the cell's QSOs");
}

// Whether `call` is one character off `text`: one changed, added or removed.
bool OneOff(const std::string& call, const std::string& text) {
    if (call.size() == text.size()) {
        int differences = 0;
        for (size_t i = 0; i < call.size(); ++i) differences += call[i] != text[i];
        return differences == 1;
    }
    const std::string& longer = call.size() > text.size() ? call : text;
    const std::string& shorter = call.size() > text.size() ? text : call;
    if (longer.size() != shorter.size() + 1) return false;
    for (size_t i = 0; i < longer.size(); ++i)
        if (longer.substr(0, i) + longer.substr(i + 1) == shorter) return true;
    return false;
}

// Step: F6 opens the check window, which follows a partial call typed into
// the box: the log's calls that begin with it, those that contain it, then
// those one character off it.
void CheckWindowStep(Tour& t, const std::string& typed) {
    std::map<std::string, int> calls;
    for (const DumpRecord& r : t.Dump) ++calls[r.Call()];
    std::vector<std::string> begins, contains, oneOff;
    for (const auto& entry : calls) {
        const std::string& c = entry.first;
        if (StartsWith(c, typed)) begins.push_back(c);
        else if (c.find(typed) != std::string::npos) contains.push_back(c);
        else if (OneOff(c, typed)) oneOff.push_back(c);
    }
    Rows want;
    for (const auto& c : begins) want.push_back({c, "含む"});
    for (const auto& c : contains) want.push_back({c, "含む"});
    for (const auto& c : oneOff) want.push_back({c, "1字違い"});

    if (!PostKey(t, VK_F6)) return;
    HWND check = WaitForProgramWindow(t, "チェック");
    if (!check) return;
    Type(t, typed);
    // The window follows once the change has been handled: a message of its own.
    Settle(t, t.Main);
    Settle(t, t.Main);
    Rows rows = ReadList(t, ::GetDlgItem(check, IDC_CHECKLIST), {0, 4});
    t.Check(rows == want, "the check window lists the calls that contain " + typed + ", then those one off it");
    t.Check(!begins.empty() && !oneOff.empty(), "the demo log has calls of both kinds for " + typed);
    std::printf("check window %s: %zu rows, %zu one off\n", typed.c_str(), rows.size(), oneOff.size());
    Shoot(t, check, "check-window");
    ::SetForegroundWindow(t.Main);
    if (!PostKey(t, VK_F6)) return;
    t.Check(!::IsWindowVisible(check), "F6 closes the check window");
}

// Right-clicks the first row of the main window's list with the real mouse:
// list notifications from another process do not arrive under Wine.
bool RightClickFirstRow(Tour& t) {
    HWND list = ::GetDlgItem(t.Main, IDC_QSOLIST);
    RemoteBlock block(t.Process, sizeof(LVITEMA) + sizeof(RECT));
    if (!t.Check(block.At() != nullptr, "a buffer inside the program")) return false;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    block.Write(0, &state, sizeof state);
    ::SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(block.At()));
    RECT r{};
    r.left = LVIR_LABEL;
    block.Write(sizeof(LVITEMA), &r, sizeof r);
    ::SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(block.At() + sizeof(LVITEMA)));
    block.Read(sizeof(LVITEMA), &r, sizeof r);
    if (!t.Check(r.right > r.left && r.bottom > r.top, "the first row is on the screen")) return false;
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ClientToScreen(list, &p);
    ::SetForegroundWindow(t.Main);
    ::SetCursorPos(p.x, p.y);
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    return t.Check(::SendInput(2, input, sizeof(INPUT)) == 2, "the mouse click is taken");
}

// Step: with the link ticked, Enter hands the call to the logger window and a
// right-click hands over the row's call, code, name and QTH; Escape clears.
void HandOver(Tour& t, const std::string& call) {
    ::SendMessageA(::GetDlgItem(t.Main, IDC_LINKTOLOGGER), BM_SETCHECK, BST_CHECKED, 0);
    Type(t, call);
    if (!PostKey(t, VK_RETURN)) return;
    std::vector<std::string> want = {JournalLine(0x20010, call), JournalLine(0x30000, call)};
    t.Check(Journal(t) == want, "Enter sends the call twice (0x20010, 0x30000)");

    Rows rows = ReadList(t, ::GetDlgItem(t.Main, IDC_QSOLIST), {0});
    if (!t.Check(!rows.empty(), "rows to click")) return;
    const DumpRecord* first = nullptr;
    for (const DumpRecord& r : t.Dump)
        if (RecNoText(r.RecNo) == rows[0][0]) first = &r;
    if (!t.Check(first != nullptr, "the first row is a record of the dump")) return;
    if (!RightClickFirstRow(t)) return;
    for (const auto& [code, text] : std::vector<std::pair<unsigned, std::string>>{
             {0, first->Call()}, {8, first->Code()}, {11, first->Name()}, {12, first->Qth()}})
        want.push_back(JournalLine(code, text));
    t.Check(WaitForJournal(t, want.size()) == want, "a right-click sends the row's call, code, name and QTH");
    Shoot(t, t.LoggerWindow, "logger");

    if (!PostKey(t, VK_ESCAPE)) return;
    want.push_back(JournalLine(0x20010, ""));
    t.Check(Journal(t) == want, "Escape sends one empty 0x20010");
    t.Check(TextOf(::GetDlgItem(t.Main, IDC_CALLSIGN)).empty() && TextOf(::GetDlgItem(t.Main, IDC_COUNT)).empty() &&
                ::SendMessageA(::GetDlgItem(t.Main, IDC_QSOLIST), LVM_GETITEMCOUNT, 0, 0) == 0,
            "Escape empties both boxes and the list");
    ::SendMessageA(::GetDlgItem(t.Main, IDC_LINKTOLOGGER), BM_SETCHECK, BST_UNCHECKED, 0);
}

// Opens an award check dialog from the menu with every band ticked.
HWND OpenAwardDialog(Tour& t, int command, const std::string& caption, const std::vector<int>& bands) {
    ::PostMessageA(t.Main, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    HWND dialog = WaitForProgramWindow(t, caption);
    if (!dialog) return nullptr;
    for (int id : bands) ::SendMessageA(::GetDlgItem(dialog, id), BM_SETCHECK, BST_CHECKED, 0);
    return dialog;
}

HWND Search(Tour& t, HWND dialog) {
    Click(dialog, IDC_AJD_SEARCH);
    HWND list = WaitForProgramWindow(t, "一覧");
    if (list) Settle(t, list);
    return list;
}

// The award's map from its list's menu command (Ctrl+M), pictured as SHOTS/<shot>.
void ShootMap(Tour& t, HWND list, const std::string& caption, const std::string& shot) {
    ::PostMessageA(list, WM_COMMAND, ID_LIST_MAP, 0);
    HWND map = WaitForProgramWindow(t, caption);
    if (!map) return;
    Settle(t, map);
    // "全バンド" and the fourteen bands the search ticked.
    t.Check(::SendMessageA(::GetDlgItem(map, IDC_MAP_BAND), CB_GETCOUNT, 0, 0) == 15, caption + " offers every band");
    Shoot(t, map, shot);
    Close(t, map, "the " + caption + " window");
}

// Step: AJD over every band lists the ten call areas, 1 to 9 and then 0;
// WAJA's map shows the prefectures.
void AjdCheck(Tour& t) {
    HWND dialog = OpenAwardDialog(t, ID_AJDWAJACHECK, "AJD/WAJA Check",
        {IDC_AJD_BAND0, IDC_AJD_BAND1, IDC_AJD_BAND2, IDC_AJD_BAND3, IDC_AJD_BAND4, IDC_AJD_BAND5, IDC_AJD_BAND6,
         IDC_AJD_BAND7, IDC_AJD_BAND8, IDC_AJD_BAND9, IDC_AJD_BAND10, IDC_AJD_BAND11, IDC_AJD_BAND12, IDC_AJD_BAND13});
    if (!dialog) return;
    t.Check(::SendMessageA(::GetDlgItem(dialog, IDC_AJD_AJD), BM_GETCHECK, 0, 0) == BST_CHECKED, "AJD is chosen");
    Shoot(t, dialog, "ajdwaja-dialog");
    if (HWND list = Search(t, dialog)) {
        Rows rows = ReadList(t, ::GetDlgItem(list, IDC_AWARDLIST), {0, 1, 4});
        std::vector<std::string> areas, want = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
        int worked = 0;
        for (const auto& row : rows) {
            areas.push_back(row[1]);
            worked += row[0] == "Wkd" || row[0] == "Cfm";
        }
        t.Check(areas == want, "ten rows, areas 1 to 9 and 0");
        t.Check(worked == 10, "the demo log works every call area");
        std::printf("AJD: %zu rows, %d worked\n", rows.size(), worked);
        Shoot(t, list, "ajd-list");
        ShootMap(t, list, "AJD 地図", "ajd-map");
        Close(t, list, "the AJD list");
    }
    ::SendMessageA(::GetDlgItem(dialog, IDC_AJD_AJD), BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageA(::GetDlgItem(dialog, IDC_AJD_WAJA), BM_SETCHECK, BST_CHECKED, 0);
    Click(dialog, IDC_AJD_WAJA);
    if (HWND list = Search(t, dialog)) {
        ShootMap(t, list, "WAJA 地図", "waja-map");
        Close(t, list, "the WAJA list");
    }
    Close(t, dialog, "the AJD/WAJA dialog");
}

// Step: JCC over every band lists worked cities and wards of the master.
void JccCheck(Tour& t) {
    HWND dialog = OpenAwardDialog(t, ID_JCCJCGCHECK, "JCC/JCG Check",
        {IDC_JCC_BAND0, IDC_JCC_BAND1, IDC_JCC_BAND2, IDC_JCC_BAND3, IDC_JCC_BAND4, IDC_JCC_BAND5, IDC_JCC_BAND6,
         IDC_JCC_BAND7, IDC_JCC_BAND8, IDC_JCC_BAND9, IDC_JCC_BAND10, IDC_JCC_BAND11, IDC_JCC_BAND12, IDC_JCC_BAND13});
    if (!dialog) return;
    t.Check(::SendMessageA(::GetDlgItem(dialog, IDC_JCC_JCC), BM_GETCHECK, 0, 0) == BST_CHECKED, "JCC is chosen");
    Shoot(t, dialog, "jccjcg-dialog");
    if (HWND list = Search(t, dialog)) {
        Rows rows = ReadList(t, ::GetDlgItem(list, IDC_AWARDLIST), {0, 1, 2});
        t.Check(!rows.empty(), "the JCC list has rows");
        for (size_t i = 0; i < rows.size(); ++i) {
            char number[16];
            std::snprintf(number, sizeof number, "%4d", static_cast<int>(i + 1));
            t.Check(rows[i][0] == number, "rows are numbered from 1");
            t.Check(rows[i][1] == "Wkd" || rows[i][1] == "Cfm", "row " + rows[i][2] + " is worked");
            std::string code = rows[i][2].substr(0, rows[i][2].find(' '));
            bool inLog = false;
            for (const DumpRecord& r : t.Dump) inLog = inLog || (!code.empty() && StartsWith(r.Code(), code));
            t.Check(inLog, "the log holds a QSO with code " + code);
        }
        std::printf("JCC: %zu rows\n", rows.size());
        char status[256] = {};
        // WM_GETTEXT, unlike SB_GETTEXT, is carried between processes.
        ::SendMessageA(::GetDlgItem(list, IDC_AWARDSTATUS), WM_GETTEXT, sizeof status, reinterpret_cast<LPARAM>(status));
        t.Check(StartsWith(status, "Cfm "), "the status bar gives the totals");
        std::printf("JCC status: %s\n", status);
        Shoot(t, list, "jcc-list");
        // The same areas by band, from the list's menu command.
        ::PostMessageA(list, WM_COMMAND, ID_LIST_BANDGRID, 0);
        if (HWND grid = WaitForProgramWindow(t, "バンド別")) {
            Settle(t, grid);
            Rows cells = ReadList(t, ::GetDlgItem(grid, IDC_AWARDLIST), {0, 1});
            t.Check(cells.size() == rows.size() + 1, "the grid has the list's areas and a total row");
            t.Check(!cells.empty() && cells.back()[0] == "計", "the last row gives the totals");
            Shoot(t, grid, "jcc-bandgrid");
            GridCellQsos(t, grid, cells);
            Close(t, grid, "the band grid");
        }
        ShootMap(t, list, "JCC 地図", "jcc-map");
        Close(t, list, "the JCC list");
    }
    // The JCG radio button as a click leaves it.
    ::SendMessageA(::GetDlgItem(dialog, IDC_JCC_JCC), BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageA(::GetDlgItem(dialog, IDC_JCC_JCG), BM_SETCHECK, BST_CHECKED, 0);
    Click(dialog, IDC_JCC_JCG);
    if (HWND list = Search(t, dialog)) {
        ShootMap(t, list, "JCG 地図", "jcg-map");
        Close(t, list, "the JCG list");
    }
    Close(t, dialog, "the JCC/JCG dialog");
}

// The version the executable's version resource carries, as "a.b.c"; empty
// when the fixed part and the texts do not agree.
std::string ResourceVersion(Tour& t, const std::string& exe) {
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    if (!t.Check(size > 0, "the program has a version resource")) return "";
    std::vector<char> data(size);
    if (!t.Check(::GetFileVersionInfoA(exe.c_str(), 0, size, data.data()) != FALSE, "the version resource reads")) return "";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!t.Check(::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed,
                 "the version resource has its fixed part"))
        return "";
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                  HIWORD(fixed->dwFileVersionLS));
    struct Translation { WORD Language, CodePage; }* translation = nullptr;
    if (!t.Check(::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
                     length >= sizeof *translation,
                 "the version resource names its language"))
        return "";
    for (const char* key : {"FileVersion", "ProductVersion"}) {
        char path[64];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation->Language, translation->CodePage, key);
        char* text = nullptr;
        bool found = ::VerQueryValueA(data.data(), path, reinterpret_cast<void**>(&text), &length) && text;
        t.Check(found && std::string(text) == numbers, std::string(key) + " is " + numbers);
    }
    return numbers;
}

// Step: the caption, the version box and the version resource tell one version.
void VersionBox(Tour& t) {
    std::string version = ResourceVersion(t, t.Folder + "/CallsignCheck.exe");
    std::string caption = "CallsignCheck Ver " + version;
    t.Check(TextOf(t.Main) == caption, "the caption \"" + TextOf(t.Main) + "\" carries the resource's version " + version);
    ::PostMessageA(t.Main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND box = WaitForProgramWindow(t, "CallsignCheckのﾊﾞｰｼﾞｮﾝ情報");
    if (!box) return;
    bool shown = false;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) shown = shown || TextOf(c) == caption;
    t.Check(shown, "the version box shows " + caption);
    Shoot(t, box, "about");
    Close(t, box, "the version box");
}

// The logger window below the main window, so that neither hides the other.
void PlaceLoggerBelowMain(Tour& t) {
    RECT main{}, logger{};
    ::GetWindowRect(t.Main, &main);
    ::GetWindowRect(t.LoggerWindow, &logger);
    int y = main.bottom + 8;
    if (y + (logger.bottom - logger.top) > ::GetSystemMetrics(SM_CYSCREEN)) return;
    ::SetWindowPos(t.LoggerWindow, nullptr, main.left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int RunTour(Tour& t) {
    t.Dump = ReadDump(t.Folder + "/dump.txt");
    if (!t.Check(t.Dump.size() > 100, "dump.txt holds the log")) return 1;
    int expected = 0;
    std::string call = PickCall(t.Dump, &expected);
    if (!t.Check(!call.empty() && expected > 1, "the log has a station worked more than once")) return 1;

    ::DeleteFileA((t.Folder + "/journal.txt").c_str());
    if (!t.Check(t.Logger.Start(t.Folder + "/loggerwin.exe", {t.Folder + "/journal.txt"}, t.Folder), "start loggerwin.exe"))
        return 1;
    t.LoggerWindow = t.Logger.WaitForWindow("", kWaitMs);
    if (!t.Check(t.LoggerWindow != nullptr, "the logger window opens")) return 1;
    if (!t.Check(t.Program.Start(t.Folder + "/CallsignCheck.exe", {}, t.Folder), "start CallsignCheck.exe")) return 1;
    for (int waited = 0; !t.Main && waited < kWaitMs; waited += 50) {
        for (HWND w : t.Program.VisibleWindows())
            if (::GetDlgItem(w, IDC_QSOLIST) && ::GetDlgItem(w, IDC_CALLSIGN)) t.Main = w;
        if (!t.Main) ::Sleep(50);
    }
    if (!t.Check(t.Main != nullptr, "the main window opens")) return 1;
    t.Process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_DUP_HANDLE, FALSE,
                              t.Program.Pid());
    if (!t.Check(t.Process != nullptr, "open the program's process")) return 1;
    PlaceLoggerBelowMain(t);

    VersionBox(t);
    if (t.Ok) Lookup(t, call, expected);
    if (t.Ok) Shoot(t, t.Main, "main-lookup");
    if (t.Ok) Pattern(t, call.substr(0, 3));
    if (t.Ok) Shoot(t, t.Main, "main-pattern");
    if (t.Ok) AreaLookup(t, "100101");
    if (t.Ok) Shoot(t, t.Main, "main-area-lookup");
    if (t.Ok) CheckWindowStep(t, "JA1AC");
    if (t.Ok) HandOver(t, call);
    if (t.Ok) AjdCheck(t);
    if (t.Ok) JccCheck(t);

    if (t.Ok) {
        ::PostMessageA(t.Main, WM_CLOSE, 0, 0);
        t.Check(t.Program.WaitForExit(kWaitMs), "the program ends when its window is closed");
        ::PostMessageA(t.LoggerWindow, WM_CLOSE, 0, 0);
        t.Check(t.Logger.WaitForExit(kWaitMs), "the logger window ends");
    }
    if (t.Process) ::CloseHandle(t.Process);
    return t.Ok ? 0 : 1;   // the runners end whatever still runs
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: cc-tour FOLDER SHOTS\n");
        return 2;
    }
    Tour t;
    t.Folder = argv[1];
    t.Shots = argv[2];
    int code = RunTour(t);
    std::printf("%s\n", code == 0 ? "tour: every check held" : "tour: a check failed");
    std::fflush(stdout);
    return code;
}
