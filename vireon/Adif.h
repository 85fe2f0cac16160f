// Reading ADIF 3.1 files in the tagged form (.adi), one record at a time.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vireon {

struct AdifField {
    std::string Name;    // upper-case
    std::string Value;   // the bytes as in the file
};

struct AdifRecord {
    std::vector<AdifField> Fields;
    int Ordinal = 0;     // 1-based position in the file
    int Line = 0;        // line of its first field
    // False when the file ended before an <EOR> closed the record.
    bool Terminated = true;
    // What the reader had to decide about this record's fields, one text
    // each ("COMMENT: length 60 runs past the record's <EOR>; ..."): lengths
    // that did not fit, fields dropped, the record's end found without <EOR>.
    std::vector<std::string> Problems;
    // Multi-line values whose length counted CR LF line ends in a file with
    // LF line ends (a file whose line ends were converted after writing).
    int RemeasuredFields = 0;
    // The value of the first field of that name (upper-case), or null.
    const std::string* Find(const char* name) const;
};

// The reader never takes a declared length above this at its word (it is
// reported as absurd), and keeps at most this many bytes of one value.
constexpr size_t kAdifMaxValueBytes = 1 << 20;
// A record whose fields hold more bytes than this keeps its first fields;
// the rest are dropped and reported.
constexpr size_t kAdifMaxRecordBytes = 4 << 20;

// Reads an .adi file as a stream: it holds one record and a window of the
// file (a few hundred kilobytes, more only for a long value), never the file.
//
// The file: an optional header up to <EOH> (present when the file does not
// begin with '<'), then fields <NAME:LENGTH[:TYPE]> whose LENGTH counts the
// bytes of the data, records ended by <EOR>. Every length is checked: one that
// is not a number, is negative or absurd, runs past the end of the file, over
// the record's <EOR> or into the next field, or ends inside the text that
// follows, is reported in the record's Problems and the value is read up to
// the next tag instead, so that no later field or record is lost. A field
// name that comes again in one record begins the next record (an <EOR> was
// missing); that too is reported.
class AdifReader {
public:
    // Reads up to n bytes into buf; returns how many, 0 at the end of the
    // input. Sets *failed on a read error.
    using Source = std::function<size_t(char* buf, size_t n, bool* failed)>;
    explicit AdifReader(Source source);
    // The next record (also one the file ends inside, with Terminated false);
    // false at the end of the file or after a read error.
    bool Next(AdifRecord* record);
    bool ReadFailed() const { return failed_; }

private:
    bool Fill(size_t need);               // at least `need` bytes from pos_, if the input has them
    void Consume(size_t to);              // moves pos_ to `to`, counting lines
    bool TagAt(size_t at, size_t* end, std::string* name);   // a tag begins at buf_[at]
    size_t NextTag(size_t from, size_t limit);   // first tag at or after `from`, before `limit`
    bool SpanHasTag(size_t from, size_t to, std::string* which);
    bool EndsCleanly(size_t at);
    bool Emit(AdifRecord* record, bool terminated);
    void AddField(const std::string& name, size_t valueAt, size_t valueEnd);

    Source source_;
    std::string buf_;
    size_t pos_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool started_ = false;
    bool inHeader_ = false;
    int line_ = 1;
    int ordinal_ = 0;
    size_t recordBytes_ = 0;
    bool recordOverflow_ = false;
    AdifRecord current_;
    bool hasPending_ = false;     // a record ended by a repeated field name waits to be returned
    AdifRecord pending_;
};

// Every record of an .adi file held in memory (tests, the fuzz target).
std::vector<AdifRecord> ReadAdifRecords(const std::string& bytes);

}  // namespace vireon
