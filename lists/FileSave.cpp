#include "lists/FileSave.h"

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The folder of the program, where the save dialogs start.
std::wstring FolderOfProgram() {
    std::vector<wchar_t> path(32768);
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size()) return {};
    std::wstring folder(path.data(), n);
    const size_t cut = folder.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : folder.substr(0, cut);
}

// The name box of the file dialog: a combo box, or an edit box.
constexpr int kNameCombo = 0x47C;
constexpr int kNameEdit = 0x480;

// What the guard of one save dialog shares with the call that runs it.
struct SaveDialogGuard {
    HHOOK Hook = nullptr;
    HWND Dialog = nullptr;
    bool TooLong = false;
};
thread_local SaveDialogGuard* ActiveGuard = nullptr;

// Whether the name in the dialog's name box, with the folder shown when it
// is not a whole path, leaves no room in a path of MAX_PATH characters for
// the extension the dialog adds.
bool NameTooLong(HWND dialog) {
    HWND box = ::GetDlgItem(dialog, kNameCombo);
    if (!box) box = ::GetDlgItem(dialog, kNameEdit);
    if (!box) return false;   // a dialog of another make checks its names itself
    const int length = ::GetWindowTextLengthW(box);
    std::vector<wchar_t> name(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(box, name.data(), length + 1);
    const bool whole = length >= 2 && (name[1] == L':' || (name[0] == L'\\' && name[1] == L'\\'));
    int total = length;
    if (!whole) total += static_cast<int>(::SendMessageW(dialog, CDM_GETFOLDERPATH, 0, 0));
    return total + 4 >= MAX_PATH;
}

// The dialog's own handling of a name far longer than a path can be is
// not safe everywhere (one make of it copies the name into a fixed buffer):
// such a name never reaches it. The dialog is closed, and the caller says why.
LRESULT CALLBACK GuardNameLength(HWND dialog, UINT message, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR data) {
    if (message == WM_COMMAND && LOWORD(w) == IDOK && NameTooLong(dialog)) {
        reinterpret_cast<SaveDialogGuard*>(data)->TooLong = true;
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(dialog, GuardNameLength, id);
    return ::DefSubclassProc(dialog, message, w, l);
}

// Finds the save dialog when it is first activated, to guard it.
LRESULT CALLBACK WatchForSaveDialog(int code, WPARAM w, LPARAM l) {
    SaveDialogGuard* guard = ActiveGuard;
    if (guard && code == HCBT_ACTIVATE && !guard->Dialog) {
        HWND window = reinterpret_cast<HWND>(w);
        char name[16] = {};
        ::GetClassNameA(window, name, sizeof name);
        if (std::strcmp(name, "#32770") == 0) {
            guard->Dialog = window;
            ::SetWindowSubclass(window, GuardNameLength, 1, reinterpret_cast<DWORD_PTR>(guard));
        }
    }
    return ::CallNextHookEx(guard ? guard->Hook : nullptr, code, w, l);
}

}  // namespace

std::wstring WideFromCp932(const std::string& text) {
    if (text.empty()) return {};
    const int n = ::MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::string Cp932FromWide(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = ::WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) ::WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), &narrow[0], n, nullptr, nullptr);
    return narrow;
}

std::string SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text ? Cp932FromWide(text) : std::string();
    if (text) ::LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) reason.pop_back();
    if (reason.empty()) reason = "error " + std::to_string(error);
    return reason;
}

SaveName AskSaveFileName(HWND owner, const char* title, const std::string& defaultName, std::wstring* path,
                         const char* type) {
    // The buffer and the size the dialog is told are one and the same: a
    // name that does not fit is the dialog's to refuse, never to write past.
    std::vector<wchar_t> file(MAX_PATH, L'\0');
    const std::wstring name = WideFromCp932(defaultName);
    if (name.size() < file.size()) std::memcpy(file.data(), name.c_str(), name.size() * sizeof(wchar_t));
    const std::wstring folder = FolderOfProgram();
    const std::wstring caption = WideFromCp932(title);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    // "CSV (*.csv)", "*.csv", then the empty entry that ends the list.
    const std::wstring ext = WideFromCp932(type);
    std::wstring upper = ext;
    for (wchar_t& c : upper)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    const std::wstring filter = upper + L" (*." + ext + L")" + L'\0' + L"*." + ext + L'\0' + L'\0';
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = caption.c_str();
    ofn.lpstrDefExt = ext.c_str();
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    SaveDialogGuard guard;
    guard.Hook = ::SetWindowsHookExW(WH_CBT, WatchForSaveDialog, nullptr, ::GetCurrentThreadId());
    ActiveGuard = &guard;
    const BOOL chosen = ::GetSaveFileNameW(&ofn);
    const DWORD error = chosen ? 0 : ::CommDlgExtendedError();
    ActiveGuard = nullptr;
    if (guard.Hook) ::UnhookWindowsHookEx(guard.Hook);
    if (guard.TooLong || error == FNERR_BUFFERTOOSMALL) return SaveName::TooLong;
    if (!chosen) return SaveName::Cancelled;
    file.back() = L'\0';
    *path = file.data();
    return SaveName::Chosen;
}

bool WriteFileWhole(const std::wstring& path, const std::string& bytes, std::string* reason) {
    // Windows does not replace a read-only file; nor does this program on
    // systems that would.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *reason = SystemReason(ERROR_ACCESS_DENIED);
        return false;
    }
    const size_t cut = path.find_last_of(L"\\/");
    const std::wstring folder = cut == std::wstring::npos ? L"." : path.substr(0, cut);
    wchar_t temp[MAX_PATH + 16] = {};
    if (!::GetTempFileNameW(folder.c_str(), L"cc", 0, temp)) {
        *reason = SystemReason(::GetLastError());
        return false;
    }
    HANDLE file = ::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *reason = SystemReason(::GetLastError());
        ::DeleteFileW(temp);
        return false;
    }
    DWORD written = 0;
    const bool wrote = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size() && ::FlushFileBuffers(file);
    const DWORD writeError = ::GetLastError();
    ::CloseHandle(file);
    if (!wrote) {
        *reason = SystemReason(writeError);
        ::DeleteFileW(temp);
        return false;
    }
    if (!::MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *reason = SystemReason(::GetLastError());
        ::DeleteFileW(temp);
        return false;
    }
    return true;
}

std::string TodayYmd() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
    return text;
}
