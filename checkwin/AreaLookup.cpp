#include "checkwin/AreaLookup.h"

#include <cstdio>
#include <cstring>

#include "awards/AwardCount.h"
#include "logstore/LogAccess.h"
#include "logstore/QsoSource.h"

const char kNotInAreaTablesText[] = "JCC/JCG の表にない番号です";
const char kNotWorkedText[] = "未交信";
const char kMasterCannotBeLoadedText[] = "vireon.mst を読み込めません";

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The text without blanks at either end.
std::string Trimmed(const char* text, size_t maxLength) {
    size_t begin = 0, end = 0;
    while (end < maxLength && text[end] != '\0') ++end;
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
    return std::string(text + begin, end - begin);
}

// A code of up to six characters in a table's form: blank-padded to six.
void PaddedCode(const std::string& digits, char code[7]) {
    std::memset(code, ' ', 6);
    std::memcpy(code, digits.data(), digits.size() < 6 ? digits.size() : 6);
    code[6] = '\0';
}

int FindCode(const AreaEntry* table, const std::string& digits) {
    if (!table) return -1;
    char code[7];
    PaddedCode(digits, code);
    return AreaCodeIndex(table).Find(code);
}

AreaTarget InTable(int32_t kind, int area) {
    AreaTarget target;
    target.Kind = kind;
    target.Area = area;
    return target;
}

AreaTarget Unknown(const std::string& code) {
    AreaTarget target;
    target.Code = code;
    return target;
}

}  // namespace

bool IsAreaCodeText(const char* text) {
    if (!text) return false;
    size_t digits = 0;
    while (IsDigit(text[digits])) ++digits;
    if (text[digits] == '\0') return digits == 4 || digits == 5 || digits == 6;
    return digits == 5 && IsLetter(text[5]) && text[6] == '\0';
}

AreaTarget AreaOfTypedCode(const char* text, const AreaEntry* jcc, const AreaEntry* jcg) {
    const std::string typed = text ? text : "";
    if (!IsAreaCodeText(typed.c_str())) return Unknown(typed);
    int area = -1;
    switch (typed.size()) {
    case 4:
        area = FindCode(jcc, typed);
        break;
    case 6:
        if (IsDigit(typed[5])) {
            // A ward that counts by itself has an entry of its own; any
            // other ward counts for its city.
            area = FindCode(jcc, typed);
            if (area < 0) area = FindCode(jcc, typed.substr(0, 4));
            break;
        }
        // A town: its county.
        area = FindCode(jcg, typed.substr(0, 5));
        return area >= 0 ? InTable(Jcg, area) : Unknown(typed);
    case 5:
        area = FindCode(jcg, typed);
        return area >= 0 ? InTable(Jcg, area) : Unknown(typed);
    default:
        break;
    }
    return area >= 0 ? InTable(Jcc, area) : Unknown(typed);
}

AreaTarget AreaOfQsoCode(const char* code, const char* date, const AreaEntry* jcc, const AreaEntry* jcg) {
    // The date as the tally reads it.
    AwardCriteria anyDate{};
    anyDate.EndDate = 99999999;
    int32_t qsoDate = 0;
    CheckQsoDate(anyDate, date ? date : "", &qsoDate);
    char digits[7];
    TakeDateDigits(date ? date : "", digits);
    for (int32_t kind : {Jcc, Jcg}) {
        char copy[sizeof QsoRecord::Code] = {};
        std::strncpy(copy, code ? code : "", sizeof copy - 1);
        const QsoArea area = AwardAreaRule(kind, kind == Jcc ? jcc : jcg).AreaOf(copy, digits, qsoDate);
        if (area.Area >= 0) return InTable(kind, area.Area);
    }
    return Unknown(Trimmed(code ? code : "", sizeof QsoRecord::Code - 1));
}

std::string AreaCodeText(const AreaTarget& target, const AreaEntry* table) {
    char text[16];
    switch (target.Kind) {
    case Ajd:
        std::snprintf(text, sizeof text, "%d", target.Area);
        return text;
    case Waja:
        std::snprintf(text, sizeof text, "%02d", target.Area);
        return text;
    case Jcc:
    case Jcg:
        if (table && target.Area >= 0 && target.Area < kAreaTableSize)
            return Trimmed(table[target.Area].Code, sizeof table[target.Area].Code - 1);
        return "";
    default:
        return target.Code;
    }
}

std::string AreaNameText(const AreaTarget& target, const AreaEntry* table) {
    switch (target.Kind) {
    case Waja:
        return target.Area >= 1 && target.Area <= kPrefectureCount ? PrefectureTable[target.Area - 1].Name : "";
    case Jcc:
    case Jcg: {
        if (!table || target.Area < 0 || target.Area >= kAreaTableSize) return "";
        const AreaEntry& e = table[target.Area];
        std::string name(e.Name, WholeCp932Length(e.Name, sizeof e.Name - 1));
        while (!name.empty() && name.back() == ' ') name.pop_back();
        return name;
    }
    default:
        return "";
    }
}

std::string AreaCaption(const AreaTarget& target, const AreaEntry* table) {
    if (target.Kind == Ajd) return std::string(AwardName(Ajd)) + " " + AreaCodeText(target, table);
    const std::string name = AreaNameText(target, table);
    return AreaCodeText(target, table) + (name.empty() ? "" : " " + name);
}

namespace {

// The rows and the summary of the QSOs a scan hands on.
class AreaQsoCollector : public ScannedQsoSink {
public:
    AreaQsoCollector(int band, QsoRows& rows, AreaQsos& found) : band_(band), rows_(rows), found_(found) {}
    void Take(const ScannedQso& qso) override {
        if (band_ >= 0 && qso.Band != band_) return;
        rows_.Insert(rows_.Count(), *qso.Record, qso.RecNo);
        ++found_.Listed;
        if (!qso.Accepted) return;
        ++found_.Counting;
        found_.Summary.Add(qso.Band, RecordText(qso.Record->Mode), qso.Confirmed);
    }

private:
    int band_;
    QsoRows& rows_;
    AreaQsos& found_;
};

}  // namespace

AreaQsos ListAreaQsos(const AreaTarget& target, const AreaEntry* table, const AwardCriteria* criteria, int band,
                      QsoSource& source, QsoRows& rows) {
    AreaQsos found;
    if (target.Kind != 0) {
        const AwardAreaRule rule(target.Kind, table);
        AreaQsoCollector collector(band, rows, found);
        found.LogOpened = ScanAwardQsos(criteria, rule, target.Area, source, collector);
        return found;
    }
    // A code no table knows: the QSOs that carry exactly it.
    const int count = source.Open();
    found.LogOpened = count >= 0;
    if (!target.Code.empty()) {
        for (int recNo = 1; recNo <= count; ++recNo) {
            const QsoRecord* record = source.Read(recNo);
            if (!record || Trimmed(record->Code, sizeof record->Code - 1) != target.Code) continue;
            rows.Insert(rows.Count(), *record, recNo);
            ++found.Listed;
        }
    }
    source.Close();
    return found;
}

std::string AreaStatusText(const AreaTarget& target, const AreaEntry* table, const AreaQsos& found) {
    if (target.Kind == 0) return kNotInAreaTablesText;
    std::string text = std::string(AwardName(target.Kind)) + " " + AreaCodeText(target, table);
    const std::string name = AreaNameText(target, table);
    if (!name.empty()) text += " " + name;
    text += "  ";
    text += found.Counting > 0 ? found.Summary.Text() : kNotWorkedText;
    return text;
}

AreaTarget AreaOfAwardRow(int32_t kind, const AreaEntry* table, const char* codeText) {
    const std::string text = codeText ? codeText : "";
    switch (kind) {
    case Ajd:
        if (text.size() == 1 && IsDigit(text[0])) return InTable(Ajd, text[0] - '0');
        break;
    case Waja:
        if (text.size() == 2 && IsDigit(text[0]) && IsDigit(text[1])) {
            const int number = (text[0] - '0') * 10 + (text[1] - '0');
            if (number >= 1 && number <= kPrefectureCount) return InTable(Waja, number);
        }
        for (int p = 1; p <= kPrefectureCount; ++p)
            if (text == PrefectureTable[p - 1].Name) return InTable(Waja, p);
        break;
    case Jcc:
    case Jcg: {
        if (!table || text.empty()) break;
        char code[sizeof AreaEntry::Code] = {};
        std::strncpy(code, text.c_str(), sizeof code - 1);
        const int area = AreaCodeIndex(table).Find(code);
        if (area >= 0) return InTable(kind, area);
        break;
    }
    default:
        break;
    }
    return AreaTarget{};
}

AreaLookupOutcome RunAreaLookup(const AreaRequest& request, QsoRows& rows, AreaLookupResult* result) {
    LoggerLogSource log;
    if (!log.Bound()) return AreaLookupOutcome::LibraryMissing;
    if (LoadAreaMaster() != 0) return AreaLookupOutcome::MasterCannotBeLoaded;
    result->Target = request.FromQso ? AreaOfQsoCode(request.Code.c_str(), request.Date.c_str(), JccTable, JcgTable)
                                     : AreaOfTypedCode(request.Code.c_str(), JccTable, JcgTable);
    const AreaEntry* table = AreaTableOfKind(result->Target.Kind);
    const AreaQsos found = ListAreaQsos(result->Target, table, nullptr, -1, log, rows);
    result->BoxText = AreaCodeText(result->Target, table);
    result->Status = AreaStatusText(result->Target, table, found);
    result->Listed = found.Listed;
    return log.OpenFailed() ? AreaLookupOutcome::LogCannotBeOpened : AreaLookupOutcome::Done;
}
