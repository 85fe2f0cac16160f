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

// A standard status bar with one part and a size grip along the dialog's
// bottom edge, in the dialog's font (so it sizes itself at any DPI).
HWND CreateStatusBar(HWND dialog, int id);
// The height the bar takes after it has placed itself for the dialog's
// client size; 0 without a bar of this dialog.
int PlaceStatusBar(HWND dialog, HWND bar);

// Whether the Ctrl key is down with the key message being handled.
bool IsCtrlDown();

// Puts code page 932 text on the clipboard as CF_TEXT and CF_UNICODETEXT.
bool PutTextOnClipboard(HWND owner, const std::string& text);

// The standard save dialog: `title` as its caption, `defaultName` in the
// program's folder to start with, files of the extension `type` ("csv",
// "png"). false when cancelled.
bool AskSaveFileName(HWND owner, const char* title, const std::string& defaultName, std::string* path,
                     const char* type = "csv");

// Writes the bytes to a temporary file beside `path` and puts it in place
// of `path` only once it is complete, so that a failure leaves any earlier
// file as it was. false with the system's reason in *reason on failure.
bool WriteFileWhole(const std::string& path, const std::string& bytes, std::string* reason);

// Today's date as YYYYMMDD, for default file names.
std::string TodayYmd();
