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
void AddAwardQso(AreaAward& award, int band, bool confirmed, int recNo, int32_t date) {
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

// The pass every kind and every caller shares: take(ScannedQso) for each QSO
// the rule attributes to an area (to onlyArea alone unless it is -1), under
// the criteria when there are any. False when the log could not be opened.
template <class Take>
bool Scan(const AwardCriteria* criteria, const AwardAreaRule& rule, int onlyArea, QsoSource& source, Take take,
          int32_t* recordCount = nullptr) {
    DateMemo date;
    BandMemo bands(source);
    const int count = source.Open();
    if (recordCount) *recordCount = count;
    for (int recNo = 1; recNo <= count; ++recNo) {
        QsoRecord* record = source.Read(recNo);
        // An unreadable record is left out; the rest of the log still counts.
        if (!record) continue;
        // After one area, most records are told apart by their code alone.
        if (!criteria && onlyArea >= 0 && !rule.MayBelongTo(record->Code, onlyArea)) continue;
        date.Read(record->Date);
        if (criteria) {
            const int inRange = DateInRange(*criteria, date.Date);
            if (inRange < 0) break;
            if (inRange == 0) continue;
            // The band lookup is the dearest test: it comes last. The order
            // changes nothing else, as the rule only reads the record (the
            // code rewrite of JCC/JCG stays in the buffer).
            if (!IsModeSelected(*criteria, RecordText(record->Mode))) continue;
        }
        // The rule rewrites a copy: whoever takes the QSO sees its code as stored.
        char code[sizeof record->Code];
        std::memcpy(code, record->Code, sizeof code);
        const QsoArea area = rule.AreaOf(code, date.Digits, date.Date);
        if (area.Area < 0 || (onlyArea >= 0 && area.Area != onlyArea)) continue;
        const int band = bands.BandOf(RecordText(record->Freq));
        if (criteria && !IsBandSelected(*criteria, band)) continue;
        take(ScannedQso{recNo, record, area.Area, area.Accepted, band, HasQslReceivedMark(record->QSL), date.Date});
    }
    source.Close();
    return count >= 0;
}

}  // namespace

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

AwardStatistics TallyAward(const AwardCriteria& criteria, const AreaEntry* table, QsoSource& source) {
    AwardStatistics stats;
    stats.Kind = criteria.AwardKind;
    if (criteria.AwardKind < Ajd || criteria.AwardKind > Jcg) {
        // No areas to count: the log is still opened and closed.
        stats.RecordCount = source.Open();
        source.Close();
        return stats;
    }
    // The table cannot change during a scan, so its lookup is made once.
    const AwardAreaRule rule(criteria.AwardKind, table);
    Scan(
        &criteria, rule, -1, source,
        [&stats](const ScannedQso& qso) {
            // Every QSO of the area makes its row; the award takes only those it accepts.
            CountQso(stats.Areas[qso.Area], qso.Confirmed, qso.Date);
            if (qso.Accepted) AddAwardQso(stats.Award[qso.Area], qso.Band, qso.Confirmed, qso.RecNo, qso.Date);
        },
        &stats.RecordCount);
    return stats;
}

AwardAreaRule::AwardAreaRule(int32_t kind, const AreaEntry* table)
    : kind_(kind), table_(kind == Jcc || kind == Jcg ? table : nullptr), index_(table_) {}

QsoArea AwardAreaRule::AreaOf(char* code, const char* dateDigits, int32_t date) const {
    QsoArea result;
    switch (kind_) {
    case Ajd:
        result.Area = CallAreaOfCode(code);
        break;
    case Waja: {
        const int number = PrefectureOfCode(code);
        result.Area = number >= 1 && number <= kPrefectureCount ? number : -1;
        break;
    }
    case Jcc:
    case Jcg:
        if (NormalizeJccCode(code, dateDigits) == 0) NormalizeJcgCode(code);
        result.Area = index_.Find(code);
        break;
    default:
        break;
    }
    if (result.Area >= 0) result.Accepted = AwardAcceptsQso(table_ ? table_[result.Area].DeletedYm : 0, date);
    return result;
}

bool AwardAreaRule::MayBelongTo(const char* code, int area) const {
    if (!table_ || area < 0 || area >= kAreaTableSize) return true;
    const char* entry = table_[area].Code;
    for (int i = 0; i < 4; ++i) {
        if (code[i] != entry[i]) return false;
        if (entry[i] == '\0') break;
    }
    return true;
}

bool ScanAwardQsos(const AwardCriteria* criteria, const AwardAreaRule& rule, int onlyArea, QsoSource& source,
                   ScannedQsoSink& sink) {
    return Scan(criteria, rule, onlyArea, source, [&sink](const ScannedQso& qso) { sink.Take(qso); });
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
