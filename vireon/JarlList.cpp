#include "vireon/JarlList.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace vireon {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "Nov. 30,1973" and its irregular forms: a month name, then the day and a
// four-digit year as the first and last runs of digits.
bool ParseWesternDate(const std::string& s, int* year, int* month) {
    static const char* const kMonths[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                            "jul", "aug", "sep", "oct", "nov", "dec"};
    size_t i = 0;
    while (i < s.size() && !std::isalpha(static_cast<unsigned char>(s[i]))) ++i;
    if (i + 3 > s.size()) return false;
    char m[4] = {};
    for (int k = 0; k < 3; ++k) m[k] = static_cast<char>(std::tolower(static_cast<unsigned char>(s[i + k])));
    *month = 0;
    for (int k = 0; k < 12; ++k)
        if (std::strcmp(m, kMonths[k]) == 0) *month = k + 1;
    if (!*month) return false;
    int lastRun = -1, runs = 0;
    for (size_t p = i; p < s.size();) {
        if (!IsDigit(s[p])) { ++p; continue; }
        int v = 0, len = 0;
        while (p < s.size() && IsDigit(s[p])) {
            if (++len <= 6) v = v * 10 + (s[p] - '0');
            ++p;
        }
        ++runs;
        if (len == 4) lastRun = v;
    }
    if (runs < 2 || lastRun < 1800) return false;
    *year = lastRun;
    return true;
}

// "平成元年2月12日以前": era, year (元 = 1), month.
bool ParseEraDate(const std::string& s, int* year, int* month) {
    struct Era { const char* Name; int Base; };
    static const Era kEras[] = {{"明治", 1867}, {"大正", 1911}, {"昭和", 1925}, {"平成", 1988}, {"令和", 2018}};
    for (const Era& e : kEras) {
        size_t at = s.find(e.Name);
        if (at == std::string::npos) continue;
        size_t p = at + std::strlen(e.Name);
        int y = 0;
        if (s.compare(p, std::strlen("元"), "元") == 0) {
            y = 1;
            p += std::strlen("元");
        } else {
            while (p < s.size() && IsDigit(s[p]) && y < 1000) y = y * 10 + (s[p++] - '0');
        }
        if (y == 0 || s.compare(p, std::strlen("年"), "年") != 0) return false;
        p += std::strlen("年");
        int m = 0;
        while (p < s.size() && IsDigit(s[p]) && m < 100) m = m * 10 + (s[p++] - '0');
        if (m < 1 || m > 12 || s.compare(p, std::strlen("月"), "月") != 0) return false;
        *year = e.Base + y;
        *month = m;
        return true;
    }
    return false;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// Drops trailing blanks, ASCII and the double-byte blank (0x81 0x40).
std::string TrimNameEnd(std::string s) {
    for (;;) {
        if (!s.empty() && (s.back() == ' ' || s.back() == '\t')) { s.pop_back(); continue; }
        if (s.size() >= 2 && s.compare(s.size() - 2, 2, "\x81\x40") == 0) {
            // Only when the 0x81 really is a lead byte, not a trail byte.
            size_t i = 0;
            while (i + 2 < s.size()) i += IsCp932LeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
            if (i == s.size() - 2) { s.resize(s.size() - 2); continue; }
        }
        return s;
    }
}

bool ParseLine(const std::string& line, JarlEntry* e, std::string* problem) {
    size_t p = 0;
    while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
    bool star = false;
    if (p < line.size() && line[p] == '*') {
        star = true;
        ++p;
        while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
    }
    size_t codeAt = p;
    while (p < line.size() && IsDigit(line[p])) ++p;
    size_t codeLen = p - codeAt;
    if (codeLen == 0) return false;   // not an entry line (title, prefecture, town)
    bool kome = line.compare(p, std::strlen("※"), "※") == 0;
    if (codeLen < 4 || codeLen > 6 || !(p == line.size() || line[p] == ' ' || line[p] == '\t' || kome)) {
        *problem = "no 4- to 6-digit code";
        return !star ? false : true;
    }
    e->Code = line.substr(codeAt, codeLen);
    e->Deleted = star || kome;
    if (kome) p += std::strlen("※");
    // The romanised name: the ASCII run after the code. A name in the list's
    // own script that begins with an ASCII character ("(欠番）") is split off
    // at the last wide gap.
    size_t romanAt = p;
    while (p < line.size() && static_cast<unsigned char>(line[p]) < 0x80 && line[p] != '"') ++p;
    std::string asciiRun = line.substr(romanAt, p - romanAt);
    std::string roman = Trim(asciiRun);
    std::string namePrefix;
    size_t gap = roman.rfind("  ");
    if (p < line.size() && static_cast<unsigned char>(line[p]) >= 0x80 && gap != std::string::npos &&
        asciiRun.back() != ' ' && asciiRun.back() != '\t') {
        namePrefix = Trim(roman.substr(gap));
        roman = Trim(roman.substr(0, gap));
    }
    e->Roman = roman;
    // The name: characters up to an ASCII blank or quote.
    size_t nameAt = p;
    while (p < line.size() && line[p] != ' ' && line[p] != '\t' && line[p] != '"')
        p += IsCp932LeadByte(static_cast<unsigned char>(line[p])) && p + 1 < line.size() ? 2 : 1;
    e->Name = TrimNameEnd(namePrefix + line.substr(nameAt, p - nameAt));
    if (e->Name.empty()) {
        *problem = "no name";
        return true;
    }
    std::string rest = Trim(line.substr(p));
    if (e->Deleted && !rest.empty()) {
        // (A double-byte blank may stand before the quote.)
        size_t quote = rest.find('"');
        bool ok = quote != std::string::npos
                      ? ParseWesternDate(rest.substr(quote), &e->DeletedYear, &e->DeletedMonth)
                      : ParseEraDate(rest, &e->DeletedYear, &e->DeletedMonth);
        if (!ok) {
            *problem = "unreadable deletion date";
            return true;
        }
    }
    return true;
}

}  // namespace

JarlList ParseJarlList(const std::string& bytes) {
    JarlList list;
    size_t start = 0;
    int lineNo = 0;
    while (start <= bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ++lineNo;
        JarlEntry e;
        std::string problem;
        if (ParseLine(line, &e, &problem)) {
            if (problem.empty()) {
                e.Line = lineNo;
                list.Entries.push_back(e);
            } else {
                list.Problems.push_back("line " + std::to_string(lineNo) + ": " + problem);
            }
        }
        if (end == bytes.size()) break;
        start = end + 1;
    }
    return list;
}

MasterEntry ToMasterEntry(const JarlEntry& e) {
    MasterEntry m;
    m.Code = e.Code;
    m.Roman = e.Roman;
    if (!e.Deleted) {
        m.Name = TruncateCp932(e.Name, kMasterNameBytes);
    } else if (e.DeletedYear) {
        char mark[16];
        std::snprintf(mark, sizeof mark, "*%02d/%02d", e.DeletedYear % 100, e.DeletedMonth);
        m.Name = TruncateCp932(e.Name, kMasterNameBytes - std::strlen(mark)) + mark;
    } else {
        // Deleted (or reserved) without a date: the mark alone.
        m.Name = TruncateCp932(e.Name, kMasterNameBytes - 1) + "*";
    }
    return m;
}

}  // namespace vireon
