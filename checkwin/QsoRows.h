// The rows of the QSO list, kept by the program rather than by the list
// control: each row holds its own copies of the fifteen texts it shows (the
// record buffer is overwritten by the next read), and the order in which the
// rows are shown. The window asks for texts by shown position.
#pragma once
#include <cstdint>
#include <vector>

#include "checkwin/CheckRules.h"
#include "logstore/QsoRecord.h"

class QsoRows {
public:
    void Clear();
    int Count() const { return static_cast<int>(order_.size()); }

    // Inserts a row for the record at the shown position (clamped to
    // 0..Count(); the lookups always append). The first column shows the
    // record number as "%6d", the others the record's texts as stored.
    void Insert(int position, const QsoRecord& record, int recNo);

    // The text shown at a position and column; "" outside the rows.
    const char* Text(int position, int column) const;
    int RecordNumber(int position) const;
    // A row keeps its identity across sorting; positions change.
    int RowAt(int position) const;
    int PositionOf(int row) const;

    // Orders the rows by the texts of the column, byte by byte (see
    // CompareCellTexts); direction 0 ascending, 1 descending. Rows with equal
    // texts keep their order among themselves.
    void Sort(int column, int direction);

private:
    // All texts of all rows, each NUL-terminated, one after another;
    // kQsoColumnCount offsets into it per row.
    std::vector<char> texts_;
    std::vector<uint32_t> offsets_;
    std::vector<int32_t> recNos_;
    std::vector<int32_t> order_;   // shown position -> row
    mutable std::vector<int32_t> positions_;   // row -> shown position, rebuilt on demand
    mutable bool positionsValid_ = false;
};
