#include "lists/ReportList.h"

#include <commdlg.h>

#include <cctype>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr DWORD kListLook = LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;

// A code page 932 text as UTF-16, with its terminating NUL.
std::vector<wchar_t> WideFromCp932(const char* text) {
    const int n = ::MultiByteToWideChar(932, 0, text, -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0) ::MultiByteToWideChar(932, 0, text, -1, wide.data(), n);
    return wide;
}

}  // namespace

void ReportList::Create(ListRows& rows) {
    rows_ = &rows;
    RecreateAsOwnerData();
    // The header is a child of the list: without clipping it is painted
    // again with every repaint of the rows.
    const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    ::SetWindowLongA(m_hWnd, GWL_STYLE, style | WS_CLIPCHILDREN);
    SetExtendedStyle(kListLook);
}

void ReportList::InsertColumns(const ListColumn* columns, int count, const int* widths) {
    columns_ = columns;
    columnCount_ = count;
    for (int i = 0; i < count; ++i) {
        const int format = columns[i].Align == ColumnAlign::Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
        InsertColumn(i, columns[i].Title, format, widths ? widths[i] : ScaleToWindowDpi(m_hWnd, columns[i].Width), i);
    }
}

void ReportList::ClearRows() { rows_->Clear(); }

void ReportList::ShowRows() {
    // A search runs to its end without handling messages, so nothing is
    // drawn while the rows change. Setting the count anew makes the control
    // rebuild its scroll bars and header even when the count stays: it is
    // set only when it changes, and otherwise the rows are only drawn again,
    // from the top and unselected.
    const int count = rows_->Count();
    if (GetSelectedCount() > 0) SetItemState(-1, 0, LVIS_SELECTED);
    const int focused = GetNextItem(-1, LVNI_FOCUSED);
    if (focused >= 0) SetItemState(focused, 0, LVIS_FOCUSED);
    if (GetItemCount() != count) SetItemCountEx(count, 0);
    if (count > 0) ::SendMessageA(m_hWnd, LVM_ENSUREVISIBLE, 0, FALSE);
    Invalidate();
}

bool ReportList::SortByColumn(int column, ListSortState& state) {
    if (state.Direction(column) != 0 && state.Direction(column) != 1) return false;
    // The selection and the focus stay on the same rows, wherever they move.
    std::vector<int> selected;
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED))
        selected.push_back(rows_->RowAt(i));
    const int focused = rows_->RowAt(GetNextItem(-1, LVNI_FOCUSED));
    SortByClick(*rows_, column, state);
    if (!selected.empty()) {
        SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : selected) SetItemState(rows_->PositionOf(row), LVIS_SELECTED, LVIS_SELECTED);
    }
    if (focused >= 0) SetItemState(rows_->PositionOf(focused), LVIS_FOCUSED, LVIS_FOCUSED);
    Invalidate();
    return true;
}

void ReportList::FillParent(HWND dialog, int top, int bottom, int cx, int cy) {
    if (!m_hWnd || !::IsWindow(m_hWnd) || ::GetParent(m_hWnd) != dialog) return;
    MoveWindow(0, top, std::max(cx, 0), std::max(cy - top - bottom, 0), TRUE);
}

void ReportList::GiveText(NMHDR* header, bool wide) const {
    if (!rows_) return;
    if (wide) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
        const std::vector<wchar_t> converted = WideFromCp932(rows_->Text(item.iItem, item.iSubItem));
        const size_t length = std::min(wcslen(converted.data()), static_cast<size_t>(item.cchTextMax - 1));
        std::memcpy(item.pszText, converted.data(), length * sizeof(wchar_t));
        item.pszText[length] = L'\0';
    } else {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
        // A text longer than the control's buffer is cut between characters.
        const char* text = rows_->Text(item.iItem, item.iSubItem);
        const size_t length = WholeCp932Length(text, static_cast<size_t>(item.cchTextMax - 1));
        std::memcpy(item.pszText, text, length);
        item.pszText[length] = '\0';
    }
}

bool ReportList::OnReflectedNotify(NMHDR* header, LRESULT* result) {
    switch (header->code) {
    case LVN_GETDISPINFOA:
        GiveText(header, false);
        *result = 0;
        return true;
    case LVN_GETDISPINFOW:
        GiveText(header, true);
        *result = 0;
        return true;
    case LVN_DELETEALLITEMS:
        // No notice per deleted row: the rows live in the program.
        *result = TRUE;
        return true;
    case LVN_KEYDOWN: {
        const WORD key = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
        if (!IsCtrlDown() || (key != 'A' && key != 'C')) return false;
        if (key == 'A')
            SelectAll();
        else
            CopySelection();
        *result = 0;
        return true;
    }
    default:
        return false;
    }
}

void ReportList::SelectAll() {
    if (rows_ && rows_->Count() > 0) SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}

bool ReportList::CopySelection() {
    if (!rows_ || !columns_) return false;
    std::vector<int> selected;
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) selected.push_back(i);
    if (selected.empty()) return false;
    return PutTextOnClipboard(m_hWnd, RowsAsTabText(columns_, columnCount_, *rows_, selected));
}

std::string ReportList::AllRowsAsCsv() const {
    if (!rows_ || !columns_) return {};
    return RowsAsCsv(columns_, columnCount_, *rows_);
}

HWND CreateStatusBar(HWND dialog, int id) {
    HWND bar = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AfxGetInstanceHandle(), nullptr);
    if (bar) ::SendMessageA(bar, WM_SETFONT, ::SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    return bar;
}

int PlaceStatusBar(HWND dialog, HWND bar) {
    if (!bar || ::GetParent(bar) != dialog) return 0;
    // The bar places itself at the bottom edge at its own height.
    ::SendMessageA(bar, WM_SIZE, 0, 0);
    RECT r;
    ::GetWindowRect(bar, &r);
    return r.bottom - r.top;
}

bool IsCtrlDown() { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }

namespace {

HGLOBAL GlobalCopy(const void* bytes, size_t size) {
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return nullptr;
    void* p = ::GlobalLock(memory);
    if (!p) {
        ::GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(p, bytes, size);
    ::GlobalUnlock(memory);
    return memory;
}

std::string FolderOfProgram() {
    std::vector<char> path(65536);
    const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size()) return {};
    std::string folder(path.data(), n);
    const size_t cut = folder.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : folder.substr(0, cut);
}

std::string SystemReason(DWORD error) {
    char* text = nullptr;
    ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = text ? text : "";
    if (text) ::LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) reason.pop_back();
    if (reason.empty()) reason = "error " + std::to_string(error);
    return reason;
}

}  // namespace

bool PutTextOnClipboard(HWND owner, const std::string& text) {
    const std::vector<wchar_t> unicode = WideFromCp932(text.c_str());
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    bool ok = true;
    if (HGLOBAL narrow = GlobalCopy(text.c_str(), text.size() + 1)) {
        if (!::SetClipboardData(CF_TEXT, narrow)) ::GlobalFree(narrow), ok = false;
    } else {
        ok = false;
    }
    if (HGLOBAL u = GlobalCopy(unicode.data(), unicode.size() * sizeof(wchar_t))) {
        if (!::SetClipboardData(CF_UNICODETEXT, u)) ::GlobalFree(u), ok = false;
    } else {
        ok = false;
    }
    ::CloseClipboard();
    return ok;
}

bool AskSaveFileName(HWND owner, const char* title, const std::string& defaultName, std::string* path,
                     const char* type) {
    std::vector<char> file(32768, '\0');
    std::memcpy(file.data(), defaultName.c_str(), std::min(defaultName.size(), file.size() - 1));
    const std::string folder = FolderOfProgram();
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    std::string upper = type;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // "CSV (*.csv)", "*.csv", then the empty entry that ends the list.
    const std::string filter = upper + " (*." + type + ")" + '\0' + "*." + type + '\0' + '\0';
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title;
    ofn.lpstrDefExt = type;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!::GetSaveFileNameA(&ofn)) return false;
    *path = file.data();
    return true;
}

bool WriteFileWhole(const std::string& path, const std::string& bytes, std::string* reason) {
    const size_t cut = path.find_last_of("\\/");
    const std::string folder = cut == std::string::npos ? "." : path.substr(0, cut);
    char temp[MAX_PATH + 16] = {};
    if (!::GetTempFileNameA(folder.c_str(), "cc", 0, temp)) {
        *reason = SystemReason(::GetLastError());
        return false;
    }
    HANDLE file = ::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *reason = SystemReason(::GetLastError());
        ::DeleteFileA(temp);
        return false;
    }
    DWORD written = 0;
    const bool wrote = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size() && ::FlushFileBuffers(file);
    const DWORD writeError = ::GetLastError();
    ::CloseHandle(file);
    if (!wrote) {
        *reason = SystemReason(writeError);
        ::DeleteFileA(temp);
        return false;
    }
    if (!::MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *reason = SystemReason(::GetLastError());
        ::DeleteFileA(temp);
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
