#include "vireon/Adif.h"

#include <cctype>
#include <cstring>

#include "vireon/Store.h"

namespace vireon {

const std::string* AdifRecord::Find(const char* name) const {
    for (const AdifField& f : Fields)
        if (f.Name == name) return &f.Value;
    return nullptr;
}

namespace {
bool IsNameChar(unsigned char c) { return std::isalnum(c) || c == '_'; }
}  // namespace

AdifFile ParseAdif(const std::string& in) {
    AdifFile file;
    size_t pos = 0, n = in.size();
    if (n >= 3 && std::memcmp(in.data(), "\xEF\xBB\xBF", 3) == 0) pos = 3;
    bool anyHigh = false;
    for (unsigned char c : in) if (c >= 0x80) { anyHigh = true; break; }
    file.Encoding = !anyHigh ? AdifEncoding::Ascii : IsValidUtf8(in.substr(pos)) ? AdifEncoding::Utf8
                                                                                 : AdifEncoding::ShiftJis;
    // A file that begins with anything but '<' has a header up to <EOH>.
    // (A header whose <EOH> is missing is taken as no header at all.)
    std::string upper = in;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    bool inHeader = pos < n && in[pos] != '<' && upper.find("<EOH>") != std::string::npos;
    int line = 1;
    size_t lineCountedTo = 0;
    auto lineAt = [&](size_t p) {
        for (; lineCountedTo < p && lineCountedTo < n; ++lineCountedTo)
            if (in[lineCountedTo] == '\n') ++line;
        return line;
    };
    bool hasCr = in.find('\r') != std::string::npos;
    AdifRecord current;
    while (pos < n) {
        size_t lt = in.find('<', pos);
        if (lt == std::string::npos) break;
        size_t p = lt + 1, nameStart = p;
        while (p < n && IsNameChar(static_cast<unsigned char>(in[p]))) ++p;
        if (p == nameStart || p >= n || (in[p] != ':' && in[p] != '>')) {
            pos = lt + 1;   // a '<' that opens no tag
            continue;
        }
        std::string name = in.substr(nameStart, p - nameStart);
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (in[p] == '>') {
            pos = p + 1;
            if (name == "EOH") {
                inHeader = false;
                current = AdifRecord();
            } else if (name == "EOR" && !inHeader) {
                if (!current.Fields.empty()) {
                    current.Ordinal = static_cast<int>(file.Records.size()) + 1;
                    file.Records.push_back(std::move(current));
                }
                current = AdifRecord();
            }
            continue;
        }
        // <NAME:LENGTH[:TYPE]>
        ++p;
        size_t digits = p;
        size_t length = 0;
        while (p < n && std::isdigit(static_cast<unsigned char>(in[p])) && p - digits < 9)
            length = length * 10 + size_t(in[p++] - '0');
        if (p == digits) { pos = lt + 1; continue; }
        if (p < n && in[p] == ':') {
            ++p;
            while (p < n && std::isalpha(static_cast<unsigned char>(in[p]))) ++p;
        }
        if (p >= n || in[p] != '>') { pos = lt + 1; continue; }
        size_t valueAt = p + 1;
        if (valueAt + length > n) {
            ++file.TruncatedFields;
            length = n - valueAt;
        }
        // A multi-line value whose length counted CR LF line ends in a file
        // whose line ends became LF: when the declared length ends inside the
        // text that follows and counting each LF as two bytes ends cleanly,
        // take the latter.
        if (!hasCr && length > 0) {
            auto endsCleanly = [&](size_t end) {
                return end >= n || in[end] == '<' || std::isspace(static_cast<unsigned char>(in[end]));
            };
            if (!endsCleanly(valueAt + length)) {
                size_t take = 0, counted = 0;
                while (counted < length && valueAt + take < n) {
                    counted += in[valueAt + take] == '\n' ? 2 : 1;
                    ++take;
                }
                if (take < length && counted == length && endsCleanly(valueAt + take)) {
                    length = take;
                    ++file.RemeasuredFields;
                }
            }
        }
        if (!inHeader) {
            if (current.Fields.empty()) current.Line = lineAt(lt);
            current.Fields.push_back({name, in.substr(valueAt, length)});
        }
        pos = valueAt + length;
    }
    if (!current.Fields.empty()) {
        file.UnterminatedTail = true;
        file.TailLine = current.Line;
    }
    return file;
}

}  // namespace vireon
