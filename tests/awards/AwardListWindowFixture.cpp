#include "AwardListWindowFixture.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace awardlist {

const std::vector<awardgui::Qso> kLog = {
    {"19991231", "21.200", "CW", "4701", true},
    {"20090501", "14.025", "CW", "0101", false},
    {"20100105", "14.025", "CW", "1002", false},
    {"20100201", "14.025", "CW", "0104", false},
    {"20100601", "14.025", "CW", "01001", false},
    {"20110513", "14.025", "CW", "1002", true},
    {"20110513", "14.025", "CW", "0101", true},
    {"20120101", "14.025", "CW", "1001", false},
    {"20120301", "7.010", "SSB", "0801", false},
    {"20120301", "7.010", "SSB", "0801", false},
    {"20130101", "14.025", "CW", "1101", false},
};

void SetFilter(int32_t kind, int32_t start, int32_t end, int32_t unworked, int32_t full) {
    AwardFilter.AwardKind = kind;
    for (int b = 0; b < kBandCount; ++b) AwardFilter.BandSelected[b] = 1;
    AwardFilter.ModeText[0] = '\0';
    AwardFilter.StartDate = start;
    AwardFilter.EndDate = end;
    AwardFilter.ShowUnworked = unworked;
    AwardFilter.ShowFullList = full;
}

void AwardListWindowTest::SetUp() {
    awardgui::ResetAwardState();
    UseLibrary();
    ASSERT_NO_FATAL_FAILURE(MakeLog(kLog));
    ASSERT_NO_FATAL_FAILURE(MakeSmallMaster());
    ASSERT_NO_FATAL_FAILURE(LoadTables());
    MainWindowPlacement = {50, 40, 333};
}

int Px(int pixels96) { return ScaleToDpi(pixels96, SystemDpi()); }

void ExpectWindowRect(HWND window, int left, int top, int width, int height) {
    RECT r;
    ::GetWindowRect(window, &r);
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

std::string StatusOf(HWND window) {
    char text[256] = {};
    ::SendMessageA(::GetDlgItem(window, IDC_AWARDSTATUS), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string TypeIntoSaveDialog(const std::string& title, const std::wstring& path, HWND* dialogOut) {
    HWND dialog = gui::WaitFor([&] { return gui::FindProcessWindow(title); });
    EXPECT_NE(dialog, nullptr) << title;
    if (dialogOut) *dialogOut = dialog;
    if (!dialog) return {};
    HWND name = ::GetDlgItem(dialog, 0x47C);   // the file name box
    if (!name) name = ::GetDlgItem(dialog, 0x480);
    const std::string offered = gui::WindowText(name);
    std::wstring typed = path;
    for (wchar_t& c : typed)
        if (c == L'/') c = L'\\';
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return offered;
}

std::wstring Wide(const std::string& cp932) {
    std::wstring wide(cp932.size() + 1, L'\0');
    const int n = ::MultiByteToWideChar(CP_ACP, 0, cp932.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    return wide;
}

std::string AnswerSaveDialog(const std::string& title, const std::string& path) {
    HWND dialog = nullptr;
    const std::string offered = TypeIntoSaveDialog(title, Wide(path), &dialog);
    EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(dialog); }));
    return offered;
}

namespace {

struct OwnWindowSearch {
    const char* ClassName;
    const std::function<bool(HWND)>* Accept;
    HWND Found;
};

BOOL CALLBACK TryOwnWindow(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<OwnWindowSearch*>(p);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    if (pid != ::GetCurrentProcessId() || !::IsWindowVisible(h) || gui::ClassOf(h) != s->ClassName) return TRUE;
    if (!(*s->Accept)(h)) return TRUE;
    s->Found = h;
    return FALSE;
}

}  // namespace

HWND FindOwnWindow(const char* className, const std::function<bool(HWND)>& accept) {
    OwnWindowSearch search{className, &accept, nullptr};
    ::EnumWindows(TryOwnWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

void AnswerReplaceYes() {
    HWND question = gui::WaitFor([] {
        return FindOwnWindow("#32770", [](HWND h) { return ::GetDlgItem(h, IDYES) != nullptr; });
    });
    ASSERT_NE(question, nullptr) << "the dialog asks before it replaces a file";
    ::PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(gui::WaitUntil([&] { return !::IsWindow(question); }));
}

std::string TakeMessage(HWND window, int timeoutMs) {
    // "<executable's base name>": the program names its message boxes so.
    HWND box = gui::WaitFor([] { return gui::FindProcessWindow("award_list_window_tests"); }, timeoutMs);
    if (!box) return {};
    std::string text;
    bool exclamation = false;
    HICON icon = ::LoadIconA(nullptr, IDI_EXCLAMATION);
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (gui::ClassOf(c) != "Static") continue;
        if ((::GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            exclamation = exclamation || reinterpret_cast<HICON>(::SendMessageA(c, STM_GETICON, 0, 0)) == icon;
        else
            text += gui::WindowText(c);
    }
    EXPECT_TRUE(exclamation) << text;
    EXPECT_NE(::GetDlgItem(box, IDOK), nullptr) << text;
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(gui::WaitUntil([&] { return !::IsWindow(box); }));
    gui::Settle(window);
    return text;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

void WriteWide(const std::wstring& path, const std::string& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string Joined(HWND list, const Rows& rows, char separator) {
    std::string out;
    const std::vector<awardgui::ColumnInfo> columns = awardgui::ReadColumns(list);
    for (size_t c = 0; c < columns.size(); ++c) out += (c ? std::string(1, separator) : "") + columns[c].Title;
    out += "\r\n";
    for (const Row& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) out += (c ? std::string(1, separator) : "") + row[c];
        out += "\r\n";
    }
    return out;
}


std::string StatusTip(HWND window, int barId) { return gui::ToolTipOf(window, ::GetDlgItem(window, barId)); }

}  // namespace awardlist
