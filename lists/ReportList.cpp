#include "lists/ReportList.h"

#include <algorithm>
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
