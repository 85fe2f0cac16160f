#include "vireon/Adif.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace vireon {

const std::string* AdifRecord::Find(const char* name) const {
    for (const AdifField& f : Fields)
        if (f.Name == name) return &f.Value;
    return nullptr;
}

namespace {

constexpr size_t kChunkBytes = 256 * 1024;
// "<NAME:LENGTH:TYPE>" longer than this is taken for text, not a tag.
constexpr size_t kMaxTagBytes = 128;

bool IsNameChar(unsigned char c) { return std::isalnum(c) || c == '_'; }
bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// What a '<' opens.
struct Tag {
    std::string Name;     // upper-case
    bool Bare = false;    // <NAME> without a length
    std::string Length;   // the text between the first ':' and the next ':' or '>'
    size_t End = 0;       // just after '>'
};

}  // namespace

AdifReader::AdifReader(Source source) : source_(std::move(source)) {}

bool AdifReader::Fill(size_t need) {
    while (buf_.size() - pos_ < need && !eof_) {
        if (pos_ > 0) {   // what has been read is dropped before more is read
            buf_.erase(0, pos_);
            pos_ = 0;
        }
        size_t old = buf_.size();
        size_t want = std::max(kChunkBytes, need - old);
        buf_.resize(old + want);
        bool failed = false;
        size_t got = source_(&buf_[old], want, &failed);
        buf_.resize(old + std::min(got, want));
        if (failed) failed_ = true;
        if (failed || got == 0) eof_ = true;
    }
    return buf_.size() - pos_ >= need;
}

void AdifReader::Consume(size_t to) {
    size_t end = std::min(pos_ + to, buf_.size());
    line_ += static_cast<int>(std::count(buf_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                         buf_.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
    pos_ = end;
}

// Offsets below are counted from pos_; the caller has filled the buffer far
// enough (a tag needs kMaxTagBytes after its '<').

bool AdifReader::EndsCleanly(size_t at) {
    size_t p = pos_ + at;
    if (p >= buf_.size()) return true;   // the end of the file
    unsigned char c = static_cast<unsigned char>(buf_[p]);
    return c == '<' || IsBlank(c);
}

namespace {
// A tag at s[at]: '<', a name, then '>' or ':' and a length up to '>'.
// strict: only what a writer meant as a tag (<EOR>, <EOH>, or a length of
// digits, perhaps empty or negative), as looked for inside another field's
// data: "<b>" or "<a:b>" in a comment are text.
bool ParseTag(const std::string& s, size_t at, bool strict, Tag* tag) {
    size_t n = std::min(s.size(), at + kMaxTagBytes);
    if (at >= n || s[at] != '<') return false;
    size_t p = at + 1;
    while (p < n && IsNameChar(static_cast<unsigned char>(s[p]))) ++p;
    if (p == at + 1 || p >= n) return false;
    std::string name = Upper(s.substr(at + 1, p - at - 1));
    if (s[p] == '>') {
        if (strict && name != "EOR" && name != "EOH") return false;
        tag->Name = name;
        tag->Bare = true;
        tag->Length.clear();
        tag->End = p + 1;
        return true;
    }
    if (s[p] != ':') return false;
    size_t lengthStart = ++p;
    while (p < n && s[p] != '>' && s[p] != '<' && s[p] != '\n' && s[p] != '\r') ++p;
    if (p >= n || s[p] != '>') return false;
    std::string length = s.substr(lengthStart, p - lengthStart);
    length = length.substr(0, length.find(':'));
    if (strict) {   // a length a writer could have meant: digits, perhaps none, perhaps a '-'
        size_t d = !length.empty() && length[0] == '-' ? 1 : 0;
        for (; d < length.size(); ++d)
            if (!std::isdigit(static_cast<unsigned char>(length[d]))) return false;
    }
    tag->Name = name;
    tag->Bare = false;
    tag->Length = length;
    tag->End = p + 1;
    return true;
}
}  // namespace

bool AdifReader::TagAt(size_t at, size_t* end, std::string* name) {
    Tag t;
    if (!ParseTag(buf_, pos_ + at, true, &t)) return false;
    if (end) *end = t.End - pos_;
    if (name) *name = t.Name;
    return true;
}

size_t AdifReader::NextTag(size_t from, size_t limit) {
    Fill(limit + kMaxTagBytes);
    size_t avail = buf_.size() - pos_;
    limit = std::min(limit, avail);
    for (size_t at = from; at < limit; ++at) {
        at = buf_.find('<', pos_ + at);
        if (at == std::string::npos || at - pos_ >= limit) return limit;
        at -= pos_;
        if (TagAt(at, nullptr, nullptr)) return at;
    }
    return limit;
}

bool AdifReader::SpanHasTag(size_t from, size_t to, std::string* which) {
    for (size_t at = from; at < to; ++at) {
        size_t p = buf_.find('<', pos_ + at);
        if (p == std::string::npos || p - pos_ >= to) return false;
        at = p - pos_;
        if (TagAt(at, nullptr, which)) return true;
    }
    return false;
}

bool AdifReader::Emit(AdifRecord* record, bool terminated) {
    current_.Ordinal = ++ordinal_;
    current_.Terminated = terminated;
    *record = std::move(current_);
    current_ = AdifRecord();
    recordBytes_ = 0;
    recordOverflow_ = false;
    return true;
}

void AdifReader::AddField(const std::string& name, size_t valueAt, size_t valueEnd) {
    size_t size = valueEnd - valueAt;
    if (recordOverflow_ || recordBytes_ + size > kAdifMaxRecordBytes) {
        if (!recordOverflow_)
            current_.Problems.push_back("the record holds more than " + std::to_string(kAdifMaxRecordBytes) +
                                        " bytes; " + name + " (line " + std::to_string(line_) +
                                        ") and the fields after it were dropped");
        recordOverflow_ = true;
        return;
    }
    recordBytes_ += size;
    current_.Fields.push_back({name, buf_.substr(pos_ + valueAt, size)});
}

bool AdifReader::Next(AdifRecord* record) {
    if (!started_) {
        started_ = true;
        Fill(3);
        if (buf_.compare(pos_, 3, "\xEF\xBB\xBF") == 0) Consume(3);
        // A file that begins with anything but '<' has a header up to <EOH>.
        // (A header that an <EOR> ends before any <EOH> was no header: its
        // fields are the first record's, as they were read.)
        inHeader_ = Fill(1) && buf_[pos_] != '<';
    }
    for (;;) {
        // Text between fields is passed over up to the next '<'.
        for (;;) {
            size_t lt = buf_.find('<', pos_);
            if (lt != std::string::npos) {
                Consume(lt - pos_);
                break;
            }
            Consume(buf_.size() - pos_);
            if (!Fill(1)) {
                if (!current_.Fields.empty()) return Emit(record, false);
                return false;
            }
        }
        Fill(kMaxTagBytes);
        Tag tag;
        if (!ParseTag(buf_, pos_, false, &tag)) {
            Consume(1);   // a '<' that opens no tag
            continue;
        }
        size_t tagEnd = tag.End - pos_;
        if (tag.Bare) {
            Consume(tagEnd);
            if (tag.Name == "EOH") {
                inHeader_ = false;
                current_ = AdifRecord();
                recordBytes_ = 0;
                recordOverflow_ = false;
            } else if (tag.Name == "EOR") {
                inHeader_ = false;
                if (!current_.Fields.empty()) return Emit(record, true);
                current_ = AdifRecord();
            }
            continue;
        }

        // <NAME:LENGTH[:TYPE]>: check the length against what follows.
        const int tagLine = line_;
        const size_t valueAt = tagEnd;
        size_t valueEnd = valueAt;
        std::string problem;
        const std::string& lengthText = tag.Length;
        bool number = !lengthText.empty() && std::all_of(lengthText.begin(), lengthText.end(), [](char c) { return c >= '0' && c <= '9'; });
        size_t length = 0;
        bool absurd = false;
        if (number)
            for (char c : lengthText) {
                length = length * 10 + size_t(c - '0');
                if (length > kAdifMaxValueBytes) { absurd = true; break; }
            }
        if (!number) {
            problem = "length \"" + lengthText + "\" is " +
                      (!lengthText.empty() && lengthText[0] == '-' ? "negative" : "not a number");
        } else if (absurd) {
            problem = "length " + lengthText + " is absurd (more than " + std::to_string(kAdifMaxValueBytes) + " bytes)";
        } else {
            Fill(valueAt + length + kMaxTagBytes);
            size_t avail = buf_.size() - pos_;
            if (valueAt + length > avail) {
                problem = "length " + lengthText + " runs past the end of the file";
            } else {
                std::string inside;
                bool tagInside = SpanHasTag(valueAt, valueAt + length, &inside);
                if (!tagInside && EndsCleanly(valueAt + length)) {
                    valueEnd = valueAt + length;
                } else {
                    // A multi-line value whose length counted CR LF line ends
                    // in a file whose line ends became LF: counting each LF as
                    // two bytes ends cleanly where the declared length did not.
                    size_t take = 0, counted = 0;
                    const char* v = buf_.data() + pos_ + valueAt;
                    bool lfOnly = std::memchr(v, '\n', length) && !std::memchr(v, '\r', length);
                    if (lfOnly)
                        while (counted < length) {
                            counted += v[take] == '\n' ? 2 : 1;
                            ++take;
                        }
                    std::string ignored;
                    if (lfOnly && take < length && counted == length && EndsCleanly(valueAt + take) &&
                        !SpanHasTag(valueAt, valueAt + take, &ignored)) {
                        valueEnd = valueAt + take;
                        current_.Problems.push_back(tag.Name + ": length " + lengthText +
                                                    " counts CR LF line ends; read with the file's LF line ends (" +
                                                    std::to_string(take) + " bytes)");
                    } else if (tagInside) {
                        problem = "length " + lengthText +
                                  (inside == "EOR" ? std::string(" runs past the record's <EOR>")
                                                   : " runs into the next field <" + inside + ">");
                    } else {
                        problem = "length " + lengthText + " ends inside the text that follows it";
                    }
                }
            }
        }
        if (!problem.empty()) {
            // Re-synchronise: the value is what comes before the next tag
            // (blanks between the two left out).
            size_t next = NextTag(valueAt, valueAt + kAdifMaxValueBytes);
            size_t end = next;
            while (end > valueAt && IsBlank(static_cast<unsigned char>(buf_[pos_ + end - 1]))) --end;
            valueEnd = end;
            bool atEof = pos_ + next >= buf_.size() && eof_;
            problem = tag.Name + ": " + problem + "; read up to the " + (atEof ? "end of the file" : "next tag") +
                      " (" + std::to_string(end - valueAt) + " bytes)";
        }

        // A name that this record has already begins the next record.
        AdifRecord finished;
        bool split = !inHeader_ && current_.Find(tag.Name.c_str()) != nullptr;
        if (split) {
            current_.Problems.push_back("no <EOR> closes it; a second " + tag.Name + " (line " +
                                        std::to_string(tagLine) + ") begins the next record");
            Emit(&finished, true);
        }
        if (current_.Fields.empty()) current_.Line = tagLine;
        if (!problem.empty()) current_.Problems.push_back(problem);
        AddField(tag.Name, valueAt, valueEnd);
        Consume(valueEnd);
        if (split) {
            *record = std::move(finished);
            return true;
        }
    }
}

std::vector<AdifRecord> ReadAdifRecords(const std::string& bytes) {
    size_t at = 0;
    AdifReader reader([&](char* buf, size_t n, bool*) {
        size_t k = std::min(n, bytes.size() - at);
        std::memcpy(buf, bytes.data() + at, k);
        at += k;
        return k;
    });
    std::vector<AdifRecord> records;
    AdifRecord r;
    while (reader.Next(&r)) records.push_back(std::move(r));
    return records;
}

}  // namespace vireon
