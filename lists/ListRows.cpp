#include "lists/ListRows.h"

#include <algorithm>
#include <cstring>

int CompareCellText(const char* a, const char* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b ? b : "");
    while (*p != 0 && *p == *q) {
        ++p;
        ++q;
    }
    // A shorter text ends in 0, the smallest byte.
    return static_cast<int>(*p) - static_cast<int>(*q);
}

size_t WholeCp932Length(const char* text, size_t maxBytes) {
    if (!text) return 0;
    size_t end = 0;
    for (size_t i = 0; text[i] != '\0';) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const bool lead = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && text[i + 1] != '\0';
        const size_t width = lead ? 2 : 1;
        if (i + width > maxBytes) break;
        i += width;
        end = i;
    }
    return end;
}

ListSortState::ListSortState(std::initializer_list<int32_t> directions) {
    for (int32_t d : directions)
        if (count_ < kMaxListColumns) direction_[count_++] = d;
}

ListSortState::ListSortState(const ListColumn* columns, int count) {
    for (int i = 0; i < count && count_ < kMaxListColumns; ++i) direction_[count_++] = columns[i].InitialSort;
}

int ListSortState::Direction(int column) const {
    return column >= 0 && column < count_ ? direction_[column] : -1;
}

int ListSortState::Click(int column) {
    const int d = Direction(column);
    if (d != 0 && d != 1) return -1;
    direction_[column] = d == 0 ? 1 : 0;
    return d;
}

ListRows::ListRows(int columnCount) { Reset(columnCount); }

void ListRows::Reset(int columnCount) {
    columnCount_ = std::max(0, columnCount);
    texts_.assign(1, '\0');
    offsets_.clear();
    order_.clear();
    positions_.clear();
    positionsValid_ = false;
}

void ListRows::CompleteLastRow() {
    offsets_.resize(order_.size() * static_cast<size_t>(columnCount_), 0);
}

int ListRows::AddRow(int position) {
    CompleteLastRow();
    const int row = Count();
    position = position < 0 ? row : std::min(position, row);
    if (position == row) {
        order_.push_back(row);
        if (positionsValid_) positions_.push_back(row);
    } else {
        order_.insert(order_.begin() + position, row);
        positionsValid_ = false;
    }
    // No reserve for the row's cells here: reserving the exact size at every
    // row defeats the vector's doubling and copies the whole table per row
    // (minutes for a few hundred thousand rows).
    return row;
}

void ListRows::AddCell(const char* text, size_t maxLength) {
    if (order_.empty() || offsets_.size() >= order_.size() * static_cast<size_t>(columnCount_)) return;
    const char* t = text ? text : "";
    size_t length = 0;
    while (length < maxLength && t[length] != '\0') ++length;
    if (length == 0) {
        offsets_.push_back(0);
        return;
    }
    offsets_.push_back(static_cast<uint32_t>(texts_.size()));
    texts_.insert(texts_.end(), t, t + length);
    texts_.push_back('\0');
}

const char* ListRows::RowText(int row, int column) const {
    if (row < 0 || row >= Count() || column < 0 || column >= columnCount_) return "";
    const size_t cell = static_cast<size_t>(row) * static_cast<size_t>(columnCount_) + static_cast<size_t>(column);
    return cell < offsets_.size() ? texts_.data() + offsets_[cell] : "";
}

const char* ListRows::Text(int position, int column) const { return RowText(RowAt(position), column); }

int ListRows::RowAt(int position) const {
    if (position < 0 || position >= Count()) return -1;
    return order_[static_cast<size_t>(position)];
}

int ListRows::PositionOf(int row) const {
    if (row < 0 || row >= Count()) return -1;
    if (!positionsValid_) {
        positions_.assign(order_.size(), 0);
        for (size_t i = 0; i < order_.size(); ++i) positions_[static_cast<size_t>(order_[i])] = static_cast<int32_t>(i);
        positionsValid_ = true;
    }
    return positions_[static_cast<size_t>(row)];
}

void ListRows::Sort(int column, int direction) {
    if (column < 0 || column >= columnCount_) return;
    CompleteLastRow();
    const bool descending = direction == 1;
    std::stable_sort(order_.begin(), order_.end(), [&](int32_t a, int32_t b) {
        const int c = CompareCellText(RowText(a, column), RowText(b, column));
        return descending ? c > 0 : c < 0;
    });
    positionsValid_ = false;
}

bool SortByClick(ListRows& rows, int column, ListSortState& state) {
    const int direction = state.Click(column);
    if (direction < 0) return false;
    rows.Sort(column, direction);
    return true;
}

namespace {

// field(text, column) gives a cell's text in the file; column -1 is a title.
template <class Field>
std::string RowsAsLines(const ListColumn* columns, int columnCount, const ListRows& rows,
                        const std::vector<int>& positions, char separator, Field field) {
    std::string out;
    for (int c = 0; c < columnCount; ++c) {
        if (c > 0) out += separator;
        out += field(columns[c].Title, -1);
    }
    out += "\r\n";
    for (int position : positions) {
        for (int c = 0; c < columnCount; ++c) {
            if (c > 0) out += separator;
            out += field(rows.Text(position, c), c);
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string WithoutPadding(const char* code) {
    std::string text = code ? code : "";
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string RowsAsTabText(const ListColumn* columns, int columnCount, const ListRows& rows,
                          const std::vector<int>& positions) {
    return RowsAsLines(columns, columnCount, rows, positions, '\t', [](const char* t, int) {
        // Tab, CR and LF are single bytes that no double-byte character of
        // code page 932 holds (its second bytes start at 0x40).
        std::string cell(t);
        for (char& c : cell)
            if (c == '\t' || c == '\r' || c == '\n') c = ' ';
        return cell;
    });
}

std::string RowsAsCsv(const ListColumn* columns, int columnCount, const ListRows& rows) {
    std::vector<int> all(static_cast<size_t>(rows.Count()));
    for (int i = 0; i < rows.Count(); ++i) all[static_cast<size_t>(i)] = i;
    return RowsAsLines(columns, columnCount, rows, all, ',', [columns](const char* t, int c) {
        return CsvField(c >= 0 && columns[c].AreaCode ? WithoutPadding(t) : std::string(t));
    });
}
