#include "checkwin/CheckWindowTable.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

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

// Byte order of two calls, a call before every longer call it begins.
// Calls are short: a plain loop beats a call of the library's memcmp.
bool CallBefore(const char* a, size_t aLength, const char* b, size_t bLength) {
    const size_t n = std::min(aLength, bLength);
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    return aLength < bLength;
}

bool SameBytes(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

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
    char digits[7];
    TakeDateDigits(date, digits);
    if (std::strlen(digits) != 6) return 0;
    uint32_t value = 0;
    for (int i = 0; i < 6; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return 0;
        value = value * 10 + static_cast<uint32_t>(digits[i] - '0');
    }
    return value + (value <= 510000 ? 20000000u : 19000000u);
}

void CallTable::Clear() {
    std::vector<Entry>().swap(entries_);
    std::vector<char>().swap(texts_);
}

namespace {

// The distinct calls while the log is read, in an open-addressing hash
// table (at most half full) whose slot holds everything a record updates,
// and a call of up to 14 bytes itself: a record costs one look at memory
// that is not in the cache, which is what a read of a big log is made of.
// Longer calls are kept in a block of their own. Dropped once the table is
// made.
class CallCollector {
public:
    static constexpr size_t kInline = 14;
    struct Slot {
        uint32_t Hash = 0;
        uint32_t Count = 0;
        uint32_t LastDate = 0;
        uint32_t LongOffset = 0;   // where a call longer than kInline is kept
        uint8_t Length = 0;        // 0: a free slot (every call has a byte)
        bool Confirmed = false;
        char Inline[kInline] = {};
    };

    explicit CallCollector(size_t records) {
        // About one distinct call in five QSOs: room for that without growing.
        size_t slots = 1024;
        while (slots < (records / 4 + 16) * 2) slots *= 2;
        slots_.resize(slots);
    }

    Slot& Find(const char* call, size_t length) {
        uint32_t hash = 2166136261u;
        for (size_t i = 0; i < length; ++i) hash = (hash ^ static_cast<unsigned char>(call[i])) * 16777619u;
        // Calls differ mostly in their last bytes, which reach only the
        // hash's upper bits: mixed down, or the slots they take cluster.
        hash ^= hash >> 16;
        hash *= 0x85EBCA6Bu;
        hash ^= hash >> 13;
        hash *= 0xC2B2AE35u;
        hash ^= hash >> 16;
        if ((used_ + 1) * 2 > slots_.size()) Grow();
        const size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = slots_[i];
            if (slot.Length == 0) {
                slot.Hash = hash;
                slot.Length = static_cast<uint8_t>(length);
                if (length <= kInline) {
                    std::memcpy(slot.Inline, call, length);
                } else {
                    slot.LongOffset = static_cast<uint32_t>(long_.size());
                    long_.insert(long_.end(), call, call + length);
                }
                ++used_;
                return slot;
            }
            if (slot.Hash == hash && slot.Length == length && SameBytes(Text(slot), call, length)) return slot;
        }
    }

    const char* Text(const Slot& slot) const {
        return slot.Length <= kInline ? slot.Inline : long_.data() + slot.LongOffset;
    }
    const std::vector<Slot>& Slots() const { return slots_; }
    size_t Used() const { return used_; }

private:
    void Grow() {
        std::vector<Slot> slots(slots_.size() * 2);
        const size_t mask = slots.size() - 1;
        for (const Slot& old : slots_) {
            if (old.Length == 0) continue;
            size_t i = old.Hash & mask;
            while (slots[i].Length != 0) i = (i + 1) & mask;
            slots[i] = old;
        }
        slots_.swap(slots);
    }

    std::vector<Slot> slots_;
    std::vector<char> long_;
    size_t used_ = 0;
};

}  // namespace

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
        const size_t length = strnlen(record->Call, sizeof record->Call);
        if (length == 0) continue;
        CallCollector::Slot& s = collector.Find(record->Call, length);
        ++s.Count;
        s.LastDate = std::max(s.LastDate, QsoDateNumber(record->Date));
        if (HasQslReceivedMark(record->QSL)) s.Confirmed = true;
    }
    source.Close();

    // The table in call order, the calls' bytes in that order too.
    std::vector<const CallCollector::Slot*> order;
    order.reserve(collector.Used());
    size_t textBytes = 0;
    for (const CallCollector::Slot& slot : collector.Slots()) {
        if (slot.Length == 0) continue;
        order.push_back(&slot);
        textBytes += slot.Length;
    }
    std::sort(order.begin(), order.end(), [&](const CallCollector::Slot* a, const CallCollector::Slot* b) {
        return CallBefore(collector.Text(*a), a->Length, collector.Text(*b), b->Length);
    });
    entries_.reserve(order.size());
    texts_.reserve(textBytes);
    for (const CallCollector::Slot* s : order) {
        Entry e;
        e.TextOffset = static_cast<uint32_t>(texts_.size());
        e.Length = s->Length;
        e.Count = s->Count;
        e.LastDate = s->LastDate;
        e.Confirmed = s->Confirmed;
        texts_.insert(texts_.end(), collector.Text(*s), collector.Text(*s) + s->Length);
        entries_.push_back(e);
    }
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
