#include "awards/AwardTally.h"

#include <algorithm>
#include <cstring>

#include "awards/AwardFilter.h"
#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"
#include "logstore/QsoRecord.h"

AreaStat AjdStats[kAjdAreaCount] = {};
AreaStat WajaStats[kPrefectureCount + 1] = {};
AreaStat AreaStats[kAreaTableSize] = {};
int32_t CurrentQsoDate = 0;
void (*AwardMessageSink)(const char* text) = nullptr;
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
    uint64_t key = 0;
    for (int i = 0; i < 7 && code[i] != '\0'; ++i)
        key |= static_cast<uint64_t>(static_cast<unsigned char>(code[i])) << (8 * i);
    return key;
}

const AreaEntry* TableOfKind(int32_t kind) {
    if (kind == Jcc) return JccTable;
    if (kind == Jcg) return JcgTable;
    return nullptr;
}

// The lookup of FindAreaEntry, prepared once per scan: an open-addressing
// hash of the codes of the table's used part, each code holding the first
// position it appears at, as the walk in table order finds it. Fixed
// storage, filled before the first record is read.
constexpr int kCodeSlots = 2048;   // a power of two, over twice the table size
struct CodeSlot {
    uint64_t Key;        // 0 = free (a used entry's code is never empty)
    int32_t Position;
};
CodeSlot CodeIndex[kCodeSlots];

uint32_t SlotOf(uint64_t key) {
    const uint64_t h = key * 0x9E3779B97F4A7C15ULL;
    return static_cast<uint32_t>(h >> 40) & (kCodeSlots - 1);
}

void BuildCodeIndex(const AreaEntry* table) {
    std::memset(CodeIndex, 0, sizeof CodeIndex);
    if (!table) return;
    for (int i = 0; i < kAreaTableSize && table[i].Code[0] != '\0'; ++i) {
        const uint64_t key = CodeKey(table[i].Code);
        uint32_t slot = SlotOf(key);
        while (CodeIndex[slot].Key != 0 && CodeIndex[slot].Key != key) slot = (slot + 1) & (kCodeSlots - 1);
        if (CodeIndex[slot].Key == 0) CodeIndex[slot] = {key, i};   // a later duplicate is never found
    }
}

int FindInCodeIndex(const char* code) {
    const uint64_t key = CodeKey(code);
    if (key == 0) return -1;
    for (uint32_t slot = SlotOf(key);; slot = (slot + 1) & (kCodeSlots - 1)) {
        if (CodeIndex[slot].Key == key) return CodeIndex[slot].Position;
        if (CodeIndex[slot].Key == 0) return -1;
    }
}

// The six date digits of the record CheckQsoDate tested last, which the
// JCC/JCG code rules of the same record need as well.
char QsoDateDigits[7];

// The frame every tally shares. attribute(record) names the AreaStat a
// counted QSO goes to, or null when the QSO has no area of this award.
template <class Attribute>
bool ScanLog(AreaStat* table, int tableSize, Attribute attribute) {
    if (LoadLoggerLibrary() != 0) {
        if (AwardMessageSink) AwardMessageSink(kLibraryMissingText);
        return false;
    }
    std::memset(table, 0, sizeof(AreaStat) * static_cast<size_t>(tableSize));
    const int count = CountLogRecords();
    OpenLog();
    for (int recNo = 1; recNo <= count; ++recNo) {
        QsoRecord* record = ReadLogRecord(recNo);
        // An unreadable record is left out; the rest of the log still counts.
        if (!record) continue;
        const int inRange = CheckQsoDate(record->Date);
        if (inRange < 0) break;
        if (inRange == 0) continue;
        // The band lookup is a library call and the dearest test: it comes
        // last. The order changes nothing else, as attribute() only reads
        // the record (the code rewrite of JCC/JCG stays in the buffer).
        if (!IsModeSelected(RecordText(record->Mode))) continue;
        AreaStat* stat = attribute(*record);
        if (!stat || !IsBandSelected(RecordText(record->Freq))) continue;
        AddQso(*stat, record->QSL);
    }
    CloseLog();
    FreeLoggerLibrary();
    return true;
}

}  // namespace

int CheckQsoDate(const char* date) {
    char* digits = QsoDateDigits;
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
    CurrentQsoDate = ExpandShortDate(v);
    if (AwardFilter.EndDate < CurrentQsoDate) return -1;
    if (AwardFilter.StartDate != 0 && AwardFilter.StartDate > CurrentQsoDate) return 0;
    return 1;
}

bool IsBandSelected(const char* freq) {
    const int band = BandOfFrequency(freq);
    return band >= 0 && band < kBandCount && AwardFilter.BandSelected[band] != 0;
}

bool IsModeSelected(const char* mode) {
    const char* wanted = AwardFilter.ModeText;
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

int FindAreaEntry(const char* code) {
    const AreaEntry* table = TableOfKind(AwardFilter.AwardKind);
    if (!table) return -1;
    const uint64_t key = CodeKey(code);
    for (int i = 0; i < kAreaTableSize && table[i].Code[0] != '\0'; ++i)
        if (CodeKey(table[i].Code) == key) return i;
    return -1;
}

void AddQso(AreaStat& stat, const char* qsl) {
    stat.QsoCount += 1;
    if (stat.FirstDate == 0) {
        stat.FirstDate = CurrentQsoDate;
        stat.LastDate = CurrentQsoDate;
    } else if (stat.LastDate < CurrentQsoDate) {
        stat.LastDate = CurrentQsoDate;
    }
    // The received mark sits at position 2; a text ending before it has none.
    const bool confirmed = qsl[0] != '\0' && qsl[1] != '\0' && qsl[2] != '\0' && qsl[2] != ' ';
    if (confirmed)
        stat.QslState = 2;
    else if (stat.QslState != 2)
        stat.QslState = 1;
}

bool TallyAjd() {
    return ScanLog(AjdStats, kAjdAreaCount, [](QsoRecord& record) -> AreaStat* {
        const int area = CallAreaOfCode(record.Code);
        return area >= 0 ? &AjdStats[area] : nullptr;
    });
}

bool TallyWaja() {
    return ScanLog(WajaStats, kPrefectureCount + 1, [](QsoRecord& record) -> AreaStat* {
        const int number = PrefectureOfCode(record.Code);
        return (number >= 1 && number <= kPrefectureCount) ? &WajaStats[number] : nullptr;
    });
}

bool TallyJccJcg() {
    // The table cannot change during a scan, so its lookup is prepared once.
    BuildCodeIndex(TableOfKind(AwardFilter.AwardKind));
    return ScanLog(AreaStats, kAreaTableSize, [](QsoRecord& record) -> AreaStat* {
        // CheckQsoDate has taken this record's date digits just before.
        if (NormalizeJccCode(record.Code, QsoDateDigits) == 0) NormalizeJcgCode(record.Code);
        const int position = FindInCodeIndex(record.Code);
        return position >= 0 ? &AreaStats[position] : nullptr;
    });
}
