// Small helpers shared by the test executables of both builds: folders,
// files, the shared real-world data, starting the built tools.
#pragma once
#include <string>
#include <vector>
#include <gtest/gtest.h>

namespace test {

// Folder of the shared real-world data (JARL lists, ADIF logs), or "" when
// this clone has none beside it.
std::string SharedDataDir();
std::string SharedDataFile(const std::string& relative);   // "" when absent

// Folder where the build puts its programs and libraries (vireon50.dll,
// vireon-tool, loggerwin, CallsignCheck.exe).
std::string BinDir();
std::string BinFile(const std::string& name);

// Platform names of the built artefacts.
std::string LibraryFileName();      // vireon50.dll / vireon50.so
std::string ExeName(const std::string& base);   // base.exe on Windows

std::string JoinPath(const std::string& dir, const std::string& name);
bool FileExists(const std::string& path);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void CopyFileTo(const std::string& from, const std::string& to);
void RemoveFile(const std::string& path);
// Which file a name stands for and when it was last written, as text ("" for
// no file): a file put in its place is another file, even with the same
// bytes and times, and so gives another identity.
std::string FileIdentityOf(const std::string& path);
#if defined(_WIN32)
// The bytes of a file named in UTF-16 (a name code page 932 cannot hold);
// empty when there is none.
std::string ReadFileBytes(const std::wstring& path);
// Marks a file or folder so that it cannot be written (nothing can be made
// in a folder), not even by an administrator: under Wine with the Unix tool
// chattr, the only way a test can take the write right away from an
// administrator (a read-only mark does not hold for root). False when that
// cannot be done here.
bool MakeUnwritable(const std::string& path, bool unwritable);
#endif
bool MakeDir(const std::string& path);
void RemoveTree(const std::string& dir);   // the folder and everything in it

// A fresh, empty folder for one test, removed with everything in it at the
// end. Optionally made the current directory for its lifetime.
class TempDir {
public:
    explicit TempDir(const std::string& tag, bool enter = false);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return JoinPath(path_, name); }
private:
    std::string path_;
    std::string previous_;
};

// Runs a program to its end and returns its exit code (-1 when it could not
// be started); its standard output and error go to *output when given.
int RunProgram(const std::string& program, const std::vector<std::string>& args,
               std::string* output = nullptr, const std::string& workdir = "");

// Runs the built vireon-tool with the arguments, in workdir.
int RunVireonTool(const std::vector<std::string>& args, const std::string& workdir,
                  std::string* output = nullptr);

// One record as `vireon-tool dump` prints it: its number and its 14 texts,
// as the CP932 bytes stored.
enum DumpField {
    kDumpCall, kDumpDate, kDumpTime, kDumpHis, kDumpMy, kDumpFreq, kDumpMode, kDumpCode,
    kDumpGL, kDumpQSL, kDumpName, kDumpQTH, kDumpRemarks1, kDumpRemarks2, kDumpFieldCount
};
struct DumpedRecord {
    int RecNo = 0;
    std::vector<std::string> Fields;   // kDumpFieldCount texts
    const std::string& Call() const { return Fields[kDumpCall]; }
};
// The log in the folder, record by record, read back with `vireon-tool dump`
// (a failing tool or a line of another shape fails the calling test).
std::vector<DumpedRecord> DumpLog(const std::string& folder);

// One QSO of a test log, as an ADIF file carries it. The award fields come
// first, so that a table of them reads {date, freq, mode, code, confirmed}.
struct Qso {
    std::string Date = "";        // YYYYMMDD; the log is kept in date order
    std::string Freq = "7.041";   // MHz
    std::string Mode = "FT8";
    std::string Cnty = "";        // JCC/JCG/ward code as ADIF's CNTY carries it, "" for none
    bool Confirmed = false;       // QSL_RCVD Y
    std::string Call = "JA1ZZZ";
    std::string Time = "";        // HHMM; "" numbers the records' minutes from 0000
    std::string Name = "";        // UTF-8 (stored as code page 932)
    std::string Qth = "";
};
// The QSOs as an ADIF text; `made` names the maker in the header.
std::string AdifOf(const std::vector<Qso>& qsos, const std::string& made = "the tests");
// Writes the QSOs as "log.adi" into the folder and imports them with
// vireon-tool: vireon.vdb and vireon.dx0, replacing a log already there. A
// failing import fails the test.
void MakeLog(const std::string& folder, const std::vector<Qso>& qsos);

// One entry line in the layout of JARL's JCC and JCG lists: "[*] CODE ROMAN
// NAME ["DATE"]", the date given for a deleted entry only.
std::string JarlListLine(const std::string& code, const std::string& roman, const std::string& name,
                         const std::string& deletedOn = "");

// The ways a file of the logging program (vireon.vdb, vireon.mst) is found
// damaged, made from a good copy: no file, an empty one, cut in half,
// overwritten with garbage, or whole but of another format version (its
// header still checks out). Each with a name for the test's trace.
struct DamagedFile {
    std::string What;
    bool Present;        // false: no file at all
    std::string Bytes;
};
std::vector<DamagedFile> DamagedFiles(const std::string& good);
// A sound file of the same kind that holds no records.
std::string WithNoRecords(const std::string& good);
// Writes the damaged file under `path` (or removes it for "missing").
void PutDamagedFile(const DamagedFile& file, const std::string& path);

}  // namespace test

#define REQUIRE_SHARED_DATA(relative)                                            \
    do {                                                                         \
        if (::test::SharedDataFile(relative).empty())                            \
            GTEST_SKIP() << "shared test data " << (relative)                    \
                         << " is not beside this clone; test skipped";           \
    } while (0)
