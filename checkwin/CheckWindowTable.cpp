#include "checkwin/CheckWindowTable.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "checkwin/CallCollector.h"
#include "logstore/QsoRecord.h"

const char kCheckNothingFound[] = "該当なし";
const char kCheckLogUnreadable[] = "ログを読めません";

const ListColumn CheckColumns[kCheckColumnTotal] = {
    {"Call", 96, ColumnAlign::Left, -1},
    {"QSO", 48, ColumnAlign::Right, -1},
    {"Last", 72, ColumnAlign::Left, -1},
    {"QSL", 40, ColumnAlign::Left, -1},
    {"種別", 64, ColumnAlign::Left, -1},
};

namespace {

bool Contains(const char* call, size_t callLength, const char* text, size_t textLength, bool* atStart) {
    if (textLength > callLength) return false;
    const char first = text[0];
    for (size_t i = 0; i + textLength <= callLength; ++i) {
        if (call[i] != first || std::memcmp(call + i, text, textLength) != 0) continue;
        *atStart = i == 0;
        return true;
    }
    return false;
}

}  // namespace

// ---- The table ---------------------------------------------------------------

uint32_t QsoDateNumber(const char* date) {
    // The digits at 0-1, 3-4 and 6-7, read in place: this runs once for
    // every record of the log.
    uint32_t value = 0;
    for (int i = 0; i < 8; ++i) {
        const char c = date[i];
        if (c == '\0') return 0;
        if (i == 2 || i == 5) continue;
        if (c < '0' || c > '9') return 0;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value + (value <= 510000 ? 20000000u : 19000000u);
}

void CallTable::Clear() {
    std::vector<Entry>().swap(entries_);
    std::vector<char>().swap(texts_);
}

bool CallTable::Build(QsoSource& source) {
    Clear();
    const int count = source.Open();
    if (count < 0) {
        source.Close();
        return false;
    }
    CallCollector collector(static_cast<size_t>(count));
    for (int recNo = 1; recNo <= count; ++recNo) {
        const QsoRecord* record = source.Read(recNo);
        if (!record) continue;
        collector.Add(record->Call, sizeof record->Call, record->Date, HasQslReceivedMark(record->QSL));
    }
    source.Close();

    // The table in call order, the calls' bytes in that order too.
    entries_.resize(collector.Distinct());
    texts_.resize(collector.TextBytes());
    Entry* entry = entries_.data();
    collector.EachInOrder(texts_.data(), [&](const CallCollector::Call& call) {
        entry->TextOffset = static_cast<uint32_t>(call.Text - texts_.data());
        entry->Length = static_cast<uint8_t>(call.Length);
        entry->Count = call.Count;
        entry->LastDate = call.LastDate;
        entry->Confirmed = call.Confirmed;
        ++entry;
    });
    return true;
}

std::string CallTable::Call(size_t i) const {
    const Entry& e = entries_[i];
    return std::string(CallOf(e), e.Length);
}

size_t CallTable::MemoryBytes() const {
    return sizeof *this + entries_.capacity() * sizeof(Entry) + texts_.capacity();
}

// ---- The query -------------------------------------------------------------

bool IsOneOff(const char* call, size_t callLength, const char* text, size_t textLength) {
    if (callLength == textLength) {
        int differences = 0;
        for (size_t i = 0; i < callLength && differences < 2; ++i) differences += call[i] != text[i];
        return differences == 1;
    }
    // One byte more in the longer one: the two agree but for that byte.
    const char* longer = callLength > textLength ? call : text;
    const char* shorter = callLength > textLength ? text : call;
    const size_t shortLength = std::min(callLength, textLength);
    if (std::max(callLength, textLength) != shortLength + 1) return false;
    size_t i = 0;
    while (i < shortLength && longer[i] == shorter[i]) ++i;
    return std::memcmp(longer + i + 1, shorter + i, shortLength - i) == 0;
}

CheckMatches FindCheckMatches(const CallTable& table, const std::string& text, size_t limit) {
    CheckMatches result;
    const size_t length = text.size();
    if (length < kCheckMinText) return result;
    const bool oneOff = length >= kCheckMinOneOffText;
    // One pass in call order: each group keeps its first `limit` calls, in
    // that order, and counts the rest.
    std::vector<CheckMatch> groups[3];
    size_t totals[3] = {};
    for (uint32_t i = 0; i < table.Count(); ++i) {
        const CallTable::Entry& e = table.At(i);
        const char* call = table.CallOf(e);
        bool atStart = false;
        CheckMatchKind kind;
        if (Contains(call, e.Length, text.data(), length, &atStart))
            kind = atStart ? CheckMatchKind::BeginsWith : CheckMatchKind::Contains;
        else if (oneOff && e.Length + 1u >= length && e.Length <= length + 1 && IsOneOff(call, e.Length, text.data(), length))
            kind = CheckMatchKind::OneOff;
        else
            continue;
        const int g = static_cast<int>(kind);
        ++totals[g];
        if (groups[g].size() < limit) groups[g].push_back({i, kind});
    }
    for (const auto& group : groups) {
        for (const CheckMatch& m : group) {
            if (result.Shown.size() == limit) break;
            result.Shown.push_back(m);
        }
    }
    result.Total = totals[0] + totals[1] + totals[2];
    result.ContainsTotal = totals[0] + totals[1];
    result.OneOffTotal = totals[2];
    if (!result.Shown.empty() && result.Shown[0].Kind == CheckMatchKind::BeginsWith)
        result.Exact = table.At(result.Shown[0].Entry).Length == length;
    return result;
}

// ---- The rows --------------------------------------------------------------

void FillCheckRows(const CallTable& table, const CheckMatches& matches, ListRows& rows,
                   std::vector<CheckRowLook>& looks) {
    rows.Reset(kCheckColumnTotal);
    looks.clear();
    char number[24], date[16];
    for (size_t i = 0; i < matches.Shown.size(); ++i) {
        const CheckMatch& m = matches.Shown[i];
        const CallTable::Entry& e = table.At(m.Entry);
        rows.AddRow();
        rows.AddCell(table.CallOf(e), e.Length);
        std::snprintf(number, sizeof number, "%u", static_cast<unsigned>(e.Count));
        rows.AddCell(number);
        if (e.LastDate) {
            std::snprintf(date, sizeof date, "%02u/%02u/%02u", static_cast<unsigned>(e.LastDate / 10000 % 100),
                          static_cast<unsigned>(e.LastDate / 100 % 100), static_cast<unsigned>(e.LastDate % 100));
            rows.AddCell(date);
        } else {
            rows.AddCell("");
        }
        rows.AddCell(e.Confirmed ? "Cfm" : "Wkd");
        rows.AddCell(m.Kind == CheckMatchKind::OneOff ? "1字違い" : "含む");
        looks.push_back(i == 0 && matches.Exact ? CheckRowLook::Exact
                        : m.Kind == CheckMatchKind::OneOff ? CheckRowLook::OneOff
                                                           : CheckRowLook::Contains);
    }
    if (matches.Total > matches.Shown.size()) {
        std::snprintf(number, sizeof number, "ほか %u 件", static_cast<unsigned>(matches.Total - matches.Shown.size()));
        rows.AddRow();
        rows.AddCell(number);
        looks.push_back(CheckRowLook::More);
    }
}

std::string CheckStatusText(const std::string& text, const CheckMatches& matches) {
    if (text.size() < kCheckMinText) return "";
    if (matches.Total == 0) return kCheckNothingFound;
    char status[64];
    if (text.size() < kCheckMinOneOffText)
        std::snprintf(status, sizeof status, "含む %u 件", static_cast<unsigned>(matches.ContainsTotal));
    else
        std::snprintf(status, sizeof status, "含む %u 件  1字違い %u 件", static_cast<unsigned>(matches.ContainsTotal),
                      static_cast<unsigned>(matches.OneOffTotal));
    return status;
}
