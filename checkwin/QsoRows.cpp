#include "checkwin/QsoRows.h"

#include <cstring>

namespace {

// A fixed-width field of the record: its text up to the NUL, never past the
// field even when the library left no NUL in it.
template <size_t N>
void AddField(ListRows& rows, const char (&field)[N]) {
    rows.AddCell(field, N);
}

}  // namespace

void QsoRows::Clear() {
    ListRows::Clear();
    recNos_.clear();
}

void QsoRows::Insert(int position, const QsoRecord& record, int recNo) {
    AddRow(position);
    recNos_.push_back(recNo);
    AddCell(RecordNumberText(recNo).c_str());
    AddField(*this, record.Call);
    AddField(*this, record.Date);
    AddField(*this, record.Time);
    AddField(*this, record.His);
    AddCell(RecordText(record.My));
    AddCell(RecordText(record.Freq));
    AddCell(RecordText(record.Mode));
    AddField(*this, record.Code);
    AddField(*this, record.GL);
    AddField(*this, record.QSL);
    AddCell(RecordText(record.Name));
    AddCell(RecordText(record.QTH));
    AddCell(RecordText(record.Remarks1));
    AddCell(RecordText(record.Remarks2));
}

int QsoRows::RecordNumber(int position) const {
    const int row = RowAt(position);
    return row < 0 ? 0 : recNos_[static_cast<size_t>(row)];
}
