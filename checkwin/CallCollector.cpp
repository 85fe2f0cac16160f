#include "checkwin/CallCollector.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "checkwin/CheckWindowTable.h"

namespace {

constexpr size_t kPackedLength = 10;   // 10 codes of 6 bits
constexpr char kSymbols[] = "?/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";   // code 0 is no byte

// Each byte's code, in the bytes' order ("/" < digits < letters); 0 for a
// byte that does not pack.
constexpr std::array<uint8_t, 256> MakeCodes() {
    std::array<uint8_t, 256> codes{};
    for (uint8_t code = 1; code < sizeof kSymbols - 1; ++code) codes[static_cast<unsigned char>(kSymbols[code])] = code;
    return codes;
}
constexpr std::array<uint8_t, 256> kCodes = MakeCodes();

// Asks for the cache line of `p`, without waiting for it. The 32-bit build
// targets the i686, which has no prefetch instruction, so the compiler's
// builtin gives nothing there: the SSE instruction is written out, as every
// processor that runs the Windows versions the program supports has SSE.
inline void Prefetch(const void* p) {
#if defined(__GNUC__) && defined(__i386__)
    __asm__ __volatile__("prefetcht0 %0" : : "m"(*static_cast<const char*>(p)));
#elif defined(__GNUC__)
    __builtin_prefetch(p, 1);
#else
    (void)p;
#endif
}

}  // namespace

uint64_t CallCollector::Pack(const char* field, size_t fieldSize, size_t* length) {
    // The length is found while packing: this runs once for every record.
    const size_t most = std::min(fieldSize, kPackedLength);
    uint64_t key = 0;
    size_t i = 0;
    for (; i < most && field[i] != '\0'; ++i) {
        const unsigned code = kCodes[static_cast<unsigned char>(field[i])];
        if (code == 0) break;
        key = key << 6 | code;
    }
    *length = i;
    if (i < most && field[i] != '\0') return 0;              // a byte that does not pack
    if (i == kPackedLength && i < fieldSize && field[i] != '\0') return 0;   // longer than ten
    return i == 0 ? 0 : key << 6 * (kPackedLength - i);   // a shorter call ends in zero codes and sorts first
}

size_t CallCollector::KeyLength(uint64_t key) {
    size_t length = kPackedLength;
    while (length > 0 && (key & 63) == 0) key >>= 6, --length;
    return length;
}

size_t CallCollector::Unpack(uint64_t key, char text[10]) {
    // Five characters from each half of the key, in 32-bit numbers, which
    // the 32-bit program shifts in one instruction.
    const uint32_t halves[2] = {static_cast<uint32_t>(key >> 30), static_cast<uint32_t>(key) & 0x3FFFFFFFu};
    size_t length = 0;
    for (uint32_t half : halves) {
        for (int shift = 24; shift >= 0; shift -= 6) {
            const unsigned code = (half >> shift) & 63;
            if (code == 0) return length;
            text[length++] = kSymbols[code];
        }
    }
    return length;
}

CallCollector::CallCollector(size_t records) : batches_(new Batch[kBatches]) {
    // Room for about one distinct call in five QSOs with a quarter of the
    // slots free; a log of more calls makes the table grow.
    const size_t slots = std::max<size_t>(1024, (records / 5 + 16) * 4 / 3);
    if (records >= kHelperRecords && std::thread::hardware_concurrency() >= 2) {
        try {
            // The second thread makes the table too, while the first
            // records are read into the batches.
            helper_ = std::thread([this, slots] {
                try {
                    Allocate(slots);
                } catch (...) {
                    failure_ = std::current_exception();
                }
                HelperLoop();
            });
            return;
        } catch (const std::exception&) {
            // No thread to be had: the reader counts.
        }
    }
    Allocate(slots);
    keys_.resize(kBatchSize);
}

void CallCollector::Allocate(size_t slots) {
    slots_.resize(slots);
    digitCounts_.resize(kDigits * kDigitValues);
}

CallCollector::~CallCollector() {
    if (!helper_.joinable()) return;
    lastHanded_.store(true, std::memory_order_release);
    helper_.join();
}

size_t CallCollector::Home(uint64_t key, size_t slots) {
    // Calls differ mostly in their last characters, the key's low bits: the
    // multiplication carries them into the top bits, which are then scaled
    // to the table (no power of two needed).
    const uint64_t hash = key * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(((hash >> 32) * slots) >> 32);
}

void CallCollector::Merge(uint32_t& last, uint32_t add) {
    const uint32_t date = std::max(last & ~kConfirmed, add & ~kConfirmed);
    last = date | ((last | add) & kConfirmed);
}

void CallCollector::AddOther(std::map<std::string, Other>& others, const char* call, size_t length, uint32_t last) {
    Other& other = others[std::string(call, length)];
    ++other.Count;
    Merge(other.Last, last);
}

uint32_t CallCollector::LastOf(const char* date, bool confirmed) {
    return (QsoDateNumber(date) & ~kConfirmed) | (confirmed ? kConfirmed : 0);
}

void CallCollector::Add(const char* field, size_t fieldSize, const char* date, bool confirmed) {
    if (fieldSize == 0 || field[0] == '\0') return;
    if (fieldSize > kPackedLength && field[kPackedLength] != '\0') {
        // A byte after the tenth: the call is longer, or ended before.
        const size_t length = strnlen(field, fieldSize);
        if (length > kPackedLength) {
            AddOther(others_, field, length, LastOf(date, confirmed));
            return;
        }
    }
    // The reader only copies the bytes: packing and reading them is part of
    // counting. Fixed sizes: no call of the library's memcpy.
    Batch& batch = batches_[filled_ % kBatches];
    Pending& pending = batch.Items[batch.Size++];
    if (fieldSize >= kPackedLength) {
        std::memcpy(pending.Call, field, kPackedLength);
    } else {
        std::memset(pending.Call, 0, kPackedLength);
        std::memcpy(pending.Call, field, fieldSize);
    }
    std::memcpy(pending.Date, date, sizeof pending.Date);
    pending.Confirmed = confirmed;
    if (helper_.joinable()) {
        if (batch.Size == kBatchSize) HandOver();
        return;
    }
    // Counted as the log is read: this QSO's slot is asked for now, and the
    // QSO kAhead before it is counted, its slot by now at hand.
    const size_t i = batch.Size - 1;
    keys_[i] = KeyOf(pending);
    if (keys_[i] != 0) Prefetch(&slots_[Home(keys_[i], slots_.size())]);
    if (i >= kAhead) CountAt(batch, i - kAhead);
    if (batch.Size == kBatchSize) CountRest(batch);
}

void CallCollector::CountAt(const Batch& batch, size_t i) {
    if (keys_[i] != 0) Settle(keys_[i], LastOf(batch.Items[i].Date, batch.Items[i].Confirmed));
}

void CallCollector::CountRest(Batch& batch) {
    for (size_t i = batch.Size > kAhead ? batch.Size - kAhead : 0; i < batch.Size; ++i) CountAt(batch, i);
    batch.Size = 0;
}

void CallCollector::HandOver() {
    handed_.store(++filled_, std::memory_order_release);
    // The next batch is free once the second thread has counted it.
    while (filled_ - counted_.load(std::memory_order_acquire) == kBatches) std::this_thread::yield();
    batches_[filled_ % kBatches].Size = 0;
}

void CallCollector::HelperLoop() {
    size_t next = 0;
    for (;;) {
        if (next == handed_.load(std::memory_order_acquire)) {
            if (lastHanded_.load(std::memory_order_acquire) && next == handed_.load(std::memory_order_acquire)) break;
            if (spare_.empty() && !failure_) {
                // Nothing to count yet: time to make the room that sorting
                // will need, so that the reader need not wait for it then.
                try {
                    spare_.resize(slots_.size() * 3 / 4 + 1);
                } catch (...) {
                    failure_ = std::current_exception();
                }
                continue;
            }
            std::this_thread::yield();
            continue;
        }
        // A failure (no memory for a bigger table) is handed to the reader
        // at the end; the batches after it are only taken off its hands.
        if (!failure_) {
            try {
                Count(batches_[next % kBatches]);
            } catch (...) {
                failure_ = std::current_exception();
            }
        }
        counted_.store(++next, std::memory_order_release);
    }
    // Every call counted: the reader may now ask how many there are and
    // make room for the table, while the calls are sorted here.
    countedAll_.store(true, std::memory_order_release);
    if (failure_) return;
    try {
        SortSlots();
    } catch (...) {
        sortFailure_ = std::current_exception();
    }
    sortedAll_.store(true, std::memory_order_release);
    // The room for sorting is given back while the reader fills the table.
    std::vector<Slot>().swap(spare_);
}

void CallCollector::WaitSorted() {
    Finish();
    if (!helper_.joinable()) {
        SortSlots();
        return;
    }
    while (!sortedAll_.load(std::memory_order_acquire)) std::this_thread::yield();
    if (sortFailure_) JoinHelper();
}

void CallCollector::JoinHelper() {
    if (!helper_.joinable()) return;
    lastHanded_.store(true, std::memory_order_release);
    helper_.join();
    if (failure_) std::rethrow_exception(failure_);
    if (sortFailure_) std::rethrow_exception(sortFailure_);
}

void CallCollector::Finish() {
    if (finished_) return;
    finished_ = true;
    if (helper_.joinable()) {
        if (batches_[filled_ % kBatches].Size > 0) handed_.store(++filled_, std::memory_order_release);
        lastHanded_.store(true, std::memory_order_release);
        while (!countedAll_.load(std::memory_order_acquire)) std::this_thread::yield();
        if (failure_) JoinHelper();
    } else {
        CountRest(batches_[0]);
    }
    // The second thread is done with the odd calls it found (it may still
    // be sorting the slots).
    for (const auto& odd : oddOnes_) {
        Other& other = others_[odd.first];
        other.Count += odd.second.Count;
        Merge(other.Last, odd.second.Last);
    }
    std::map<std::string, Other>().swap(oddOnes_);
}

void CallCollector::Count(const Batch& batch) {
    // The keys first; then each slot is asked for kAhead updates before it
    // is used, so that several are on their way from memory at once.
    uint64_t keys[kBatchSize];
    const size_t n = batch.Size;
    for (size_t i = 0; i < n; ++i) keys[i] = KeyOf(batch.Items[i]);
    for (size_t i = 0; i < n; ++i) {
        if (i + kAhead < n) Prefetch(&slots_[Home(keys[i + kAhead], slots_.size())]);
        if (keys[i] != 0) Settle(keys[i], LastOf(batch.Items[i].Date, batch.Items[i].Confirmed));
    }
}

uint64_t CallCollector::KeyOf(const Pending& p) {
    size_t length;
    const uint64_t key = Pack(p.Call, kPackedLength, &length);
    if (key == 0) AddOther(oddOnes_, p.Call, strnlen(p.Call, kPackedLength), LastOf(p.Date, p.Confirmed));
    return key;
}

void CallCollector::Settle(uint64_t key, uint32_t last) {
    if ((used_ + 1) * 4 > slots_.size() * 3) Grow();
    const size_t size = slots_.size();
    for (size_t i = Home(key, size);; i = i + 1 == size ? 0 : i + 1) {
        Slot& slot = slots_[i];
        if (slot.Key != key) {
            if (slot.Key != 0) continue;
            slot.Key = key;
            ++used_;
            for (int d = 0; d < kDigits; ++d) ++digitCounts_[d * kDigitValues + Digit(key, d)];
            textBytes_ += KeyLength(key);
        }
        ++slot.Count;
        Merge(slot.Last, last);
        return;
    }
}

void CallCollector::Grow() {
    std::vector<Slot> slots(slots_.size() * 2);
    const size_t size = slots.size();
    for (const Slot& old : slots_) {
        if (old.Key == 0) continue;
        size_t i = Home(old.Key, size);
        while (slots[i].Key != 0) i = i + 1 == size ? 0 : i + 1;
        slots[i] = old;
    }
    slots_.swap(slots);
}

size_t CallCollector::Distinct() {
    Finish();
    return used_ + others_.size();
}

size_t CallCollector::TextBytes() {
    Finish();
    size_t bytes = textBytes_;
    for (const auto& other : others_) bytes += other.first.size();
    return bytes;
}

void CallCollector::SortSlots() {
    if (sorted_) return;
    sorted_ = true;
    // The used slots sorted by their first six characters, two a pass
    // from the sixth (how many keys have each value of each pair was
    // counted as the keys came), from the table to a spare block of as many
    // slots and back: the first pass takes them where they are in the
    // table, past the free slots. Calls that begin with the same six
    // characters are then put in order among themselves: few, in a real log.
    const size_t n = used_;
    if (spare_.size() < n) spare_.resize(n);
    std::vector<Slot>* from = &slots_;
    std::vector<Slot>* to = &spare_;
    size_t fromSize = slots_.size();
    for (int d = 0; d < kDigits; ++d) {
        uint32_t* count = &digitCounts_[d * kDigitValues];
        if (std::find(count, count + kDigitValues, static_cast<uint32_t>(n)) != count + kDigitValues)
            continue;   // every key alike here
        uint32_t start = 0;
        for (size_t v = 0; v < kDigitValues; ++v) {
            const uint32_t c = count[v];
            count[v] = start;
            start += c;
        }
        Slot* out = to->data();
        for (size_t i = 0; i < fromSize; ++i) {
            const Slot& slot = (*from)[i];
            if (slot.Key != 0) out[count[Digit(slot.Key, d)]++] = slot;
        }
        std::swap(from, to);
        fromSize = n;
    }
    if (from == &spare_) {
        slots_.swap(spare_);   // the old table is given back with the spare block
    } else if (fromSize != n) {
        size_t at = 0;   // no pass ran: the used slots moved to the front
        for (size_t i = 0; at < n; ++i)
            if (slots_[i].Key != 0) slots_[at++] = slots_[i];
    }
    slots_.resize(n);
    // Within a run of calls that begin alike, each call is moved back past
    // the longer keys before it; a long run (not seen in a real log) is
    // sorted whole.
    for (size_t first = 0; first < n;) {
        const uint64_t begin = slots_[first].Key >> kUnsortedBits;
        size_t end = first + 1;
        while (end < n && slots_[end].Key >> kUnsortedBits == begin) ++end;
        if (end - first > 16) {
            std::sort(slots_.begin() + first, slots_.begin() + end,
                      [](const Slot& a, const Slot& b) { return a.Key < b.Key; });
        } else {
            for (size_t i = first + 1; i < end; ++i) {
                const Slot moved = slots_[i];
                size_t j = i;
                for (; j > first && slots_[j - 1].Key > moved.Key; --j) slots_[j] = slots_[j - 1];
                slots_[j] = moved;
            }
        }
        first = end;
    }
}
