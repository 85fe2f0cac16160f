// The report lists of the program's windows, without the window: what a
// column is, the byte order of cell texts, the per-column sort state, and
// the rows a list shows. The program keeps every row's texts itself and the
// order they are shown in; a list control only asks for the texts it draws.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

enum class ColumnAlign { Left, Right };

struct ListColumn {
    const char* Title;    // code page 932
    int Width;            // pixels at 96 DPI, when nothing else is stored
    ColumnAlign Align;
    int InitialSort;      // -1 a click does nothing, 0 the first click sorts ascending, 1 descending
    // An area code, shown as the master stores it (padded with blanks to
    // six characters) and written to files without that padding.
    bool AreaCode = false;
};

// Byte-by-byte text order, bytes as unsigned values, a text before every
// longer text it begins: <0, 0 or >0. A null text reads as "".
int CompareCellText(const char* a, const char* b);

// The length of the longest start of a code page 932 text that has at most
// maxBytes bytes and does not end inside a double-byte character (lead
// bytes 0x81-0x9F and 0xE0-0xFC; a lead byte just before the NUL counts as
// one character).
size_t WholeCp932Length(const char* text, size_t maxBytes);

constexpr int kMaxListColumns = 16;

// What the next click on each column header does: -1 nothing, 0 sort
// ascending, 1 sort descending. A click flips 0 and 1.
class ListSortState {
public:
    ListSortState() = default;   // no column sortable
    ListSortState(std::initializer_list<int32_t> directions);
    ListSortState(const ListColumn* columns, int count);

    int ColumnCount() const { return count_; }
    int Direction(int column) const;   // -1 also outside the columns
    // A header click: the direction to sort in now, the column's state
    // flipped; -1, nothing changed, for a column that does not sort.
    int Click(int column);

private:
    int32_t count_ = 0;
    int32_t direction_[kMaxListColumns] = {};
};

class ListRows {
public:
    explicit ListRows(int columnCount = 0);

    // Drops every row; the rows that follow have columnCount cells.
    void Reset(int columnCount);
    void Clear() { Reset(columnCount_); }
    int ColumnCount() const { return columnCount_; }
    int Count() const { return static_cast<int>(order_.size()); }

    // A new row, shown at `position` (clamped to 0..Count(); the default
    // appends). Its cells follow with AddCell in column order; the cells not
    // given stay empty. The row's number (its identity) is the count of rows
    // added before it.
    int AddRow(int position = -1);
    // The next cell of the row added last: the text up to its NUL, at most
    // maxLength bytes of it. Cells past the column count are dropped.
    void AddCell(const char* text, size_t maxLength = static_cast<size_t>(-1));

    // The text shown at a position and column; "" outside the rows.
    const char* Text(int position, int column) const;
    // The same by row number, wherever the row is shown.
    const char* RowText(int row, int column) const;
    // Rows keep their number across sorting; positions change.
    int RowAt(int position) const;     // -1 outside
    int PositionOf(int row) const;     // -1 outside

    // Orders the rows by the column's texts (CompareCellText), direction 0
    // ascending, 1 descending; rows with equal texts keep their order among
    // themselves. A column outside the list changes nothing.
    void Sort(int column, int direction);

private:
    void CompleteLastRow();

    int columnCount_ = 0;
    // Every text, each NUL-terminated, one after another; offset 0 is the
    // empty text that every missing cell points at.
    std::vector<char> texts_;
    std::vector<uint32_t> offsets_;   // columnCount_ per row, in row order
    std::vector<int32_t> order_;      // shown position -> row
    mutable std::vector<int32_t> positions_;   // row -> shown position, rebuilt on demand
    mutable bool positionsValid_ = false;
};

// A header click on a list: sorts by the column as the state says and flips
// the state. false, nothing changed, when the column does not sort.
bool SortByClick(ListRows& rows, int column, ListSortState& state);

// ---- Rows as text, for the clipboard and for files -----------------------

// The rows at the given shown positions, in that order, under a line of the
// column titles: cells in column order separated by a tab, every line ended
// by CR LF. Code page 932 bytes as the rows hold them, but a tab, CR or LF
// inside a cell (a name or remark typed so) as a blank, so that every row
// stays one line of the same cells.
std::string RowsAsTabText(const ListColumn* columns, int columnCount, const ListRows& rows,
                          const std::vector<int>& positions);
// Every row as shown, under the titles, as comma-separated values: a field
// holding a comma, a double quote, CR or LF is quoted with its quotes
// doubled; lines end in CR LF. Area codes without their trailing blanks.
std::string RowsAsCsv(const ListColumn* columns, int columnCount, const ListRows& rows);
// One field of such a file.
std::string CsvField(const std::string& text);
// An area code without the blanks that pad it in the master ("0101  " gives "0101").
std::string WithoutPadding(const char* code);
