#include "vireon/ToolCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "vireon/Generator.h"
#include "vireon/JarlList.h"

namespace vireon {

namespace {

std::string InDir(const std::string& dir, const char* name) {
    if (dir.empty() || dir == ".") return name;
    char last = dir.back();
    return (last == '/' || last == '\\') ? dir + name : dir + "/" + name;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string TrimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
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

bool ReadWholeFile(const std::string& path, std::string* bytes) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::ostringstream s;
    s << f.rdbuf();
    *bytes = s.str();
    return !f.bad();
}

AdifImport ConvertAdifRecord(const AdifRecord& rec, AdifEncoding encoding) {
    AdifImport r;
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
    r.SortKey = date + time + (time.size() == 4 ? "00" : "");
    r.Qso.Field[kCall] = call;

    // Texts: converted to CP932, line breaks made blanks, cut to the field.
    auto text = [&](QsoField f, const char* name) {
        const std::string* v = rec.Find(name);
        if (!v) return;
        std::string s = *v;
        for (char& c : s)
            if (c == '\r' || c == '\n' || c == '\t' || c == '\0') c = ' ';
        s = TrimBlanks(s);
        if (encoding == AdifEncoding::Utf8) {
            std::string conv;
            bool lossy = false;
            if (IsValidUtf8(s) && Utf8ToCp932(s, &conv, &lossy)) {
                if (lossy) r.Notes.push_back(std::string(name) + ": characters without a CP932 form became '?'");
                s = conv;
            }
        }
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

    // QSL: position 0 sent, position 2 received.
    std::string qsl = "   ";
    if (IsYes(rec.Find("QSL_SENT"))) qsl[0] = 'S';
    if (IsYes(rec.Find("QSL_RCVD")) || IsYes(rec.Find("LOTW_QSL_RCVD")) || IsYes(rec.Find("EQSL_QSL_RCVD")))
        qsl[2] = 'R';
    while (!qsl.empty() && qsl.back() == ' ') qsl.pop_back();
    r.Qso.Field[kQSL] = qsl;
    r.Ok = true;
    return r;
}

int ImportAdif(const std::string& adifPath, const std::string& dir, std::ostream& out, std::ostream& err) {
    std::string bytes;
    if (!ReadWholeFile(adifPath, &bytes)) {
        err << "import-adif: cannot read " << adifPath << "\n";
        return 2;
    }
    AdifFile file = ParseAdif(bytes);
    if (file.Records.empty() && !file.UnterminatedTail) {
        err << "import-adif: " << adifPath << " holds no ADIF records\n";
        return 3;
    }
    out << "reading " << adifPath << " ("
        << (file.Encoding == AdifEncoding::Utf8 ? "UTF-8" : file.Encoding == AdifEncoding::ShiftJis ? "Shift_JIS" : "ASCII")
        << ")\n";
    std::vector<AdifImport> ok;
    std::map<std::string, int> reasons;
    int skipped = 0, notes = 0;
    for (const AdifRecord& rec : file.Records) {
        AdifImport imp = ConvertAdifRecord(rec, file.Encoding);
        const std::string* call = rec.Find("CALL");
        std::string who = "record " + std::to_string(rec.Ordinal) + " (line " + std::to_string(rec.Line) +
                          (call ? ", " + TrimBlanks(*call) : std::string()) + ")";
        if (!imp.Ok) {
            out << "skipped " << who << ": " << imp.Reason << "\n";
            ++skipped;
            std::string kind = imp.Reason.substr(0, imp.Reason.find(' '));
            ++reasons[imp.Reason.compare(0, 3, "no ") == 0 ? imp.Reason : kind + " unusable"];
            continue;
        }
        for (const std::string& n : imp.Notes) {
            out << "note " << who << ": " << n << "\n";
            ++notes;
        }
        ok.push_back(std::move(imp));
    }
    if (file.UnterminatedTail) {
        out << "skipped the fields from line " << file.TailLine << " on: no <EOR> closes them\n";
        ++skipped;
        ++reasons["no <EOR>"];
    }
    if (file.RemeasuredFields)
        out << "note: " << file.RemeasuredFields
            << " multi-line field(s) declared lengths for CR LF line ends; read with LF line ends\n";
    if (file.TruncatedFields)
        out << "note: " << file.TruncatedFields << " field(s) ran past the end of the file and were cut\n";
    // Date and time order, records of the same minute in file order.
    std::stable_sort(ok.begin(), ok.end(), [](const AdifImport& a, const AdifImport& b) { return a.SortKey < b.SortKey; });

    std::string logPath = InDir(dir, kLogFileName), indexPath = InDir(dir, kIndexFileName);
    if (!LogFile::CreateEmpty(logPath.c_str())) {
        err << "import-adif: cannot create " << logPath << "\n";
        return 4;
    }
    LogFile log;
    std::vector<unsigned char> recs(ok.size() * kLogRecordSize);
    for (size_t i = 0; i < ok.size(); ++i) PackRecord(ok[i].Qso, &recs[i * kLogRecordSize]);
    if (!log.Open(logPath.c_str(), true, false) ||
        (!ok.empty() && !log.AppendMany(recs.data(), uint32_t(ok.size())))) {
        err << "import-adif: cannot write " << logPath << "\n";
        return 4;
    }
    log.Close();
    std::string error;
    if (!BuildIndexOfLog(logPath.c_str(), indexPath.c_str(), &error)) {
        err << "import-adif: " << error << "\n";
        return 4;
    }
    out << "imported " << ok.size() << ", skipped " << skipped << ", notes " << notes << "\n";
    for (const auto& kv : reasons) out << "  skipped for " << kv.first << ": " << kv.second << "\n";
    return 0;
}

int MakeMaster(const std::string& jcc, const std::string& jcg, const std::string& ku, const std::string& dir,
               std::ostream& out, std::ostream& err) {
    std::vector<MasterEntry> entries;
    struct Source { const char* Kind; const std::string* Path; };
    const Source sources[] = {{"JCC", &jcc}, {"JCG", &jcg}, {"ward", &ku}};
    for (const Source& s : sources) {
        if (s.Path->empty()) continue;
        std::string bytes;
        if (!ReadWholeFile(*s.Path, &bytes)) {
            err << "make-master: cannot read " << *s.Path << "\n";
            return 2;
        }
        JarlList list = ParseJarlList(bytes);
        if (list.Entries.empty()) {
            err << "make-master: " << *s.Path << " holds no " << s.Kind << " entries\n";
            return 3;
        }
        int deleted = 0;
        for (const std::string& p : list.Problems) out << "skipped " << *s.Path << " " << p << "\n";
        for (const JarlEntry& e : list.Entries) {
            if (e.Deleted) ++deleted;
            if (e.Deleted && !e.DeletedYear)
                out << "note " << *s.Path << " line " << e.Line << ": " << e.Code
                    << " is marked deleted without a date; its name carries '*' alone\n";
            entries.push_back(ToMasterEntry(e));
        }
        out << s.Kind << ": " << list.Entries.size() << " entries, " << deleted << " deleted, "
            << list.Problems.size() << " skipped\n";
    }
    if (entries.empty()) {
        err << "make-master: give at least --jcc or --jcg\n";
        return 1;
    }
    std::string path = InDir(dir, kMasterFileName);
    if (!MasterFile::Write(path.c_str(), entries)) {
        err << "make-master: cannot write " << path << "\n";
        return 4;
    }
    out << "wrote " << path << ": " << entries.size() << " records\n";
    return 0;
}

int Generate(uint32_t count, uint64_t seed, const std::string& masterPath, const std::string& dir,
             std::ostream& out, std::ostream& err) {
    MasterFile master;
    if (!master.Open(masterPath.c_str(), true)) {
        err << "generate: cannot read the master " << masterPath
            << " (make one with vireon-tool make-master, or name one with --master)\n";
        return 2;
    }
    std::string error;
    if (!GenerateLog(count, seed, master, InDir(dir, kLogFileName), InDir(dir, kIndexFileName), &error)) {
        err << "generate: " << error << "\n";
        return 4;
    }
    out << "generated " << count << " QSOs (seed " << seed << ")\n";
    return 0;
}

int RebuildIndex(const std::string& dir, std::ostream& out, std::ostream& err) {
    std::string error, logPath = InDir(dir, kLogFileName);
    if (!BuildIndexOfLog(logPath.c_str(), InDir(dir, kIndexFileName).c_str(), &error)) {
        err << "index: " << error << "\n";
        return 2;
    }
    out << "indexed " << logPath << "\n";
    return 0;
}

int DumpLog(const std::string& dir, std::ostream& out, std::ostream& err) {
    std::string logPath = InDir(dir, kLogFileName);
    LogFile log;
    if (!log.Open(logPath.c_str(), false, true)) {
        err << "dump: cannot open the log " << logPath << " (missing or not a log)\n";
        return 2;
    }
    static const QsoField kOrder[] = {kCall, kDate, kTime, kHis, kMy, kFreq, kMode, kCode,
                                      kGL, kQSL, kName, kQTH, kRemarks1, kRemarks2};
    std::string line;
    for (uint32_t r = 1; r <= log.Count(); ++r) {
        const unsigned char* rec = log.Record(int32_t(r));
        if (!rec) {
            err << "dump: record " << r << " cannot be read\n";
            return 3;
        }
        line = std::to_string(r);
        for (QsoField f : kOrder) {
            line += '\t';
            line += reinterpret_cast<const char*>(rec + kFieldSlots[f].Offset);
        }
        line += '\n';
        out << line;
    }
    return 0;
}

}  // namespace vireon
