#include "checkwin/QsoRows.h"

#include <algorithm>
#include <cstring>

namespace {

// A fixed-width field of the record: its text up to the NUL, never past the
// field even when the library left no NUL in it.
void AppendField(std::vector<char>& texts, const char* field, size_t width) {
    const void* nul = std::memchr(field, '\0', width);
    size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : width;
    texts.insert(texts.end(), field, field + length);
    texts.push_back('\0');
}

void AppendText(std::vector<char>& texts, const char* text) {
    const char* t = RecordText(text);
    texts.insert(texts.end(), t, t + std::strlen(t));
    texts.push_back('\0');
}

}  // namespace

void QsoRows::Clear() {
    texts_.clear();
    offsets_.clear();
    recNos_.clear();
    order_.clear();
    positions_.clear();
    positionsValid_ = false;
}

void QsoRows::Insert(int position, const QsoRecord& record, int recNo) {
    int row = static_cast<int>(recNos_.size());
    recNos_.push_back(recNo);
    auto start = [&] { offsets_.push_back(static_cast<uint32_t>(texts_.size())); };
    start();
    AppendText(texts_, RecordNumberText(recNo).c_str());
    start(); AppendField(texts_, record.Call, sizeof record.Call);
    start(); AppendField(texts_, record.Date, sizeof record.Date);
    start(); AppendField(texts_, record.Time, sizeof record.Time);
    start(); AppendField(texts_, record.His, sizeof record.His);
    start(); AppendText(texts_, record.My);
    start(); AppendText(texts_, record.Freq);
    start(); AppendText(texts_, record.Mode);
    start(); AppendField(texts_, record.Code, sizeof record.Code);
    start(); AppendField(texts_, record.GL, sizeof record.GL);
    start(); AppendField(texts_, record.QSL, sizeof record.QSL);
    start(); AppendText(texts_, record.Name);
    start(); AppendText(texts_, record.QTH);
    start(); AppendText(texts_, record.Remarks1);
    start(); AppendText(texts_, record.Remarks2);
    position = std::max(0, std::min(position, Count()));
    if (position == Count()) {
        order_.push_back(row);
        if (positionsValid_) positions_.push_back(position);
    } else {
        order_.insert(order_.begin() + position, row);
        positionsValid_ = false;
    }
}

const char* QsoRows::Text(int position, int column) const {
    if (position < 0 || position >= Count() || column < 0 || column >= kQsoColumnCount) return "";
    size_t row = static_cast<size_t>(order_[static_cast<size_t>(position)]);
    return texts_.data() + offsets_[row * kQsoColumnCount + static_cast<size_t>(column)];
}

int QsoRows::RecordNumber(int position) const {
    if (position < 0 || position >= Count()) return 0;
    return recNos_[static_cast<size_t>(order_[static_cast<size_t>(position)])];
}

int QsoRows::RowAt(int position) const {
    if (position < 0 || position >= Count()) return -1;
    return order_[static_cast<size_t>(position)];
}

int QsoRows::PositionOf(int row) const {
    if (row < 0 || row >= Count()) return -1;
    if (!positionsValid_) {
        positions_.assign(order_.size(), 0);
        for (size_t i = 0; i < order_.size(); ++i) positions_[static_cast<size_t>(order_[i])] = static_cast<int32_t>(i);
        positionsValid_ = true;
    }
    return positions_[static_cast<size_t>(row)];
}

void QsoRows::Sort(int column, int direction) {
    if (column < 0 || column >= kQsoColumnCount) return;
    const char* base = texts_.data();
    const uint32_t* offsets = offsets_.data();
    auto text = [=](int32_t row) { return base + offsets[static_cast<size_t>(row) * kQsoColumnCount + static_cast<size_t>(column)]; };
    std::stable_sort(order_.begin(), order_.end(),
                     [&](int32_t a, int32_t b) { return CompareCellTexts(text(a), text(b), direction) < 0; });
    positionsValid_ = false;
}
