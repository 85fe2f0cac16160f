// The rows of the QSO list: each row holds its own copies of the fifteen
// texts it shows (the record buffer is overwritten by the next read) and its
// record number. Kept, ordered and sorted as every list of the program is.
#pragma once
#include <cstdint>
#include <vector>

#include "checkwin/CheckRules.h"
#include "lists/ListRows.h"
#include "logstore/QsoRecord.h"

class QsoRows : public ListRows {
public:
    QsoRows() : ListRows(kQsoColumnCount) {}

    void Clear();
    // Inserts a row for the record at the shown position (clamped to
    // 0..Count(); the lookups always append). The first column shows the
    // record number as "%6d", the others the record's texts as stored.
    void Insert(int position, const QsoRecord& record, int recNo);
    int RecordNumber(int position) const;

private:
    std::vector<int32_t> recNos_;   // by row
};
