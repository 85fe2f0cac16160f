// Binding, whole-log reads and call searches against the real stand-in
// library, on logs made by vireon-tool; the program's copy of the call index
// following the logger's.
#if defined(_WIN32)
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include <cstring>
#include <set>
#include <string>

#include "LogStoreFixture.h"
#include "logstore/AreaMaster.h"
#include "logstore/CallIndexCopy.h"
#include "logstore/LogAccess.h"
#include "logstore/LoggerLibrary.h"

namespace {

using logtest::LogFolder;
using logtest::Qso;

// Calls in index order: JA1AB, JA1ABC x3, JA1ABC/1, JA1ABD, JH1XYZ. Dates
// ascend, so record numbers follow this list's order.
// date, freq, mode, code, confirmed, call, time, name
const std::vector<Qso> kSearchLog = {
    {"20090105", "7.041", "CW", "100101", true, "JA1ABC", "1200", "Taro"},
    {"20090210", "14.074", "FT8", "", false, "JH1XYZ", "0930", ""},
    {"20100301", "21.074", "FT8", "0101", false, "JA1ABD", "0800", ""},
    {"20100415", "50.313", "FT8", "01001", true, "JA1AB", "2300", "Hanako"},
    {"20110520", "144.300", "SSB", "110101", false, "JA1ABC", "0000", ""},
    {"20120601", "430.100", "FM", "01001A", false, "JA1ABC/1", "0100", ""},
    {"20130701", "3.535", "CW", "4701", true, "JA1ABC", "0200", ""},
};

class LogAccess : public LogFolder {};

const void* const* Slots(const LoggerLibrary& lib) {
    return reinterpret_cast<const void* const*>(&lib.VireonOpen);
}
constexpr int kSlotCount = 23;
static_assert(sizeof(LoggerLibrary) == sizeof(void*) * (kSlotCount + 1), "23 slots after Module");

TEST_F(LogAccess, BindsTheLibraryInTheCurrentFolderOnly) {
    EXPECT_EQ(LoadLoggerLibrary(), -1);   // none here yet
    EXPECT_EQ(TheLoggerLibrary.Module, nullptr);
    for (int i = 0; i < kSlotCount; ++i) EXPECT_EQ(Slots(TheLoggerLibrary)[i], nullptr);

    test::WriteFileBytes(Dir().File(test::LibraryFileName()), std::string(4096, 'M'));
    EXPECT_EQ(LoadLoggerLibrary(), -1);   // not a library
    EXPECT_EQ(TheLoggerLibrary.Module, nullptr);

    UseLibrary();
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    EXPECT_NE(TheLoggerLibrary.Module, nullptr);
    for (int i = 0; i < kSlotCount; ++i) EXPECT_NE(Slots(TheLoggerLibrary)[i], nullptr) << "slot " << i;
    EXPECT_EQ(reinterpret_cast<void*>(TheLoggerLibrary.idx_next), FindLoggerEntry("idx_next"));
    EXPECT_EQ(reinterpret_cast<void*>(TheLoggerLibrary.SetDbsShare), FindLoggerEntry("SetDbsShare"));

    FreeLoggerLibrary();
    EXPECT_EQ(TheLoggerLibrary.Module, nullptr);
    for (int i = 0; i < kSlotCount; ++i) EXPECT_EQ(Slots(TheLoggerLibrary)[i], nullptr);
    EXPECT_EQ(BandOfFrequency("7.041"), -1);   // nothing bound: no band
}

TEST_F(LogAccess, BandOfFrequencyGivesTheLibrarysBandOrNone) {
    UseLibrary();
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    // The library's answer inside 0..13 passes through; anything else,
    // also a null text, is no band.
    struct Case { const char* freq; int band; } cases[] = {
        {"1.910", 0}, {"7.041", 2}, {"2427.000", 13}, {"100.000", -1}, {"abc", -1}, {nullptr, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(BandOfFrequency(c.freq), c.band) << (c.freq ? c.freq : "null");
}

TEST_F(LogAccess, WholeLogReadGivesEveryRecordInTheSharedBuffer) {
    UseLibrary();
    ASSERT_NO_FATAL_FAILURE(MakeLog(kSearchLog));
    std::vector<logtest::DumpRow> dump = Dump();
    ASSERT_EQ(dump.size(), kSearchLog.size());
    ASSERT_EQ(LoadLoggerLibrary(), 0);

    int n = CountLogRecords();
    ASSERT_EQ(n, static_cast<int>(kSearchLog.size()));
    ASSERT_EQ(OpenLog(), 0);
    for (int i = 1; i <= n; ++i) {
        QsoRecord* r = ReadLogRecord(i);
        ASSERT_EQ(r, &RecordBuffer) << "record " << i;
        const Qso& q = kSearchLog[i - 1];
        const logtest::DumpRow& row = dump[i - 1];
        EXPECT_EQ(row.RecNo, i);
        EXPECT_STREQ(r->Call, q.Call.c_str());
        std::string date = q.Date.substr(2, 2) + "/" + q.Date.substr(4, 2) + "/" + q.Date.substr(6, 2);
        EXPECT_STREQ(r->Date, date.c_str());
        std::string code = q.Cnty.empty() ? "" : (q.Cnty + "      ").substr(0, 6);
        EXPECT_STREQ(r->Code, code.c_str());
        EXPECT_EQ(row.Fields[7], code);
        EXPECT_STREQ(RecordText(r->Freq), row.Fields[5].c_str());
        EXPECT_STREQ(RecordText(r->Mode), q.Mode.c_str());
        EXPECT_STREQ(RecordText(r->Name), q.Name.c_str());
        // The received mark is the third character, when the text has one.
        EXPECT_EQ(strnlen(r->QSL, sizeof r->QSL) > 2 && r->QSL[2] != ' ', q.Confirmed) << "record " << i;
        EXPECT_EQ(BandOfFrequency(r->Freq), BandOfFrequency(q.Freq.c_str()));
    }
    EXPECT_EQ(ReadLogRecord(0), nullptr);
    EXPECT_EQ(ReadLogRecord(n + 1), nullptr);
    EXPECT_EQ(ReadLogRecord(-5), nullptr);
    CloseLog();
    EXPECT_EQ(ReadLogRecord(1), nullptr);   // closed
    EXPECT_EQ(Calls("VireonClose"), Calls("VireonOpen"));
}

TEST_F(LogAccess, EachReadOverwritesTheOneBufferAndShortTextsLeaveNoStaleDigits) {
    UseLibrary();
    ASSERT_NO_FATAL_FAILURE(MakeLog(kSearchLog));
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    ASSERT_EQ(OpenLog(), 0);
    QsoRecord* first = ReadLogRecord(1);   // JA1ABC, ward 100101
    ASSERT_NE(first, nullptr);
    ASSERT_STREQ(first->Code, "100101");
    QsoRecord* second = ReadLogRecord(2);  // JH1XYZ, no code
    ASSERT_EQ(second, first);              // the same buffer, now record 2
    EXPECT_STREQ(first->Call, "JH1XYZ");
    EXPECT_STREQ(first->Code, "");
    // The empty code must not be taken for the ward code still behind it.
    EXPECT_EQ(NormalizeJccCode(first->Code, "100101"), 0);
    EXPECT_EQ(NormalizeJcgCode(first->Code), 0);
    EXPECT_STREQ(first->Code, "");

    // Holding two records needs a copy.
    ASSERT_NE(ReadLogRecord(5), nullptr);
    QsoRecord copy = RecordBuffer;
    ASSERT_NE(ReadLogRecord(6), nullptr);
    EXPECT_STREQ(copy.Call, "JA1ABC");
    EXPECT_STREQ(RecordBuffer.Call, "JA1ABC/1");
    // The rules rewrite only the buffer: the next read of that record gives
    // the stored code again.
    EXPECT_EQ(NormalizeJccCode(copy.Code, "110520"), 8);
    ASSERT_NE(ReadLogRecord(5), nullptr);
    EXPECT_STREQ(RecordBuffer.Code, "110101");
    CloseLog();
}

TEST_F(LogAccess, ScanOfAnEmptyLogReadsNothing) {
    UseLibrary();
    ASSERT_NO_FATAL_FAILURE(MakeMaster("北海道 01\n" + logtest::JarlListLine("0101", "Sapporo", "札幌"),
                                       "北海道  01\n" + logtest::JarlListLine("01001", "Akan", "阿寒")));
    ASSERT_NO_FATAL_FAILURE(Tool({"generate", "0"}));
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    int before = Calls("KVX_readv");
    EXPECT_EQ(CountLogRecords(), 0);
    ASSERT_EQ(OpenLog(), 0);
    EXPECT_EQ(ReadLogRecord(1), nullptr);
    CloseLog();
    EXPECT_EQ(Calls("KVX_readv"), before + 1);
}

TEST_F(LogAccess, MissingOrDamagedLogFilesFailWithoutCrashing) {
    UseLibrary();
    ASSERT_NO_FATAL_FAILURE(MakeLog(kSearchLog));
    std::string log = test::ReadFileBytes(Dir().File("vireon.vdb"));
    std::string index = test::ReadFileBytes(Dir().File("call.idx"));
    struct Case { std::string what; test::DamagedFile vdb, idx; bool vdbOk; bool idxOk; };
    const test::DamagedFile goodLog{"", true, log}, goodIndex{"", true, index};
    std::vector<Case> cases;
    // Every damaged log fails alike: the count, the open and the open with
    // the index (the windows tell the operator from the count).
    for (const test::DamagedFile& d : test::DamagedFiles(log)) cases.push_back({d.What + " log", d, goodIndex, false, true});
    cases.push_back({"no index", goodLog, {"", false, ""}, true, false});
    cases.push_back({"garbage index", goodLog, {"", true, std::string(index.size(), '\x01')}, true, false});
    cases.push_back({"truncated index", goodLog, {"", true, index.substr(0, 20)}, true, false});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::PutDamagedFile(c.vdb, Dir().File("vireon.vdb"));
        test::PutDamagedFile(c.idx, Dir().File("call.idx"));
        ASSERT_EQ(LoadLoggerLibrary(), 0);

        int opens = Calls("VireonOpen");
        int closes = Calls("VireonClose");
        EXPECT_EQ(CountLogRecords() >= 0, c.vdbOk);
        EXPECT_EQ(OpenLog() == 0, c.vdbOk);
        EXPECT_EQ(ReadLogRecord(1) != nullptr, c.vdbOk);
        CloseLog();
        // Only what opened is closed.
        EXPECT_EQ(Calls("VireonClose") - closes, c.vdbOk ? 2 : 0);
        EXPECT_EQ(Calls("VireonOpen") - opens, 2);

        int idxCloses = Calls("idx_close");
        bool both = c.vdbOk && c.idxOk;
        EXPECT_EQ(OpenLogWithIndex(), both ? 0 : -1);
        // Nothing stays open after a failure: the index opened before the
        // log failed is closed again.
        EXPECT_EQ(Calls("idx_close") - idxCloses, c.idxOk && !c.vdbOk ? 1 : 0);
        CallSearchText text = "JA1ABC";
        EXPECT_EQ(SearchCall(text, 0) != nullptr, both);
        CloseLogWithIndex();
        FreeLoggerLibrary();
    }
}

// Walks the matches as the exact lookup does and returns the calls found.
std::vector<std::string> Walk(const char* call, int* firstStatus) {
    std::vector<std::string> calls;
    CallSearchText text = {};
    std::strcpy(text, call);
    CallSearchHit* hit = SearchCall(text, 0);
    *firstStatus = hit ? hit->Status : -1;
    if (!hit) return calls;
    calls.push_back(hit->Record->Call);
    if (hit->Status != 2) return calls;
    for (int i = 0; i < 1000; ++i) {
        hit = SearchCall(text, 1);
        if (!hit) break;
        EXPECT_EQ(hit->Status, 2);
        EXPECT_EQ(hit->Record, &RecordBuffer);
        calls.push_back(hit->Record->Call);
    }
    return calls;
}

TEST_F(LogAccess, SearchCallWalksTheIndexWhileCallsBeginWithTheKey) {
    UseLibrary();
    ASSERT_NO_FATAL_FAILURE(MakeLog(kSearchLog));
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    ASSERT_EQ(OpenLogWithIndex(), 0);
    using Calls_ = std::vector<std::string>;
    struct Case { const char* text; int status; Calls_ calls; } cases[] = {
        // Five characters: the key is "JA1AB" and its NUL, and every call
        // beginning with it follows in index order.
        {"JA1AB", 2, {"JA1AB", "JA1ABC", "JA1ABC", "JA1ABC", "JA1ABC/1", "JA1ABD"}},
        // The walk ends at JA1ABD, the first entry not beginning "JA1ABC".
        {"JA1ABC", 2, {"JA1ABC", "JA1ABC", "JA1ABC", "JA1ABC/1"}},
        // Eight characters, one match: only six go into the key, so the
        // index answers with the first "JA1ABC" entry; no walk follows.
        {"JA1ABC/1", 1, {"JA1ABC"}},
        {"JH1XYZ", 1, {"JH1XYZ"}},
        {"JR9ZZZ", -1, {}},
        {"JA1A", -1, {}},
    };
    for (const Case& c : cases) {
        int status = 0;
        EXPECT_EQ(Walk(c.text, &status), c.calls) << c.text;
        EXPECT_EQ(status, c.status) << c.text;
    }
    CloseLogWithIndex();
}

TEST_F(LogAccess, SearchCallMakesNoLibraryCallForShortOrUnendedTexts) {
    UseLibrary();
    ASSERT_NO_FATAL_FAILURE(MakeLog(kSearchLog));
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    ASSERT_EQ(OpenLogWithIndex(), 0);
    int before = Calls("");
    CallSearchText four = "JA1A";
    EXPECT_EQ(SearchCall(four, 0), nullptr);
    CallSearchText empty = "";
    EXPECT_EQ(SearchCall(empty, 0), nullptr);
    CallSearchText unended;
    std::memset(unended, 'J', sizeof unended);   // no NUL anywhere
    EXPECT_EQ(SearchCall(unended, 0), nullptr);
    CallSearchText five = "JA1AB";
    EXPECT_EQ(SearchCall(five, 2), nullptr);      // no such mode
    EXPECT_EQ(SearchCall(five, -1), nullptr);
    EXPECT_EQ(Calls(""), before);

    // Five characters: the library is asked, and the key holds the five
    // characters and the text's NUL.
    ASSERT_NE(SearchCall(five, 0), nullptr);
    EXPECT_EQ(std::memcmp(SearchKey, "JA1AB\0\0\0", 8), 0);
    EXPECT_EQ(Calls("KVX_seek"), 1);
    EXPECT_EQ(Calls("idx_search"), 1);
    CallSearchText eight = "JA1ABC/1";
    ASSERT_NE(SearchCall(eight, 0), nullptr);
    EXPECT_EQ(std::memcmp(SearchKey, "JA1ABC\0\0", 8), 0);
    EXPECT_STREQ(eight, "JA1ABC/1");   // one match: the text is kept
    CloseLogWithIndex();
    // Closed: no search reaches the library.
    before = Calls("");
    CallSearchText again = "JA1ABC";
    EXPECT_EQ(SearchCall(again, 0), nullptr);
    EXPECT_EQ(SearchCall(again, 1), nullptr);
    EXPECT_EQ(Calls(""), before);
}

TEST_F(LogAccess, RealLogReadsAndSearchesLikeTheToolDumpsIt) {
    REQUIRE_SHARED_DATA("adif/ja-ft8-2021.adi");
    UseLibrary();
    ASSERT_NO_FATAL_FAILURE(Tool({"import-adif", test::SharedDataFile("adif/ja-ft8-2021.adi")}));
    test::CopyFileTo(Dir().File("vireon.dx0"), Dir().File("call.idx"));
    std::vector<logtest::DumpRow> dump = Dump();
    ASSERT_EQ(dump.size(), 126u);
    ASSERT_EQ(LoadLoggerLibrary(), 0);

    int n = CountLogRecords();
    ASSERT_EQ(n, 126);
    ASSERT_EQ(OpenLog(), 0);
    for (int i = 1; i <= n; ++i) {
        QsoRecord* r = ReadLogRecord(i);
        ASSERT_NE(r, nullptr) << i;
        EXPECT_EQ(dump[i - 1].Call(), r->Call);
        EXPECT_EQ(dump[i - 1].Fields[1], r->Date);
        EXPECT_EQ(dump[i - 1].Fields[5], RecordText(r->Freq));
    }
    CloseLog();

    // Every call found by its first six characters, with every record whose
    // call begins with them (fewer than 1000 here).
    ASSERT_EQ(OpenLogWithIndex(), 0);
    for (const auto& row : dump) {
        if (row.Call().size() < 5) continue;
        std::string key = row.Call().substr(0, 6);
        std::set<int> expected, found;
        for (const auto& other : dump)
            if (other.Call().compare(0, key.size(), key) == 0) expected.insert(other.RecNo);
        CallSearchText text = {};
        std::memcpy(text, key.data(), key.size());
        for (CallSearchHit* hit = SearchCall(text, 0); hit; hit = hit->Status == 2 ? SearchCall(text, 1) : nullptr)
            found.insert(hit->RecNo);
        EXPECT_EQ(found, expected) << key;
    }
    CloseLogWithIndex();
}

TEST_F(LogAccess, LibraryWithoutReadEntryPointsFailsEveryRead) {
    UseLibrary("vireon50-noread");
    ASSERT_NO_FATAL_FAILURE(MakeLog(kSearchLog));
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    const LoggerLibrary& lib = TheLoggerLibrary;
    EXPECT_EQ(lib.KVX_readv, nullptr);
    EXPECT_EQ(lib.KVX_seek, nullptr);
    EXPECT_EQ(lib.dbf_read, nullptr);
    EXPECT_EQ(lib.FreqPCheck, nullptr);
    EXPECT_NE(lib.VireonOpen, nullptr);
    EXPECT_NE(lib.idx_next, nullptr);

    EXPECT_EQ(CountLogRecords(), static_cast<int>(kSearchLog.size()));
    EXPECT_EQ(OpenLog(), 0);
    EXPECT_EQ(ReadLogRecord(1), nullptr);
    CloseLog();
    EXPECT_EQ(BandOfFrequency("7.041"), -1);

    ASSERT_EQ(OpenLogWithIndex(), 0);
    CallSearchText text = "JA1ABC";
    EXPECT_EQ(SearchCall(text, 0), nullptr);
    EXPECT_EQ(SearchCall(text, 1), nullptr);
    CloseLogWithIndex();
    EXPECT_EQ(Calls("idx_close"), 1);
    EXPECT_EQ(Calls("VireonClose"), Calls("VireonOpen"));

    JccTable[0].Code[0] = '0';
    EXPECT_EQ(LoadAreaMaster(), -1);
    EXPECT_EQ(JccTable[0].Code[0], '\0');
}

TEST_F(LogAccess, LibraryWithoutOpenEntryPointsOpensNothing) {
    UseLibrary("vireon50-noopen");
    ASSERT_NO_FATAL_FAILURE(MakeLog(kSearchLog));
    ASSERT_NO_FATAL_FAILURE(MakeMaster(logtest::JarlListLine("0101", "Sapporo", "札幌"),
                                       logtest::JarlListLine("01001", "Akan", "阿寒")));
    ASSERT_EQ(LoadLoggerLibrary(), 0);
    EXPECT_EQ(TheLoggerLibrary.VireonOpen, nullptr);
    EXPECT_EQ(TheLoggerLibrary.SetDbsShare, nullptr);
    EXPECT_NE(TheLoggerLibrary.KVX_readv, nullptr);

    EXPECT_EQ(CountLogRecords(), -1);
    EXPECT_NE(OpenLog(), 0);
    EXPECT_EQ(ReadLogRecord(1), nullptr);
    CloseLog();
    EXPECT_EQ(OpenLogWithIndex(), -1);
    CallSearchText text = "JA1ABC";
    EXPECT_EQ(SearchCall(text, 0), nullptr);
    CloseLogWithIndex();
    EXPECT_EQ(LoadAreaMaster(), -1);
    EXPECT_EQ(JccTable[0].Code[0], '\0');
    // Nothing was handed to the library: no read of an unopened handle, no
    // close of what never opened.
    EXPECT_EQ(Calls(""), 0);
    EXPECT_EQ(BandOfFrequency("7.041"), 2);
}

// Gives the file the other's last-write time, as a copy made by the system
// has it.
void TakeWriteTime(const char* file, const char* from) {
#if defined(_WIN32)
    HANDLE source = ::CreateFileA(from, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE target = ::CreateFileA(file, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME written{};
    ASSERT_TRUE(::GetFileTime(source, nullptr, nullptr, &written));
    ASSERT_TRUE(::SetFileTime(target, nullptr, nullptr, &written));
    ::CloseHandle(source);
    ::CloseHandle(target);
#else
    struct stat st;
    ASSERT_EQ(stat(from, &st), 0);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, file, times, 0), 0);
#endif
}

void MarkReadOnly(const char* file, bool readOnly) {
#if defined(_WIN32)
    ::SetFileAttributesA(file, readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
#else
    chmod(file, readOnly ? 0444 : 0644);
#endif
}

bool IsReadOnly(const char* file) {
#if defined(_WIN32)
    const DWORD attributes = ::GetFileAttributesA(file);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
#else
    struct stat st;
    return stat(file, &st) == 0 && (st.st_mode & S_IWUSR) == 0;
#endif
}

// Files of the current folder with the names the refresh gives its
// temporary copies.
std::vector<std::string> TemporaryFilesHere() {
    std::vector<std::string> names;
#if defined(_WIN32)
    WIN32_FIND_DATAA found;
    HANDLE h = ::FindFirstFileA("*", &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (::FindNextFileA(h, &found));
    ::FindClose(h);
#else
    if (DIR* dir = opendir(".")) {
        while (dirent* entry = readdir(dir)) names.push_back(entry->d_name);
        closedir(dir);
    }
#endif
    std::vector<std::string> temporary;
    for (const std::string& n : names)
        if (n.rfind("cix", 0) == 0 || n.rfind("call.idx.", 0) == 0) temporary.push_back(n);
    return temporary;
}

bool SameStamp(const IndexFileStamp& a, const IndexFileStamp& b) {
    return a.Present && b.Present && a.Size == b.Size && a.WriteTime == b.WriteTime;
}

TEST_F(LogAccess, CallIndexCopyFollowsTheLoggersIndexByTimeAndSize) {
    ASSERT_NO_FATAL_FAILURE(MakeLog(kSearchLog));
    const std::string logger = test::ReadFileBytes("vireon.dx0");
    // A copy made without the original's time is stale: it is made anew,
    // with the original's time and size.
    EXPECT_STREQ(PrepareCallIndex(), "call.idx");
    EXPECT_EQ(test::ReadFileBytes("call.idx"), logger);
    EXPECT_TRUE(SameStamp(StampOfIndexFile("call.idx"), StampOfIndexFile("vireon.dx0")));

    // Time and size alone decide: other bytes of the same size and time stay.
    std::string same = logger;
    same[same.size() / 2] ^= 0x55;
    test::WriteFileBytes("call.idx", same);
    ASSERT_NO_FATAL_FAILURE(TakeWriteTime("call.idx", "vireon.dx0"));
    EXPECT_STREQ(PrepareCallIndex(), "call.idx");
    EXPECT_EQ(test::ReadFileBytes("call.idx"), same);

    // The logger adds a QSO: its index changes, and the copy follows.
    ASSERT_NO_FATAL_FAILURE(MakeLog({kSearchLog[0], kSearchLog[1]}));
    test::WriteFileBytes("call.idx", same);
    ASSERT_NO_FATAL_FAILURE(TakeWriteTime("call.idx", "vireon.dx0"));
    EXPECT_STREQ(PrepareCallIndex(), "call.idx");
    EXPECT_EQ(test::ReadFileBytes("call.idx"), test::ReadFileBytes("vireon.dx0"));

    // The copy is the program's own: one marked read-only is made anew all
    // the same, and a read-only logger's index (restored from read-only
    // media) gives a copy that can follow its next change.
    test::WriteFileBytes("call.idx", "old");
    MarkReadOnly("call.idx", true);
    EXPECT_STREQ(PrepareCallIndex(), "call.idx");
    EXPECT_EQ(test::ReadFileBytes("call.idx"), test::ReadFileBytes("vireon.dx0"));
    EXPECT_FALSE(IsReadOnly("call.idx"));
    MarkReadOnly("vireon.dx0", true);
    test::RemoveFile("call.idx");
    EXPECT_STREQ(PrepareCallIndex(), "call.idx");
    EXPECT_FALSE(IsReadOnly("call.idx")) << "the copy does not take the original's mark";
    MarkReadOnly("vireon.dx0", false);
    ASSERT_NO_FATAL_FAILURE(test::MakeLog(Dir().Path(), kSearchLog));   // the copy stays as it was
    ASSERT_NE(test::ReadFileBytes("call.idx"), test::ReadFileBytes("vireon.dx0"));
    MarkReadOnly("vireon.dx0", true);
    EXPECT_STREQ(PrepareCallIndex(), "call.idx");
    EXPECT_EQ(test::ReadFileBytes("call.idx"), test::ReadFileBytes("vireon.dx0")) << "and follows its next change";
    MarkReadOnly("vireon.dx0", false);

    // Any copy is kept while the logger's index is missing.
    test::WriteFileBytes("call.idx", "kept");
    test::RemoveFile("vireon.dx0");
    EXPECT_STREQ(PrepareCallIndex(), "call.idx");
    EXPECT_EQ(test::ReadFileBytes("call.idx"), "kept");
    test::RemoveFile("call.idx");
    EXPECT_STREQ(PrepareCallIndex(), "call.idx") << "neither file: the copy's name, which fails to open";
    EXPECT_FALSE(test::FileExists("call.idx"));

    EXPECT_EQ(TemporaryFilesHere(), std::vector<std::string>{}) << "no temporary copy is left behind";
}

}  // namespace
