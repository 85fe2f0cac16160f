// What import-adif makes of one ADIF record: its texts decoded, checked and
// converted into the QSO the log keeps.
#include "vireon/ToolCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

namespace vireon {

std::string TrimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

const char* EncodingName(RecordEncoding e) {
    switch (e) {
    case RecordEncoding::Ascii: return "ASCII";
    case RecordEncoding::Utf8: return "UTF-8";
    case RecordEncoding::ShiftJis: return "Shift_JIS";
    case RecordEncoding::Mixed: return "partly neither UTF-8 nor Shift_JIS";
    }
    return "";
}

namespace {

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}


bool AllDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Lower edges (MHz) of the ADIF band names; the Japanese edge where the
// Japanese band starts higher.
const std::map<std::string, std::string>& BandEdges() {
    static const std::map<std::string, std::string> edges = {
        {"2190M", "0.1357"}, {"630M", "0.472"}, {"560M", "0.501"}, {"160M", "1.800"},
        {"80M", "3.500"}, {"60M", "5.060"}, {"40M", "7.000"}, {"30M", "10.100"},
        {"20M", "14.000"}, {"17M", "18.068"}, {"15M", "21.000"}, {"12M", "24.890"},
        {"10M", "28.000"}, {"8M", "40.000"}, {"6M", "50.000"}, {"5M", "54.000001"},
        {"4M", "70.000"}, {"2M", "144.000"}, {"1.25M", "222.000"}, {"70CM", "430.000"},
        {"33CM", "902.000"}, {"23CM", "1260.000"}, {"13CM", "2400.000"}, {"9CM", "3300.000"},
        {"6CM", "5650.000"}, {"3CM", "10000.000"}, {"1.25CM", "24000.000"}, {"6MM", "47000.000"},
        {"4MM", "75500.000"}, {"2.5MM", "119980.000"}, {"2MM", "134000.000"}, {"1MM", "241000.000"},
        {"SUBMM", "300000.000"}};
    return edges;
}

bool IsFrequencyText(const std::string& s) {
    size_t dots = 0, digits = 0;
    for (char c : s) {
        if (c == '.') ++dots;
        else if (c >= '0' && c <= '9') ++digits;
        else return false;
    }
    return digits > 0 && dots <= 1;
}

// A JCC/JCG code as ADIF's CNTY carries it for Japan: 4 digits (city),
// 6 digits (ward), 5 digits (county), 5 digits and a letter (town).
bool IsJapaneseCode(const std::string& s) {
    if (s.size() == 4 || s.size() == 5 || s.size() == 6) {
        if (AllDigits(s)) return true;
        if (s.size() == 6 && AllDigits(s.substr(0, 5)) && std::isalpha(static_cast<unsigned char>(s[5])))
            return true;
    }
    return false;
}

bool IsJapaneseEntity(const std::string* dxcc) {
    if (!dxcc) return true;   // no entity given: take the codes at their word
    std::string d = TrimBlanks(*dxcc);
    return d == "339" || d == "177" || d == "192";   // Japan, Minami Torishima, Ogasawara
}

bool IsYes(const std::string* v) { return v && Upper(TrimBlanks(*v)) == "Y"; }

}  // namespace

namespace {

RecordEncoding DecideEncoding(const AdifRecord& rec) {
    bool ascii = true, utf8 = true, sjis = true;
    for (const AdifField& f : rec.Fields) {
        if (std::all_of(f.Value.begin(), f.Value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            continue;
        ascii = false;
        if (utf8 && !IsValidUtf8(f.Value)) utf8 = false;
        if (sjis && !IsValidCp932(f.Value)) sjis = false;
    }
    return ascii ? RecordEncoding::Ascii : utf8 ? RecordEncoding::Utf8 : sjis ? RecordEncoding::ShiftJis
                                                                            : RecordEncoding::Mixed;
}

// One value as CP932: from UTF-8, as it is (Shift_JIS), or, in a record that
// is neither, in whichever of the two leaves fewer bytes unreadable, those
// bytes becoming '?'.
std::string ValueToCp932(const std::string& v, RecordEncoding e, const char* name, std::vector<std::string>* notes) {
    bool fromUtf8 = e == RecordEncoding::Utf8;
    std::string s = v;
    if (e == RecordEncoding::Mixed) {
        if (IsValidUtf8(v)) {
            fromUtf8 = true;
        } else if (!IsValidCp932(v)) {
            size_t badUtf8 = 0, badSjis = 0;
            std::string asUtf8 = RepairUtf8(v, &badUtf8), asSjis = RepairCp932(v, &badSjis);
            fromUtf8 = badUtf8 <= badSjis;
            s = fromUtf8 ? asUtf8 : asSjis;
            notes->push_back(std::string(name) + ": " + std::to_string(fromUtf8 ? badUtf8 : badSjis) +
                             " byte(s) that are neither UTF-8 nor Shift_JIS became '?' (read as " +
                             (fromUtf8 ? "UTF-8" : "Shift_JIS") + ")");
        }
    }
    if (fromUtf8) {
        std::string conv;
        bool lossy = false;
        if (Utf8ToCp932(s, &conv, &lossy)) {
            if (lossy) notes->push_back(std::string(name) + ": characters without a CP932 form became '?'");
            s = conv;
        } else {
            s = RepairCp932(s, nullptr);   // no converter: never store bytes that are not CP932
            notes->push_back(std::string(name) + ": no UTF-8 converter here; the text was not converted");
        }
    }
    return s;
}

char ViaMark(const std::string& via) {
    if (via == "B") return 'J';   // the bureau (JARL's in Japan)
    if (via == "D") return 'D';
    if (via == "E") return 'E';
    if (via == "M") return 'M';
    return 0;
}

bool IsReceived(const std::string* v) {
    if (!v) return false;
    std::string s = Upper(TrimBlanks(*v));
    return s == "Y" || s == "V";
}

}  // namespace

AdifImport ConvertAdifRecord(const AdifRecord& rec) {
    AdifImport r;
    r.Notes = rec.Problems;
    r.Encoding = DecideEncoding(rec);
    auto get = [&](const char* name) { const std::string* v = rec.Find(name); return v ? TrimBlanks(*v) : std::string(); };

    std::string call = Upper(get("CALL"));
    if (call.empty()) { r.Reason = "no CALL"; return r; }
    for (char c : call)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/')) {
            r.Reason = "CALL \"" + call + "\" holds characters other than letters, digits and '/'";
            return r;
        }
    if (call.size() > size_t(MaxFieldLength(kCall))) {
        r.Reason = "CALL " + call + " is longer than " + std::to_string(MaxFieldLength(kCall)) + " characters";
        return r;
    }
    std::string date = get("QSO_DATE");
    if (date.empty()) { r.Reason = "no QSO_DATE"; return r; }
    int y = 0, mo = 0, d = 0;
    if (date.size() == 8 && AllDigits(date)) {
        y = std::stoi(date.substr(0, 4));
        mo = std::stoi(date.substr(4, 2));
        d = std::stoi(date.substr(6, 2));
    }
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mo < 1 || mo > 12 || d < 1 || d > kDays[mo - 1] + (mo == 2 && IsLeapYear(y))) {
        r.Reason = "QSO_DATE \"" + date + "\" is not a date YYYYMMDD";
        return r;
    }
    // Two-digit years in the log: 52..99 are 19YY, 00..51 are 20YY.
    if (y < 1952 || y > 2051) {
        r.Reason = "QSO_DATE " + date + " lies outside 1952-2051, which a two-digit year cannot tell apart";
        return r;
    }
    std::string time = get("TIME_ON");
    if (time.empty()) { r.Reason = "no TIME_ON"; return r; }
    if (!((time.size() == 4 || time.size() == 6) && AllDigits(time)) || std::stoi(time.substr(0, 2)) > 23 ||
        std::stoi(time.substr(2, 2)) > 59 || (time.size() == 6 && std::stoi(time.substr(4, 2)) > 59)) {
        r.Reason = "TIME_ON \"" + time + "\" is not a time HHMM or HHMMSS";
        return r;
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", y % 100, mo, d);
    r.Qso.Field[kDate] = buf;
    r.Qso.Field[kTime] = time.substr(0, 2) + ":" + time.substr(2, 2);
    r.SortKey = std::stoull(date + time + (time.size() == 4 ? "00" : ""));
    r.Qso.Field[kCall] = call;

    // Texts: converted to CP932, line breaks made blanks, cut to the field.
    auto text = [&](QsoField f, const char* name) {
        const std::string* v = rec.Find(name);
        if (!v) return;
        std::string s = *v;
        for (char& c : s)
            if (c == '\r' || c == '\n' || c == '\t' || c == '\0') c = ' ';
        s = ValueToCp932(TrimBlanks(s), r.Encoding, name, &r.Notes);
        bool cut = false;
        std::string t = TruncateCp932(s, size_t(MaxFieldLength(f)), &cut);
        if (cut)
            r.Notes.push_back(std::string(name) + " cut to " + std::to_string(MaxFieldLength(f)) + " bytes");
        r.Qso.Field[f] = t;
    };
    text(kHis, "RST_SENT");
    text(kMy, "RST_RCVD");
    text(kMode, "MODE");
    text(kGL, "GRIDSQUARE");
    text(kName, "NAME");
    text(kQTH, "QTH");
    text(kRemarks1, "COMMENT");
    text(kRemarks2, "NOTES");

    std::string freq = get("FREQ");
    if (!freq.empty() && IsFrequencyText(freq) && freq.size() <= size_t(MaxFieldLength(kFreq))) {
        r.Qso.Field[kFreq] = freq;
    } else {
        auto it = BandEdges().find(Upper(get("BAND")));
        if (it != BandEdges().end()) {
            r.Qso.Field[kFreq] = it->second;
            if (!freq.empty()) r.Notes.push_back("FREQ \"" + freq + "\" unusable; the band's lower edge taken");
        } else if (!freq.empty() || !get("BAND").empty()) {
            r.Notes.push_back("neither FREQ nor BAND usable; no frequency stored");
        }
    }

    const std::string* dxcc = rec.Find("DXCC");
    std::string cnty = Upper(get("CNTY"));
    std::string state = get("STATE");
    std::string code;
    if (IsJapaneseEntity(dxcc) && IsJapaneseCode(cnty)) code = cnty;
    else if (IsJapaneseEntity(dxcc) && state.size() == 2 && AllDigits(state) && std::stoi(state) >= 1 &&
             std::stoi(state) <= 47)
        code = state;
    else if (IsJapaneseEntity(dxcc) && (!cnty.empty() || !state.empty()) && dxcc)
        r.Notes.push_back("CNTY/STATE not a JCC/JCG code or prefecture number; no code stored");
    if (!code.empty()) code.resize(6, ' ');
    r.Qso.Field[kCode] = code;

    // QSL: three positions, always written, a blank where there is no mark:
    // 0 sent ('S'), 1 via ('J' bureau, 'D' direct, 'E' electronic, 'M'
    // manager), 2 received ('R').
    std::string qsl = "   ";
    if (IsYes(rec.Find("QSL_SENT"))) qsl[0] = 'S';
    const char* viaField = rec.Find("QSL_SENT_VIA") && !get("QSL_SENT_VIA").empty() ? "QSL_SENT_VIA" : "QSL_RCVD_VIA";
    std::string via = Upper(get(viaField));
    if (!via.empty()) {
        if (char m = ViaMark(via)) qsl[1] = m;
        else r.Notes.push_back(std::string(viaField) + " \"" + via + "\" is not B, D, E or M; no via mark stored");
    }
    if (IsReceived(rec.Find("QSL_RCVD")) || IsReceived(rec.Find("LOTW_QSL_RCVD")) ||
        IsReceived(rec.Find("EQSL_QSL_RCVD")))
        qsl[2] = 'R';
    r.Qso.Field[kQSL] = qsl;
    r.Ok = true;
    return r;
}

}  // namespace vireon
