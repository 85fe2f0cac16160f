// The distinct calls of a log while it is read, for the check window's
// table: each call's number of QSOs, latest date and confirmation, gathered
// record by record and then handed over in call order.
//
// Reading a big log is one record after another from the library; what this
// adds per record must stay small beside that read. The reader only copies
// each QSO's call bytes, date and mark into a batch. A call of up to ten
// letters, digits and "/" (nearly every call) is then packed into a 64-bit
// number whose order is the calls' byte order, and counted in an
// open-addressing table of 16-byte slots. Such a table is bigger than the
// processor's cache and each QSO updates a slot somewhere in it, so a
// batch's slots are fetched from memory a few updates ahead of their use.
// On a big log a second thread counts the batches while the library goes on
// reading, and sorts the calls while the reader makes room for the table.
// Every other call (longer, or with other bytes) is counted in an ordered
// map of its own; a real log has a handful.
#pragma once
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CallCollector {
public:
    // From this many records on, a second thread counts, where the machine
    // has a second processor.
    static constexpr size_t kHelperRecords = 65536;

    // `records`: the log's record count, to size the table so that it
    // rarely has to grow, and to decide on the second thread.
    explicit CallCollector(size_t records);
    ~CallCollector();
    CallCollector(const CallCollector&) = delete;
    CallCollector& operator=(const CallCollector&) = delete;

    // One QSO of the call in `field` (its bytes up to the first NUL, at most
    // `fieldSize`), on the date of a record's Date text `date` (8 bytes are
    // read, as QsoDateNumber reads them), confirmed or not. A field with no
    // call counts nothing. The bytes are copied.
    void Add(const char* field, size_t fieldSize, const char* date, bool confirmed);

    // What was gathered for one distinct call.
    struct Call {
        const char* Text = nullptr;
        size_t Length = 0;
        uint32_t Count = 0;
        uint32_t LastDate = 0;
        bool Confirmed = false;
    };

    // Writes the bytes of every distinct call into `texts` (room for
    // TextBytes()), one after another in byte order (a call before every
    // longer call it begins), and hands each call to `take` in that order,
    // its Text in `texts`. Counts every Add made before it; no Add may
    // follow.
    template <class Take>
    void EachInOrder(char* texts, Take take);

    // The distinct calls added, and the bytes of them all; on a big log the
    // second thread is sorting them meanwhile. No Add may follow.
    size_t Distinct();
    size_t TextBytes();
    // Whether a second thread counts (and sorts).
    bool HasHelper() const { return helper_.joinable(); }

private:
    // The key of the call in `field` when it packs, with its length; 0 for
    // no call, a call longer than ten bytes, or one with a byte other than
    // A-Z, 0-9 and "/". Keys compare as the calls' bytes do.
    static uint64_t Pack(const char* field, size_t fieldSize, size_t* length);
    // The call of a key; returns its length (at most 10).
    static size_t Unpack(uint64_t key, char text[10]);
    static size_t KeyLength(uint64_t key);

    struct Slot {
        uint64_t Key = 0;   // 0: a free slot
        uint32_t Count = 0;
        uint32_t Last = 0;  // the latest date, with kConfirmed for a confirmed QSO
    };
    // A QSO as the reader hands it over: the call's first ten bytes and
    // the date's eight as the record has them (the call ends there or
    // before), packed and read when counted.
    struct Pending {
        char Call[10];
        char Date[8];
        bool Confirmed;
    };
    static constexpr size_t kBatchSize = 512;
    struct Batch {
        size_t Size = 0;
        Pending Items[kBatchSize];
    };
    struct Other {
        uint32_t Count = 0;
        uint32_t Last = 0;
    };
    static constexpr uint32_t kConfirmed = 0x80000000u;
    static constexpr size_t kAhead = 8;     // updates between a slot's fetch and its use
    // Batches on their way to the second thread: enough for the records
    // read while it makes the table at the start (a few milliseconds).
    static constexpr size_t kBatches = 64;

    // Sorting takes the first six characters of the key, two at a time
    // (the last four only decide between calls that begin alike).
    static constexpr int kDigits = 3, kDigitBits = 12, kUnsortedBits = 24;
    static constexpr size_t kDigitValues = size_t(1) << kDigitBits;
    static size_t Digit(uint64_t key, int d) {
        return static_cast<size_t>(key >> (kUnsortedBits + kDigitBits * d)) & (kDigitValues - 1);
    }

    static size_t Home(uint64_t key, size_t slots);
    void Allocate(size_t slots);
    static void Merge(uint32_t& last, uint32_t add);
    static uint32_t LastOf(const char* date, bool confirmed);
    static void AddOther(std::map<std::string, Other>& others, const char* call, size_t length, uint32_t last);
    uint64_t KeyOf(const Pending& p);   // 0 for a call that does not pack, counted with the others
    void Count(const Batch& batch);
    void CountAt(const Batch& batch, size_t i);
    void CountRest(Batch& batch);
    void Settle(uint64_t key, uint32_t last);
    void HandOver();
    void HelperLoop();
    void Finish();
    void JoinHelper();
    void WaitSorted();
    void Grow();
    void SortSlots();

    std::vector<Slot> slots_;
    size_t used_ = 0;
    std::vector<uint32_t> digitCounts_;   // of the keys in the slots, for each digit and value
    size_t textBytes_ = 0;                // bytes of the calls in the slots
    std::vector<Slot> spare_;             // room for sorting
    std::map<std::string, Other> others_;   // the calls that do not pack
    std::map<std::string, Other> oddOnes_;  // those of them found while counting, until merged
    bool finished_ = false;   // every batch counted; nothing more is added
    bool sorted_ = false;     // the slots are now the packed calls in order

    // Batches are filled here in turn; without a second thread only the
    // first is used, counted as it fills, with its calls' keys in keys_.
    std::unique_ptr<Batch[]> batches_;
    std::vector<uint64_t> keys_;
    size_t filled_ = 0;                    // batches handed over, as the reader knows it
    std::atomic<size_t> handed_{0};        // the same, for the second thread
    std::atomic<size_t> counted_{0};       // batches the second thread has counted
    std::atomic<bool> lastHanded_{false};  // no batch follows
    std::atomic<bool> countedAll_{false};  // the second thread has counted every batch and now sorts
    std::atomic<bool> sortedAll_{false};   // and has sorted them
    std::exception_ptr failure_;           // what stopped the second thread counting
    std::exception_ptr sortFailure_;       // or sorting
    std::thread helper_;
};

template <class Take>
void CallCollector::EachInOrder(char* texts, Take take) {
    WaitSorted();
    char* at = texts;
    // The call whose `length` bytes are now at `at`.
    auto takeText = [&](size_t length, uint32_t count, uint32_t last) {
        take(Call{at, length, count, last & ~kConfirmed, (last & kConfirmed) != 0});
        at += length;
    };
    if (others_.empty()) {
        // Nearly always: every call packs, and unpacks where it belongs.
        for (const Slot& s : slots_) takeText(Unpack(s.Key, at), s.Count, s.Last);
        return;
    }
    // Two sorted runs merged: the packed calls and the others.
    auto other = others_.begin();
    auto takeOther = [&] {
        std::copy(other->first.begin(), other->first.end(), at);
        takeText(other->first.size(), other->second.Count, other->second.Last);
        ++other;
    };
    char text[10];
    for (const Slot& s : slots_) {
        const size_t length = Unpack(s.Key, text);
        while (other != others_.end() && other->first.compare(0, std::string::npos, text, length) < 0) takeOther();
        std::copy(text, text + length, at);
        takeText(length, s.Count, s.Last);
    }
    while (other != others_.end()) takeOther();
}
