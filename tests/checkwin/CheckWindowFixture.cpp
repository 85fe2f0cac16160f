#include "CheckWindowFixture.h"

#include <commctrl.h>

#include "res/resource.h"

namespace checkwin_test {

std::string Cp932(const std::wstring& text) {
    int n = ::WideCharToMultiByte(932, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
    ::WideCharToMultiByte(932, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}


CheckWindowTest::CheckWindowTest() : folder_("checkwin", true) { UseLibrary(true); }

CheckWindowTest::~CheckWindowTest() = default;

void CheckWindowTest::UseLibrary(bool present) {
    std::string name = folder_.File(test::LibraryFileName());
    if (present) test::CopyFileTo(test::BinFile(test::LibraryFileName()), name);
    else ::DeleteFileA(name.c_str());
}

void CheckWindowTest::MakeLog(const std::vector<Qso>& qsos) {
    ASSERT_NO_FATAL_FAILURE(test::MakeLog(folder_.Path(), qsos));
}

void CheckWindowTest::MakeDemoMaster() {
    // The team's demo lists in JARL's layout, in Shift_JIS as JARL publishes
    // them (the files are UTF-8), so that the names are the program's texts.
    const std::string lists = CC_DEMODATA_DIR;
    for (const char* list : {"jcc", "jcg"}) {
        const std::string utf8 = test::ReadFileBytes(lists + "/" + list + "-demo.txt");
        std::wstring wide(utf8.size() + 1, L'\0');
        wide.resize(static_cast<size_t>(
            ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], static_cast<int>(wide.size()))));
        test::WriteFileBytes(folder_.File(std::string(list) + ".txt"), Cp932(wide));
    }
    std::string output;
    ASSERT_EQ(test::RunVireonTool({"make-master", "--jcc", "jcc.txt", "--jcg", "jcg.txt"}, folder_.Path(), &output), 0)
        << output;
}

void CheckWindowTest::GenerateLog(int count) {
    std::string output;
    // The team's demo lists in JARL's layout give the codes.
    const std::string lists = CC_DEMODATA_DIR;
    ASSERT_EQ(test::RunVireonTool({"make-master", "--jcc", lists + "/jcc-demo.txt", "--jcg", lists + "/jcg-demo.txt"},
                                  folder_.Path(), &output),
              0)
        << output;
    ASSERT_EQ(test::RunVireonTool({"generate", std::to_string(count), "--replace"}, folder_.Path(), &output), 0) << output;
}

SettingsFile* CheckWindowTest::Settings() {
    settings_ = std::make_unique<SettingsFile>(IniPath().c_str());
    return settings_.get();
}

INT_PTR CheckWindowTest::Run(const std::function<void(HWND)>& driver) {
    dialog_ = std::make_unique<CallsignCheckDialog>(Settings());
    return gui::RunModal(*dialog_, driver);
}

void Type(HWND main, const std::string& text) {
    ::SendMessageA(::GetDlgItem(main, IDC_CALLSIGN), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Press(HWND target, UINT vk) {
    gui::PostKey(target, vk);
    HWND top = target;
    while (::GetParent(top)) top = ::GetParent(top);
    gui::Settle(top);
}

std::string CallBox(HWND main) { return gui::WindowText(::GetDlgItem(main, IDC_CALLSIGN)); }
std::string CountBox(HWND main) { return gui::WindowText(::GetDlgItem(main, IDC_COUNT)); }
std::string StatusBar(HWND main) { return gui::WindowText(::GetDlgItem(main, IDC_STATUSBAR)); }

void SetLink(HWND main, bool on) {
    ::SendMessageA(::GetDlgItem(main, IDC_LINKTOLOGGER), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

int ListCount(HWND main) {
    return static_cast<int>(::SendMessageA(::GetDlgItem(main, IDC_QSOLIST), LVM_GETITEMCOUNT, 0, 0));
}

std::vector<std::vector<std::string>> ListRows(HWND main, const std::vector<int>& columns) {
    std::vector<int> cols = columns;
    if (cols.empty())
        for (int c = 0; c < 15; ++c) cols.push_back(c);
    return gui::ReadListRows(::GetDlgItem(main, IDC_QSOLIST), cols);
}

std::vector<std::string> ListColumn(HWND main, int column) {
    std::vector<std::string> texts;
    for (const auto& row : ListRows(main, {column})) texts.push_back(row[0]);
    return texts;
}

void SelectRow(HWND main, int position) {
    HWND list = ::GetDlgItem(main, IDC_QSOLIST);
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (position >= 0) {
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&item));
    }
}

void ClickHeader(HWND main, int column) {
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = ::GetDlgItem(main, IDC_QSOLIST);
    nm.hdr.idFrom = IDC_QSOLIST;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    ::SendMessageA(main, WM_NOTIFY, IDC_QSOLIST, reinterpret_cast<LPARAM>(&nm));
}

void NotifyList(HWND main, UINT code) {
    NMITEMACTIVATE nm{};
    nm.hdr.hwndFrom = ::GetDlgItem(main, IDC_QSOLIST);
    nm.hdr.idFrom = IDC_QSOLIST;
    nm.hdr.code = code;
    nm.iItem = -1;
    ::SendMessageA(main, WM_NOTIFY, IDC_QSOLIST, reinterpret_cast<LPARAM>(&nm));
}

namespace {

struct BoxSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<BoxSearch*>(lp);
    // A message box has its text in a static of id 0xFFFF; other dialogs the
    // main window owns (the check window) have none.
    if (gui::ClassOf(hwnd) == "#32770" && ::GetWindow(hwnd, GW_OWNER) == s->owner && ::IsWindowVisible(hwnd) &&
        ::GetDlgItem(hwnd, 0xFFFF)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CountButtons(HWND child, LPARAM lp) {
    auto* seen = reinterpret_cast<MessageBoxSeen*>(lp);
    if (gui::ClassOf(child) == "Button" && ::IsWindowVisible(child)) {
        ++seen->Buttons;
        if (::GetDlgCtrlID(child) == IDOK) seen->HasOkButton = true;
    }
    return TRUE;
}

}  // namespace

MessageBoxSeen WaitForMessageBox(HWND main, int timeoutMs) {
    MessageBoxSeen seen;
    DWORD thread = ::GetWindowThreadProcessId(main, nullptr);
    seen.Window = gui::WaitFor([&]() -> HWND {
        BoxSearch s{main, nullptr};
        ::EnumThreadWindows(thread, FindBox, reinterpret_cast<LPARAM>(&s));
        return s.found;
    }, timeoutMs);
    if (!seen.Window) return seen;
    seen.Caption = gui::WindowText(seen.Window);
    // The text and icon controls of a message box carry these ids.
    seen.Text = gui::WindowText(::GetDlgItem(seen.Window, 0xFFFF));
    HICON shown = reinterpret_cast<HICON>(::SendMessageA(::GetDlgItem(seen.Window, 0x0440), STM_GETICON, 0, 0));
    seen.Exclamation = shown && shown == ::LoadIconA(nullptr, IDI_EXCLAMATION);
    ::EnumChildWindows(seen.Window, CountButtons, reinterpret_cast<LPARAM>(&seen));
    return seen;
}

void Dismiss(const MessageBoxSeen& box) {
    if (!box.Window) return;
    ::PostMessageA(box.Window, WM_COMMAND, IDOK, 0);
    gui::WaitUntil([&] { return !::IsWindow(box.Window); });
}

}  // namespace checkwin_test
