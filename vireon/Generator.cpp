#include "vireon/Generator.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace vireon {

namespace {

class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed) {}
    uint64_t Next() {   // splitmix64
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return n ? static_cast<uint32_t>(((Next() >> 32) * n) >> 32) : 0; }
    bool Percent(uint32_t p) { return Below(100) < p; }
    // Skewed towards 0: a few indexes very often, a long tail rarely.
    uint32_t Skewed(uint32_t n) {
        uint64_t u = Next() >> 32;
        u = (u * u) >> 32;
        u = (u * (Next() >> 32)) >> 32;
        return static_cast<uint32_t>((u * n) >> 32);
    }
    template <class T, size_t N> const T& Pick(const T (&a)[N]) { return a[Below(N)]; }

private:
    uint64_t s_;
};

// JARL call area of a prefecture number 1..47.
int CallAreaOfPrefecture(int pref) {
    if (pref == 1) return 8;
    if (pref <= 7) return 7;
    if (pref <= 9) return 0;
    if (pref <= 17) return 1;
    if (pref <= 21) return 2;
    if (pref <= 27) return 3;
    if (pref <= 30) return 9;
    if (pref <= 35) return 4;
    if (pref <= 39) return 5;
    return 6;
}

struct CodePool {
    std::vector<std::string> City, Ward, County;   // 6 characters each
};

std::string NameWithoutMark(const unsigned char* rec) {
    std::string n(reinterpret_cast<const char*>(rec + kMasterNameOffset),
                  strnlen(reinterpret_cast<const char*>(rec + kMasterNameOffset), kMasterNameBytes));
    size_t star = n.find('*');
    return star == std::string::npos ? n : n.substr(0, star);
}

struct Station {
    std::string Call;
    std::string Code;
    std::string Qth;
    std::string Name;
    std::string Grid;
    bool Foreign = false;
};

const char* const kJaPrefixes[] = {"JA", "JA", "JA", "JE", "JF", "JG", "JH", "JH", "JI", "JJ", "JK",
                                   "JL", "JM", "JN", "JO", "JP", "JQ", "JR", "JS", "7K", "7L", "7M", "7N"};
const char* const kForeignPrefixes[] = {"W", "K", "N", "AA", "KH6", "VE", "DL", "G", "F", "I", "EA",
                                        "VK", "ZL", "BV", "HL", "BY", "UA", "YB", "DU", "9M", "HS", "PY"};
const char* const kFamilyNames[] = {"佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "山本", "中村",
                                    "小林", "加藤", "吉田", "山田", "佐々木", "山口", "松本", "井上"};
const char* const kGivenNames[] = {"太郎", "一郎", "健", "誠", "浩", "隆", "博", "聡", "ひろし", "まこと", "ヨシオ"};
const char* const kRemarks[] = {"", "", "", "", "", "QSL via JARL", "ビューロー経由", "移動運用",
                                "コンテスト", "FB QSO", "eQSL", "LoTW"};
const char* const kGridSquares[] = {"PM95", "PM85", "PM74", "QM06", "QN02", "PM53", "PM42", "QM07", "PM96", "PL36"};

struct BandPlan {
    const char* Label;     // as Japanese logs write the band
    int LowKHz, HighKHz;   // a stretch inside the band
    int Weight;
};
const BandPlan kBands[] = {
    {"1.9", 1810, 1825, 2},      {"3.5", 3500, 3575, 5},      {"7", 7000, 7200, 25},
    {"10", 10100, 10150, 4},     {"14", 14000, 14350, 10},    {"18", 18068, 18168, 4},
    {"21", 21000, 21450, 10},    {"24", 24890, 24990, 3},     {"28", 28000, 29700, 7},
    {"50", 50000, 54000, 10},    {"144", 144000, 146000, 9},  {"430", 430000, 440000, 7},
    {"1200", 1260000, 1300000, 2}, {"2400", 2400000, 2450000, 1},
};
const char* const kOutOfBand[] = {"5.357", "70.200", "0.475", "10489.550", "4.630", "26.965", "0"};

void CivilFromDays(int z, int* y, int* m, int* d) {   // days since 1970-01-01
    z += 719468;
    int era = (z >= 0 ? z : z - 146096) / 146097;
    int doe = z - era * 146097;
    int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = yoe + era * 400 + (*m <= 2);
}

std::string MakeSuffix(Rng& r, int letters) {
    std::string s;
    for (int i = 0; i < letters; ++i) s += char('A' + r.Below(26));
    return s;
}

const std::string& PickCode(Rng& r, const CodePool& pool, int* shape) {
    // city 45 %, ward 15 %, county and town 40 %
    uint32_t u = r.Below(100);
    if (u < 45 || (pool.Ward.empty() && pool.County.empty())) { *shape = 0; return pool.City[r.Below(uint32_t(pool.City.size()))]; }
    if ((u < 60 && !pool.Ward.empty()) || pool.County.empty()) { *shape = 1; return pool.Ward[r.Below(uint32_t(pool.Ward.size()))]; }
    *shape = u < 85 ? 2 : 3;
    return pool.County[r.Below(uint32_t(pool.County.size()))];
}

Station MakeJaStation(Rng& r, const CodePool& pool, const std::string& forcedCall, int forcedPref) {
    Station s;
    int shape = 0;
    for (int tries = 0; tries < 64; ++tries) {
        s.Code = PickCode(r, pool, &shape);
        if (forcedPref == 0 || (s.Code[0] - '0') * 10 + (s.Code[1] - '0') == forcedPref) break;
    }
    if (shape == 3) s.Code[5] = char('A' + r.Below(26));   // a town within the county
    int pref = (s.Code[0] - '0') * 10 + (s.Code[1] - '0');
    if (pref < 1 || pref > 47) pref = 10;
    if (!forcedCall.empty()) s.Call = forcedCall;
    else s.Call = std::string(r.Pick(kJaPrefixes)) + char('0' + CallAreaOfPrefecture(pref)) +
                  MakeSuffix(r, r.Percent(15) ? 2 : 3);
    s.Name = std::string(r.Pick(kFamilyNames)) + (r.Percent(50) ? r.Pick(kGivenNames) : "");
    s.Grid = r.Percent(70) ? r.Pick(kGridSquares) : "";
    return s;
}

Station MakeForeignStation(Rng& r) {
    Station s;
    s.Foreign = true;
    s.Call = std::string(r.Pick(kForeignPrefixes)) + char('0' + r.Below(10)) + MakeSuffix(r, 2 + r.Below(2));
    s.Grid = r.Percent(30) ? "FN31" : "";
    return s;
}

}  // namespace

std::vector<MasterEntry> BuiltInSampleMaster() {
    static const char* const kPrefectures[47] = {
        "北海道", "青森", "岩手", "秋田", "山形", "宮城", "福島", "新潟", "長野", "東京", "神奈川", "千葉",
        "埼玉", "茨城", "栃木", "群馬", "山梨", "静岡", "岐阜", "愛知", "三重", "京都", "滋賀", "奈良",
        "大阪", "和歌山", "兵庫", "富山", "福井", "石川", "岡山", "島根", "山口", "鳥取", "広島", "香川",
        "徳島", "愛媛", "高知", "福岡", "佐賀", "長崎", "熊本", "大分", "宮崎", "鹿児島", "沖縄"};
    static const char* const kOrdinals[3] = {"一", "二", "三"};
    std::vector<MasterEntry> e;
    char code[16], roman[32];
    for (int p = 1; p <= 47; ++p) {
        for (int c = 1; c <= 3; ++c) {
            std::snprintf(code, sizeof code, "%02d%02d", p, c);
            std::snprintf(roman, sizeof roman, "Sample city %02d-%d", p, c);
            e.push_back({code, std::string(kPrefectures[p - 1]) + "第" + kOrdinals[c - 1] + "市", roman});
        }
        for (int c = 1; c <= 2; ++c) {
            std::snprintf(code, sizeof code, "%02d%03d", p, c);
            std::snprintf(roman, sizeof roman, "Sample county %02d-%d", p, c);
            e.push_back({code, std::string(kPrefectures[p - 1]) + "第" + kOrdinals[c - 1] + "郡", roman});
        }
    }
    for (int w = 1; w <= 3; ++w) {
        std::snprintf(code, sizeof code, "1001%02d", w);
        std::snprintf(roman, sizeof roman, "Sample ward %d", w);
        e.push_back({code, std::string("東京第") + kOrdinals[w - 1] + "区", roman});
    }
    return e;
}

bool GenerateLog(uint32_t count, uint64_t seed, const MasterFile& master, const std::string& logPath,
                 const std::string& indexPath, std::string* error) {
    CodePool pool;
    std::map<std::string, std::string> codeNames;
    for (uint32_t r = 1; r <= master.Count(); ++r) {
        const unsigned char* rec = master.Record(int32_t(r));
        std::string code(reinterpret_cast<const char*>(rec), kMasterCodeBytes);
        int digits = 0;
        while (digits < 6 && code[size_t(digits)] >= '0' && code[size_t(digits)] <= '9') ++digits;
        int pref = digits >= 2 ? (code[0] - '0') * 10 + (code[1] - '0') : 0;
        if (pref < 1 || pref > 47) continue;
        if (digits == 4 && code.compare(4, 2, "  ") == 0) pool.City.push_back(code);
        else if (digits == 6) pool.Ward.push_back(code);
        else if (digits == 5 && code[5] == ' ') pool.County.push_back(code);
        else continue;
        codeNames.emplace(code, NameWithoutMark(rec));
    }
    if (pool.City.empty()) {
        *error = "the master holds no city codes (4 digits); make it with make-master first";
        return false;
    }
    auto qthOf = [&](const std::string& code) -> std::string {
        std::string key = code;
        if (key.size() == 6 && key[5] >= 'A' && key[5] <= 'Z') key[5] = ' ';
        auto it = codeNames.find(key);
        return it == codeNames.end() ? std::string() : it->second;
    };

    Rng r(seed ^ 0x5649524F4E4C4F47ULL);
    // The stations: a few fixed ones first (a five-character call and
    // six-character calls that begin with it, one of them very busy), then
    // random ones; low numbers are picked far more often than high ones.
    uint32_t stationCount = count / 6 > 64 ? count / 6 : 64;
    std::vector<Station> stations;
    stations.reserve(stationCount);
    stations.push_back(MakeJaStation(r, pool, "JA1AB", 10));
    stations.push_back(MakeJaStation(r, pool, kBusyCall, 10));
    stations.push_back(MakeJaStation(r, pool, "JA1ABD", 11));
    while (stations.size() < stationCount)
        stations.push_back(r.Percent(15) ? MakeForeignStation(r) : MakeJaStation(r, pool, "", 0));
    for (auto& s : stations) s.Qth = s.Foreign ? std::string() : qthOf(s.Code);
    // Two busy stations renamed (no further draws, so the rest of the log
    // stays as it was) to calls that begin alike, JA1AC, a text that is also
    // one character off JA1AB and JA1ABC: the check window's demo.
    if (stations.size() > 5) {
        stations[4].Call = "JA1ACE";
        stations[5].Call = "JA1ACK";
    }

    // The busy call gets more than 1000 QSOs in any log large enough.
    uint32_t busyPer10k = count >= 2300 ? std::max<uint32_t>(200, uint32_t(1150ULL * 10000 / count)) : 5000;

    int bandWeightTotal = 0;
    for (const BandPlan& b : kBands) bandWeightTotal += b.Weight;
    const int firstDay = 7305;                       // 1990-01-01
    const int64_t spanMinutes = int64_t(13514) * 1440;   // to 2026-12-31

    if (!LogFile::CreateEmpty(logPath.c_str())) {
        *error = "cannot create " + logPath;
        return false;
    }
    LogFile log;
    if (!log.Open(logPath.c_str(), true, false)) {
        *error = "cannot open " + logPath + " for writing";
        return false;
    }
    std::vector<std::pair<std::string, uint32_t>> entries;
    entries.reserve(count);
    const uint32_t kChunk = 4096;
    std::vector<unsigned char> chunk;
    chunk.reserve(size_t(kChunk) * kLogRecordSize);
    for (uint32_t i = 0; i < count; ++i) {
        const Station& st = r.Below(10000) < busyPer10k ? stations[1] : stations[r.Skewed(stationCount)];
        QsoTexts q;
        std::string call = st.Call;
        std::string code = st.Code;
        if (!st.Foreign) {
            uint32_t p = r.Below(100);
            if (p < 12) {
                // Operating away from home: another prefecture's code.
                int shape;
                code = PickCode(r, pool, &shape);
                if (shape == 3) code[5] = char('A' + r.Below(26));
                int pref = (code[0] - '0') * 10 + (code[1] - '0');
                if (p < 6) call += "/" + std::to_string(CallAreaOfPrefecture(pref));
                else if (p < 10) call += "/P";
                else call = "JD1/" + call;
            }
        }
        int64_t minute = int64_t(i) * spanMinutes / (count ? count : 1);
        int y, m, d;
        CivilFromDays(firstDay + int(minute / 1440), &y, &m, &d);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", y % 100, m, d);
        q.Field[kDate] = buf;
        std::snprintf(buf, sizeof buf, "%02d:%02d", int(minute % 1440) / 60, int(minute % 60));
        q.Field[kTime] = buf;
        q.Field[kCall] = call;
        q.Field[kCode] = code;

        // Band, frequency, mode.
        const BandPlan* band = nullptr;
        if (!r.Percent(1)) {
            int w = int(r.Below(uint32_t(bandWeightTotal)));
            for (const BandPlan& b : kBands) {
                if (w < b.Weight) { band = &b; break; }
                w -= b.Weight;
            }
        }
        if (!band) {
            q.Field[kFreq] = r.Pick(kOutOfBand);
        } else if (r.Percent(30)) {
            q.Field[kFreq] = band->Label;
        } else {
            uint32_t khz = uint32_t(band->LowKHz) + r.Below(uint32_t(band->HighKHz - band->LowKHz + 1));
            std::snprintf(buf, sizeof buf, "%u.%03u", khz / 1000, khz % 1000);
            q.Field[kFreq] = buf;
        }
        bool vhf = band && band->LowKHz >= 28000;
        static const char* const kHfModes[] = {"CW", "CW", "SSB", "SSB", "FT8", "FT8", "FT8", "RTTY", "FT4", "AM"};
        static const char* const kVhfModes[] = {"FM", "FM", "SSB", "CW", "FT8", "FM", "AM"};
        q.Field[kMode] = vhf ? r.Pick(kVhfModes) : r.Pick(kHfModes);
        const std::string& mode = q.Field[kMode];
        if (mode == "CW" || mode == "RTTY") { q.Field[kHis] = "599"; q.Field[kMy] = r.Percent(80) ? "599" : "579"; }
        else if (mode == "FT8" || mode == "FT4") {
            std::snprintf(buf, sizeof buf, "-%02u", r.Below(24));
            q.Field[kHis] = buf;
            std::snprintf(buf, sizeof buf, "-%02u", r.Below(24));
            q.Field[kMy] = buf;
        } else { q.Field[kHis] = "59"; q.Field[kMy] = r.Percent(80) ? "59" : "57"; }

        // QSL: about half confirmed; three positions, sent, via and
        // received, a blank where there is no mark.
        static const char* const kConfirmed[] = {"S R", "S R", "SJR", "  R", "SER", "SDR"};
        static const char* const kOpen[] = {"   ", "   ", "S  ", "S  ", "SJ ", "SD ", " E "};
        q.Field[kQSL] = r.Percent(50) ? r.Pick(kConfirmed) : r.Pick(kOpen);
        q.Field[kGL] = st.Grid;
        q.Field[kName] = st.Name;
        q.Field[kQTH] = code == st.Code ? st.Qth : qthOf(code);
        q.Field[kRemarks1] = r.Pick(kRemarks);
        q.Field[kRemarks2] = r.Percent(5) ? "2nd op" : "";

        StoredRecord rec;
        PackRecord(q, rec);
        chunk.insert(chunk.end(), rec, rec + kLogRecordSize);
        entries.emplace_back(call, i + 1);
        if (chunk.size() == size_t(kChunk) * kLogRecordSize || i + 1 == count) {
            if (!log.AppendMany(chunk.data(), uint32_t(chunk.size() / kLogRecordSize))) {
                *error = "cannot write " + logPath;
                return false;
            }
            chunk.clear();
        }
    }
    log.Close();
    if (!IndexFile::Write(indexPath.c_str(), std::move(entries))) {
        *error = "cannot write " + indexPath;
        return false;
    }
    return true;
}

}  // namespace vireon
