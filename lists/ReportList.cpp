#include "lists/ReportList.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr DWORD kListLook = LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;

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
    for (int i = 0; i < count; ++i) {
        const int format = columns[i].Align == ColumnAlign::Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
        InsertColumn(i, columns[i].Title, format, widths ? widths[i] : ScaleToWindowDpi(m_hWnd, columns[i].Width), i);
    }
}

void ReportList::ClearRows() { rows_->Clear(); }

void ReportList::ShowRows() {
    // A search runs to its end without handling messages, so nothing is
    // drawn while the rows change. Setting the count anew (and toggling the
    // redraw) makes the control rebuild its scroll bars and header even when
    // the count stays: with the same count the rows are only drawn again,
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
        const char* text = rows_->Text(item.iItem, item.iSubItem);
        const int n = ::MultiByteToWideChar(932, 0, text, -1, nullptr, 0);
        std::vector<wchar_t> converted(static_cast<size_t>(n > 0 ? n : 1), L'\0');
        if (n > 0) ::MultiByteToWideChar(932, 0, text, -1, converted.data(), n);
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
    default:
        return false;
    }
}
