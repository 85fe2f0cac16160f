#include "awards/AwardTally.h"

#include <cstring>
#include <vector>

#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"
#include "logstore/QsoRecord.h"
#include "logstore/QsoSource.h"

const char kLibraryMissingText[] = "VIREON50.DLLがみつかりません";

const Prefecture PrefectureTable[kPrefectureCount] = {
    {"北海道", 8},   {"青森県", 7},   {"岩手県", 7},   {"秋田県", 7},   {"山形県", 7},
    {"宮城県", 7},   {"福島県", 7},   {"新潟県", 0},   {"長野県", 0},   {"東京都", 1},
    {"神奈川", 1},   {"千葉県", 1},   {"埼玉県", 1},   {"茨城県", 1},   {"栃木県", 1},
    {"群馬県", 1},   {"山梨県", 1},   {"静岡県", 2},   {"岐阜県", 2},   {"愛知県", 2},
    {"三重県", 2},   {"京都府", 3},   {"滋賀県", 3},   {"奈良県", 3},   {"大阪府", 3},
    {"和歌山県", 3}, {"兵庫県", 3},   {"富山県", 9},   {"福井県", 9},   {"石川県", 9},
    {"岡山県", 4},   {"島根県", 4},   {"山口県", 4},   {"鳥取県", 4},   {"広島県", 4},
    {"香川県", 5},   {"徳島県", 5},   {"愛媛県", 5},   {"高知県", 5},   {"福岡県", 6},
    {"佐賀県", 6},   {"長崎県", 6},   {"熊本県", 6},   {"大分県", 6},   {"宮崎県", 6},
    {"鹿児島県", 6}, {"沖縄県", 6},
};

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// An area code as one number: its bytes up to the NUL (at most 7, the width
// of a Code field), zero-padded. Two codes are equal texts exactly when
// their keys are equal, since no byte before the NUL is zero.
uint64_t CodeKey(const char* code) {
    unsigned char bytes[8] = {};
    for (int i = 0; i < 7 && code[i] != '\0'; ++i) bytes[i] = static_cast<unsigned char>(code[i]);
    uint64_t key;
    std::memcpy(&key, bytes, sizeof key);
    return key;
}

uint32_t SlotOf(uint64_t key, int slots) {
    const uint64_t h = key * 0x9E3779B97F4A7C15ULL;
    return static_cast<uint32_t>(h >> 40) & static_cast<uint32_t>(slots - 1);
}

// The date of a record's Date text: its six date digits (TakeDateDigits)
// and the number they read as, widened to YYYYMMDD.
void ReadQsoDate(const char* date, int32_t* value, char digits[7]) {
    TakeDateDigits(date, digits);
    // Six digits, the usual case, are read at once; anything else the
    // general way.
    int32_t v = 0;
    bool plain = true;
    for (int i = 0; i < 6 && plain; ++i) {
        plain = IsDigit(digits[i]);
        v = v * 10 + (digits[i] - '0');
    }
    if (!plain) v = ReadDecimalText(digits);
    *value = ExpandShortDate(v);
}

int DateInRange(const AwardCriteria& criteria, int32_t date) {
    if (criteria.EndDate < date) return -1;
    if (criteria.StartDate != 0 && criteria.StartDate > date) return 0;
    return 1;
}

// Nearly every record repeats the date of the one before it: the date is
// read again only when the bytes of the Date field change (equal bytes are
// equal texts, whatever lies behind the NUL).
class DateMemo {
public:
    void Read(const char (&field)[sizeof(QsoRecord::Date)]) {
        if (valid_ && std::memcmp(field, last_, sizeof last_) == 0) return;
        std::memcpy(last_, field, sizeof last_);
        valid_ = true;
        ReadQsoDate(field, &Date, Digits);
    }
    int32_t Date = 0;
    char Digits[7] = {};

private:
    char last_[sizeof(QsoRecord::Date)] = {};
    bool valid_ = false;
};

// The band of a frequency text, asked of the source once per distinct text
// as long as it stays in this fixed table: a log has tens of thousands of
// distinct frequency texts, but a few thousand of them cover most records.
class BandMemo {
public:
    explicit BandMemo(QsoSource& source) : source_(source), entries_(kEntries, Entry{0, 0, kEmpty}) {}
    int BandOf(const char* freq) {
        // The text, zero-padded, as two numbers; longer texts are not kept.
        unsigned char bytes[kMaxText] = {};
        size_t n = 0;
        for (; n < kMaxText && freq[n] != '\0'; ++n) bytes[n] = static_cast<unsigned char>(freq[n]);
        if (n == kMaxText) return source_.BandOf(freq);
        uint64_t head;
        uint32_t tail;
        std::memcpy(&head, bytes, sizeof head);
        std::memcpy(&tail, bytes + sizeof head, sizeof tail);
        const uint32_t h = (static_cast<uint32_t>(head) * 0x9E3779B1u) ^ (static_cast<uint32_t>(head >> 32) * 0x85EBCA77u) ^ tail;
        Entry& e = entries_[(h >> 16) & (kEntries - 1)];
        if (e.Head == head && e.Tail == tail && e.Band != kEmpty) return e.Band;
        e = {head, tail, source_.BandOf(freq)};
        return e.Band;
    }

private:
    static constexpr size_t kMaxText = 12;   // texts of up to 11 characters are kept
    static constexpr int kEntries = 8192;
    static constexpr int32_t kEmpty = -1000;
#pragma pack(push, 4)
    struct Entry {
        uint64_t Head;
        uint32_t Tail;
        int32_t Band;
    };
#pragma pack(pop)
    QsoSource& source_;
    std::vector<Entry> entries_;   // 128 KB, whatever the log's size
};

// One counted QSO into an area's statistics; `confirmed` is the QSL text's
// received mark, read once per QSO.
void CountQso(AreaStat& stat, bool confirmed, int32_t date) {
    stat.QsoCount += 1;
    if (stat.FirstDate == 0) {
        stat.FirstDate = date;
        stat.LastDate = date;
    } else if (stat.LastDate < date) {
        stat.LastDate = date;
    }
    if (confirmed)
        stat.QslState = 2;
    else if (stat.QslState != 2)
        stat.QslState = 1;
}

// What the award accepts of one counted QSO of an area.
void AddAwardQso(AreaAward& award, int32_t deletedYm, int band, bool confirmed, int recNo, int32_t date) {
    if (!AwardAcceptsQso(deletedYm, date)) return;
    const uint16_t bit = static_cast<uint16_t>(1u << band);
    award.WorkedBands |= bit;
    if (!confirmed) return;
    award.ConfirmedBands |= bit;
    if (award.FirstConfirmedRecNo == 0) {
        award.FirstConfirmedRecNo = recNo;
        award.FirstConfirmedDate = date;
        award.FirstConfirmedBand = band;
    }
}

// The scan every kind shares; areaOf(record, digits) names the area index
// of a counted QSO, or -1 when it has none in this award. `table` gives the
// deletion months of JCC/JCG areas (null: every area exists).
template <class AreaOf>
void Scan(const AwardCriteria& criteria, const AreaEntry* table, QsoSource& source, AwardStatistics& stats,
          AreaOf areaOf) {
    DateMemo date;
    BandMemo bands(source);
    const int count = source.Open();
    stats.RecordCount = count;
    for (int recNo = 1; recNo <= count; ++recNo) {
        QsoRecord* record = source.Read(recNo);
        // An unreadable record is left out; the rest of the log still counts.
        if (!record) continue;
        date.Read(record->Date);
        const int inRange = DateInRange(criteria, date.Date);
        if (inRange < 0) break;
        if (inRange == 0) continue;
        // The band lookup is the dearest test: it comes last. The order
        // changes nothing else, as areaOf() only reads the record (the code
        // rewrite of JCC/JCG stays in the buffer).
        if (!IsModeSelected(criteria, RecordText(record->Mode))) continue;
        const int area = areaOf(*record, date.Digits);
        if (area < 0) continue;
        const int band = bands.BandOf(RecordText(record->Freq));
        if (!IsBandSelected(criteria, band)) continue;
        const bool confirmed = HasQslReceivedMark(record->QSL);
        CountQso(stats.Areas[area], confirmed, date.Date);
        AddAwardQso(stats.Award[area], table ? table[area].DeletedYm : 0, band, confirmed, recNo, date.Date);
    }
    source.Close();
}

}  // namespace

bool AwardAcceptsQso(int32_t deletedYm, int32_t qsoDate) {
    return deletedYm == 0 || (qsoDate != 0 && qsoDate / 100 <= deletedYm);
}

const AreaEntry* AreaTableOfKind(int32_t kind) {
    if (kind == Jcc) return JccTable;
    if (kind == Jcg) return JcgTable;
    return nullptr;
}

std::vector<int> AwardAreaOrder(int32_t kind, const AreaEntry* table) {
    std::vector<int> order;
    switch (kind) {
    case Ajd:
        for (int i = 0; i < kAjdAreaCount; ++i) order.push_back((i + 1) % kAjdAreaCount);
        break;
    case Waja:
        for (int p = 1; p <= kPrefectureCount; ++p) order.push_back(p);
        break;
    case Jcc:
    case Jcg:
        for (int i = 0; table && i < kAreaTableSize && table[i].Code[0] != '\0'; ++i) order.push_back(i);
        break;
    default:
        break;
    }
    return order;
}

namespace {

// The area a counted QSO of the record belongs to under the award, or -1.
// `digits` are the record's date digits (TakeDateDigits).
int AreaOf(int32_t kind, const AreaCodeIndex& index, QsoRecord& record, const char* digits) {
    switch (kind) {
    case Ajd:
        return CallAreaOfCode(record.Code);
    case Waja: {
        const int number = PrefectureOfCode(record.Code);
        return number >= 1 && number <= kPrefectureCount ? number : -1;
    }
    case Jcc:
    case Jcg:
        if (NormalizeJccCode(record.Code, digits) == 0) NormalizeJcgCode(record.Code);
        return index.Find(record.Code);
    default:
        return -1;
    }
}

}  // namespace

int AwardAreaOfRecord(int32_t kind, const AreaCodeIndex& index, QsoRecord& record, int32_t* date) {
    char digits[7];
    ReadQsoDate(record.Date, date, digits);
    return AreaOf(kind, index, record, digits);
}

AwardStatistics TallyAward(const AwardCriteria& criteria, const AreaEntry* table, QsoSource& source) {
    AwardStatistics stats;
    stats.Kind = criteria.AwardKind;
    const int32_t kind = criteria.AwardKind;
    if (kind == Ajd || kind == Waja || kind == Jcc || kind == Jcg) {
        // The table cannot change during a scan, so its lookup is made once
        // (AJD and WAJA use none).
        const AreaCodeIndex index(kind == Jcc || kind == Jcg ? table : nullptr);
        Scan(criteria, kind == Jcc || kind == Jcg ? table : nullptr, source, stats,
             [kind, &index](QsoRecord& record, const char* digits) { return AreaOf(kind, index, record, digits); });
    } else {
        // No areas to count: the log is still opened and closed.
        stats.RecordCount = source.Open();
        source.Close();
    }
    return stats;
}

TallyOutcome TallyLoggerLog(const AwardCriteria& criteria, const AreaEntry* table, AwardStatistics& result) {
    LoggerLogSource log;
    if (!log.Bound()) return TallyOutcome::LibraryMissing;
    result = TallyAward(criteria, table, log);
    return log.OpenFailed() ? TallyOutcome::LogCannotBeOpened : TallyOutcome::Done;
}

int CheckQsoDate(const AwardCriteria& criteria, const char* date, int32_t* qsoDate) {
    char digits[7];
    ReadQsoDate(date, qsoDate, digits);
    return DateInRange(criteria, *qsoDate);
}

bool IsBandSelected(const AwardCriteria& criteria, int band) {
    return band >= 0 && band < kBandCount && criteria.BandSelected[band] != 0;
}

bool IsModeSelected(const AwardCriteria& criteria, const char* mode) {
    const char* wanted = criteria.ModeText;
    if (wanted[0] == '\0') return true;
    // ModeText is read as a text of at most its field width.
    int i = 0;
    for (; i < kModeTextSize && wanted[i] != '\0'; ++i)
        if (mode[i] != wanted[i]) return false;
    return mode[i] == '\0';
}

int CallAreaOfCode(const char* code) {
    if (!IsDigit(code[0]) || !IsDigit(code[1])) return -1;
    const int number = (code[0] - '0') * 10 + (code[1] - '0');
    if (number < 1 || number > kPrefectureCount) return -1;
    return PrefectureTable[number - 1].CallArea;
}

int PrefectureOfCode(const char* code) {
    if (IsDigit(code[0]) && IsDigit(code[1])) return (code[0] - '0') * 10 + (code[1] - '0');
    char head[3] = {};
    head[0] = code[0];
    if (head[0] != '\0') head[1] = code[1];
    return ReadDecimalText(head);
}

void AddQso(AreaStat& stat, const char* qsl, int32_t date) { CountQso(stat, HasQslReceivedMark(qsl), date); }

AreaCodeIndex::AreaCodeIndex(const AreaEntry* table) {
    std::memset(keys_, 0, sizeof keys_);
    std::memset(positions_, 0, sizeof positions_);
    if (!table) return;
    for (int i = 0; i < kAreaTableSize && table[i].Code[0] != '\0'; ++i) {
        const uint64_t key = CodeKey(table[i].Code);
        uint32_t slot = SlotOf(key, kSlots);
        while (keys_[slot] != 0 && keys_[slot] != key) slot = (slot + 1) & (kSlots - 1);
        // A later entry with the same code is never found: the walk stops at the first.
        if (keys_[slot] == 0) {
            keys_[slot] = key;
            positions_[slot] = static_cast<int16_t>(i);
        }
    }
}

int AreaCodeIndex::Find(const char* code) const {
    const uint64_t key = CodeKey(code);
    if (key == 0) return -1;
    for (uint32_t slot = SlotOf(key, kSlots);; slot = (slot + 1) & (kSlots - 1)) {
        if (keys_[slot] == key) return positions_[slot];
        if (keys_[slot] == 0) return -1;
    }
}

// ---- The program-wide names -----------------------------------------------

AreaStat AjdStats[kAjdAreaCount] = {};
AreaStat WajaStats[kPrefectureCount + 1] = {};
AreaStat AreaStats[kAreaTableSize] = {};
int32_t CurrentQsoDate = 0;
void (*AwardMessageSink)(const char* text) = nullptr;

namespace {

// The tally of one kind (for JCC/JCG the kind AwardFilter names) under
// AwardFilter, its areas copied into the kind's table.
bool TallyIntoTable(int32_t kind, AreaStat* table, int size) {
    AwardCriteria criteria = AwardFilter;
    criteria.AwardKind = kind;
    AwardStatistics result;
    const TallyOutcome outcome = TallyLoggerLog(criteria, AreaTableOfKind(kind), result);
    if (outcome == TallyOutcome::LibraryMissing) {
        if (AwardMessageSink) AwardMessageSink(kLibraryMissingText);
        return false;
    }
    std::memcpy(table, result.Areas, sizeof(AreaStat) * static_cast<size_t>(size));
    if (outcome == TallyOutcome::LogCannotBeOpened && AwardMessageSink) AwardMessageSink(kLogCannotBeOpenedText);
    return true;
}

}  // namespace

int CheckQsoDate(const char* date) { return CheckQsoDate(AwardFilter, date, &CurrentQsoDate); }

bool IsBandSelected(const char* freq) { return IsBandSelected(AwardFilter, BandOfFrequency(freq)); }

bool IsModeSelected(const char* mode) { return IsModeSelected(AwardFilter, mode); }

int FindAreaEntry(const char* code) {
    const AreaEntry* table = AreaTableOfKind(AwardFilter.AwardKind);
    if (!table) return -1;
    return AreaCodeIndex(table).Find(code);
}

void AddQso(AreaStat& stat, const char* qsl) { AddQso(stat, qsl, CurrentQsoDate); }

bool TallyAjd() { return TallyIntoTable(Ajd, AjdStats, kAjdAreaCount); }
bool TallyWaja() { return TallyIntoTable(Waja, WajaStats, kPrefectureCount + 1); }
bool TallyJccJcg() { return TallyIntoTable(AwardFilter.AwardKind, AreaStats, kAreaTableSize); }
