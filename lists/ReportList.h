// The report list of the program's windows: a list control whose rows the
// program keeps (ListRows) and hands over text by text as the control draws
// them, so that a list of a hundred thousand rows fills at once. Both the
// main window's QSO list and the award result list are one of these; what
// a list does with its rows (sorting on a header click with the selection
// kept, filling the window) is written here once.
#pragma once
#include <string>

#include "framework/Framework.h"
#include "lists/ListRows.h"

class ReportList : public CListCtrl {
public:
    // Replaces the control made from the dialog template (already bound with
    // DDX_Control) by an owner-data one and sets the list's look: grid
    // lines, draggable headers, whole-row selection. `rows` is where the
    // program keeps the rows; it must outlive the control.
    void Create(ListRows& rows);
    // Inserts the columns: widths[i] in pixels when given, else column i's
    // width (for 96 DPI) scaled to the list's DPI. The columns must outlive
    // the control: their titles head what is copied and saved.
    void InsertColumns(const ListColumn* columns, int count, const int* widths = nullptr);
    const ListColumn* Columns() const { return columns_; }
    int ColumnCount() const { return columnCount_; }

    ListRows& Rows() { return *rows_; }
    const ListRows& Rows() const { return *rows_; }

    // A fill: the rows are dropped, the caller adds the new ones, and
    // ShowRows lets the control show them, with no row selected and the
    // first row at the top. Nothing is drawn in between.
    void ClearRows();
    void ShowRows();

    // A header click: the rows sorted as the state says, the selection and
    // the focus kept on the same rows. false when the column does not sort.
    bool SortByColumn(int column, ListSortState& state);

    // The list takes its dialog's client area from `top` down to `bottom`
    // pixels above its lower edge (cx, cy: the client size of WM_SIZE).
    // Nothing happens while the list is not (yet) a child of `dialog`.
    void FillParent(HWND dialog, int top, int bottom, int cx, int cy);

    // Ctrl+A: every row selected.
    void SelectAll();
    // Ctrl+C: the selected rows, in the order shown, under a line of the
    // column titles, tab-separated, on the clipboard as code page 932 text
    // and as Unicode text. Nothing is put there when no row is selected;
    // false then, or when the clipboard cannot be had.
    bool CopySelection();
    // Every row as shown, as comma-separated values under the titles.
    std::string AllRowsAsCsv() const;

    // Text requests, the deletion notice, and Ctrl+A / Ctrl+C while the list
    // has the focus are answered here.
    bool OnReflectedNotify(NMHDR* header, LRESULT* result) override;

private:
    void GiveText(NMHDR* header, bool wide) const;

    ListRows* rows_ = nullptr;
    const ListColumn* columns_ = nullptr;
    int columnCount_ = 0;
};

// Whether the Ctrl key is down with the key message being handled.
bool IsCtrlDown();

// Puts code page 932 text on the clipboard as CF_TEXT and CF_UNICODETEXT.
bool PutTextOnClipboard(HWND owner, const std::string& text);
