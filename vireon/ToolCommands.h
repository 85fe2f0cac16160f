// The subcommands of vireon-tool, as functions so that the benchmark and the
// fuzz target can run them too. Each writes its report to `out`, its errors
// to `err`, and returns the process exit code (0 = success).
#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "vireon/Adif.h"
#include "vireon/Store.h"

namespace vireon {

constexpr const char* kLogFileName = "vireon.vdb";
constexpr const char* kIndexFileName = "vireon.dx0";
constexpr const char* kMasterFileName = "vireon.mst";

// Exit codes of vireon-tool (docs/stand-in.md lists them).
enum ToolExit {
    kExitOk = 0,          // done; every record imported as written
    kExitPartly = 1,      // import-adif wrote the log, but some records were skipped or changed
    kExitUsage = 2,       // bad usage: arguments, an input that cannot be read, a log import-adif must not replace
    kExitNothing = 3,     // the input holds nothing to import or list
    kExitResources = 4,   // out of memory, or a file could not be written; the old files are as they were
};

// How the texts of one ADIF record were read.
enum class RecordEncoding { Ascii, Utf8, ShiftJis, Mixed };

// What import-adif does with one ADIF record: the QSO, or why not.
struct AdifImport {
    bool Ok = false;
    std::string Reason;             // when not Ok
    uint64_t SortKey = 0;           // YYYYMMDDHHMMSS as a number
    QsoTexts Qso;
    std::vector<std::string> Notes; // what the reader or the conversion changed or dropped
    RecordEncoding Encoding = RecordEncoding::Ascii;
};
// The record's encoding is decided from all its values: UTF-8 when every one
// is valid UTF-8, else Shift_JIS when every one is valid CP932, else each
// value on its own, the bytes that are neither becoming '?' (with a note).
AdifImport ConvertAdifRecord(const AdifRecord& rec);
// The encoding's name in import-adif's report.
const char* EncodingName(RecordEncoding e);
// The text without the white space at its ends.
std::string TrimBlanks(const std::string& s);

struct ImportOptions {
    bool Replace = false;   // replace an existing log and index (only once the import has finished)
};
int ImportAdif(const std::string& adifPath, const std::string& dir, const ImportOptions& options,
               std::ostream& out, std::ostream& err);
int MakeMaster(const std::string& jcc, const std::string& jcg, const std::string& ku, const std::string& dir,
               std::ostream& out, std::ostream& err);
// masterPath empty: vireon.mst in dir when there is one, else the small
// built-in sample master (the report says which). A folder that already
// holds a log or an index is refused (kExitUsage, nothing changed) unless
// replace is given.
int Generate(uint32_t count, uint64_t seed, const std::string& masterPath, bool replace, const std::string& dir,
             std::ostream& out, std::ostream& err);
int RebuildIndex(const std::string& dir, std::ostream& out, std::ostream& err);
int DumpLog(const std::string& dir, std::ostream& out, std::ostream& err);

bool ReadWholeFile(const std::string& path, std::string* bytes);

}  // namespace vireon
