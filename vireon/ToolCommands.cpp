#include "vireon/ToolCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>
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

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* bytes) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::ostringstream s;
    s << f.rdbuf();
    *bytes = s.str();
    return !f.bad();
}

namespace {

// The files of one import: records in file order first, then the sorted log
// and its index beside the old ones; removed unless the import finished.
struct ImportFiles {
    std::string Log, Index, Unsorted, NewLog, NewIndex;
    bool Keep = false;
    ~ImportFiles() {
        OsRemoveFile(Unsorted.c_str());
        if (!Keep) {
            OsRemoveFile(NewLog.c_str());
            OsRemoveFile(NewIndex.c_str());
        }
    }
};

struct SortEntry {
    uint64_t Key;      // YYYYMMDDHHMMSS
    uint32_t Source;   // 0-based position among the imported records, in file order
};

// Writes the records of `unsorted` (file order) to a new log in the order of
// `keys`, a window of records at a time: for each window the records it needs
// are read by blocks in file order, so a file already in date order is read
// once, and memory stays at one window and one block whatever the order.
bool WriteSorted(const std::string& unsortedPath, const std::vector<SortEntry>& keys, const std::string& logPath) {
    const uint32_t kWindow = 65536, kBlock = 1024;
    uint32_t n = uint32_t(keys.size());
    OsFile* in = OsOpen(unsortedPath.c_str(), OpenMode::Read, false);
    if (!in) return false;
    LogFile log;
    bool ok = LogFile::CreateEmpty(logPath.c_str()) && log.Open(logPath.c_str(), true, false);
    std::vector<unsigned char> window(size_t(std::min(kWindow, n)) * kLogRecordSize);
    std::vector<unsigned char> block(size_t(kBlock) * kLogRecordSize);
    std::vector<std::pair<uint32_t, uint32_t>> wanted;   // (source, place in the window)
    for (uint32_t w = 0; ok && w < n; w += kWindow) {
        uint32_t m = std::min(kWindow, n - w);
        wanted.clear();
        for (uint32_t i = 0; i < m; ++i) wanted.emplace_back(keys[w + i].Source, i);
        std::sort(wanted.begin(), wanted.end());
        uint32_t loaded = ~0u;
        for (const auto& sd : wanted) {
            uint32_t b = sd.first / kBlock;
            if (b != loaded) {
                uint32_t count = std::min(kBlock, n - b * kBlock);
                if (!OsReadAt(in, int64_t(b) * kBlock * kLogRecordSize, block.data(), size_t(count) * kLogRecordSize)) {
                    ok = false;
                    break;
                }
                loaded = b;
            }
            std::memcpy(&window[size_t(sd.second) * kLogRecordSize],
                        &block[size_t(sd.first - b * kBlock) * kLogRecordSize], kLogRecordSize);
        }
        ok = ok && log.AppendMany(window.data(), m);
    }
    OsClose(in);
    log.Close();
    return ok;
}

std::string Who(const AdifRecord& rec) {
    const std::string* call = rec.Find("CALL");
    std::string c = call ? TrimBlanks(*call) : std::string();
    if (c.size() > 24) c = c.substr(0, 24) + "...";
    return "record " + std::to_string(rec.Ordinal) + " (line " + std::to_string(rec.Line) +
           (c.empty() ? std::string() : ", " + c) + ")";
}

int DoImport(const std::string& adifPath, ImportFiles& files, std::ostream& out, std::ostream& err) {
    FILE* f = std::fopen(adifPath.c_str(), "rb");
    if (!f) {
        err << "import-adif: cannot read " << adifPath << "\n";
        return kExitUsage;
    }
    struct Closer { FILE* f; ~Closer() { std::fclose(f); } } closer{f};
    AdifReader reader([f](char* buf, size_t n, bool* failed) {
        size_t got = std::fread(buf, 1, n, f);
        if (got < n && std::ferror(f)) *failed = true;
        return got;
    });
    OsFile* unsorted = OsOpen(files.Unsorted.c_str(), OpenMode::Create, false);
    if (!unsorted) {
        err << "import-adif: cannot write " << files.Unsorted << "\n";
        return kExitResources;
    }
    struct OsCloser { OsFile* f; ~OsCloser() { OsClose(f); } } unsortedCloser{unsorted};

    out << "reading " << adifPath << "\n";
    std::vector<SortEntry> keys;
    const uint32_t kChunk = 4096;
    std::vector<unsigned char> chunk;
    chunk.reserve(size_t(kChunk) * kLogRecordSize);
    int64_t written = 0;
    auto flush = [&]() {
        if (chunk.empty()) return true;
        bool ok = OsWriteAt(unsorted, written, chunk.data(), chunk.size());
        written += int64_t(chunk.size());
        chunk.clear();
        return ok;
    };
    std::map<std::string, uint32_t> reasons;
    uint32_t records = 0, skipped = 0, changed = 0;
    uint32_t perEncoding[4] = {0, 0, 0, 0};
    RecordEncoding firstEncoding = RecordEncoding::Ascii;
    int firstEncodedRecord = 0;
    AdifRecord rec;
    while (reader.Next(&rec)) {
        ++records;
        AdifImport imp = ConvertAdifRecord(rec);
        std::string who = Who(rec);
        if (imp.Ok && !rec.Terminated) {
            imp.Ok = false;
            imp.Reason = "no <EOR> closes it before the end of the file";
        }
        if (!imp.Ok) {
            out << "skipped " << who << ": " << imp.Reason << "\n";
            for (const std::string& n : imp.Notes) out << "note " << who << ": " << n << "\n";
            ++skipped;
            std::string kind = imp.Reason.substr(0, imp.Reason.find(' '));
            ++reasons[imp.Reason.compare(0, 3, "no ") == 0 ? imp.Reason.substr(0, imp.Reason.find(' ', 3))
                                                           : kind + " unusable"];
            continue;
        }
        for (const std::string& n : imp.Notes) out << "note " << who << ": " << n << "\n";
        if (!imp.Notes.empty()) ++changed;
        ++perEncoding[int(imp.Encoding)];
        if (imp.Encoding == RecordEncoding::Utf8 || imp.Encoding == RecordEncoding::ShiftJis) {
            if (firstEncodedRecord == 0) {
                firstEncoding = imp.Encoding;
                firstEncodedRecord = rec.Ordinal;
            } else if (imp.Encoding != firstEncoding) {
                out << "encoding " << who << ": read as " << EncodingName(imp.Encoding) << " (record "
                    << firstEncodedRecord << " was " << EncodingName(firstEncoding) << ")\n";
            }
        }
        // A log's size must fit its 32-bit count of 256-byte records (readers
        // refuse more than 2 GB of records): stop before writing such a log.
        if (keys.size() >= 0x7FFFFFFFu / kLogRecordSize) {
            err << "import-adif: more than " << 0x7FFFFFFFu / kLogRecordSize
                << " QSOs, more than a log holds; nothing was written\n";
            return kExitResources;
        }
        keys.push_back({imp.SortKey, uint32_t(keys.size())});
        chunk.resize(chunk.size() + kLogRecordSize);
        PackRecord(imp.Qso, &chunk[chunk.size() - kLogRecordSize]);
        if (chunk.size() == size_t(kChunk) * kLogRecordSize && !flush()) {
            err << "import-adif: cannot write " << files.Unsorted << " (disk full?)\n";
            return kExitResources;
        }
    }
    if (reader.ReadFailed()) {
        err << "import-adif: cannot read " << adifPath << " to its end\n";
        return kExitUsage;
    }
    if (!flush()) {
        err << "import-adif: cannot write " << files.Unsorted << " (disk full?)\n";
        return kExitResources;
    }
    if (records == 0) {
        err << "import-adif: " << adifPath << " holds no ADIF records\n";
        return kExitNothing;
    }
    uint32_t imported = uint32_t(keys.size());
    out << "imported " << imported << ", skipped " << skipped << ", changed " << changed << "\n";
    for (const auto& kv : reasons) out << "  skipped for " << kv.first << ": " << kv.second << "\n";
    if (perEncoding[1] || perEncoding[2] || perEncoding[3])
        out << "  text read as UTF-8 in " << perEncoding[1] << " record(s), as Shift_JIS in " << perEncoding[2]
            << ", partly as neither in " << perEncoding[3] << "\n";
    if (imported == 0) {
        err << "import-adif: no record of " << adifPath << " can be imported; nothing was written\n";
        return kExitNothing;
    }

    // Date and time order, records of the same second in file order.
    std::sort(keys.begin(), keys.end(), [](const SortEntry& a, const SortEntry& b) {
        return a.Key != b.Key ? a.Key < b.Key : a.Source < b.Source;
    });
    OsClose(unsorted);
    unsortedCloser.f = nullptr;
    if (!WriteSorted(files.Unsorted, keys, files.NewLog)) {
        err << "import-adif: cannot write " << files.NewLog << " (disk full?)\n";
        return kExitResources;
    }
    std::vector<SortEntry>().swap(keys);
    OsRemoveFile(files.Unsorted.c_str());
    std::string error;
    if (!BuildIndexOfLog(files.NewLog.c_str(), files.NewIndex.c_str(), &error)) {
        err << "import-adif: " << error << "\n";
        return kExitResources;
    }
    // The finished files take the place of the old ones only now.
    if (!OsReplaceFile(files.NewLog.c_str(), files.Log.c_str())) {
        err << "import-adif: cannot replace " << files.Log
            << " (is it open in another program?); the old log and index are as they were\n";
        return kExitResources;
    }
    files.Keep = true;
    if (!OsReplaceFile(files.NewIndex.c_str(), files.Index.c_str())) {
        err << "import-adif: the new log is in place, but its index could not replace " << files.Index
            << " (it is left as " << files.NewIndex << "); run vireon-tool index\n";
        return kExitResources;
    }
    out << "wrote " << files.Log << " and " << files.Index << "\n";
    return skipped || changed ? kExitPartly : kExitOk;
}

}  // namespace

int ImportAdif(const std::string& adifPath, const std::string& dir, const ImportOptions& options,
               std::ostream& out, std::ostream& err) {
    ImportFiles files;
    files.Log = InDir(dir, kLogFileName);
    files.Index = InDir(dir, kIndexFileName);
    files.Unsorted = files.Log + ".unsorted";
    files.NewLog = files.Log + ".new";
    files.NewIndex = files.Index + ".new";
    bool hasLog = OsFileExists(files.Log.c_str()), hasIndex = OsFileExists(files.Index.c_str());
    if ((hasLog || hasIndex) && !options.Replace) {
        files.Keep = true;   // nothing of ours to remove
        err << "import-adif: this folder already holds "
            << (hasLog && hasIndex ? files.Log + " and " + files.Index : hasLog ? files.Log : files.Index)
            << "; nothing was changed. Give --replace to replace them with the import (they are kept until "
               "the import has finished), or import in another folder.\n";
        return kExitUsage;
    }
    try {
        return DoImport(adifPath, files, out, err);
    } catch (const std::bad_alloc&) {
        err << "import-adif: out of memory; the old log and index are as they were\n";
        return kExitResources;
    }
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
            return kExitUsage;
        }
        JarlList list = ParseJarlList(bytes);
        if (list.Entries.empty()) {
            err << "make-master: " << *s.Path << " holds no " << s.Kind << " entries\n";
            return kExitNothing;
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
        return kExitUsage;
    }
    std::string path = InDir(dir, kMasterFileName);
    if (!MasterFile::Write(path.c_str(), entries)) {
        err << "make-master: cannot write " << path << "\n";
        return kExitResources;
    }
    out << "wrote " << path << ": " << entries.size() << " records\n";
    return 0;
}

int Generate(uint32_t count, uint64_t seed, const std::string& masterPath, bool replace, const std::string& dir,
             std::ostream& out, std::ostream& err) {
    const std::string logPath = InDir(dir, kLogFileName), indexPath = InDir(dir, kIndexFileName);
    const bool hasLog = OsFileExists(logPath.c_str()), hasIndex = OsFileExists(indexPath.c_str());
    if ((hasLog || hasIndex) && !replace) {
        err << "generate: this folder already holds "
            << (hasLog && hasIndex ? logPath + " and " + indexPath : hasLog ? logPath : indexPath)
            << "; nothing was changed. Give --replace to write the generated log over them, or generate in "
               "another folder.\n";
        return kExitUsage;
    }
    MasterFile master;
    std::string path = masterPath.empty() ? InDir(dir, kMasterFileName) : masterPath;
    std::string source;
    if (masterPath.empty() && !OsFileExists(path.c_str())) {
        master.Assign(BuiltInSampleMaster());
        source = "the built-in sample master (" + std::to_string(master.Count()) +
                 " made-up areas; no " + std::string(kMasterFileName) + " here)";
    } else if (!master.Open(path.c_str(), true)) {
        err << "generate: cannot read the master " << path
            << " (missing or not a master; make one with vireon-tool make-master)\n";
        return kExitUsage;
    } else {
        source = path;
    }
    std::string error;
    if (!GenerateLog(count, seed, master, logPath, indexPath, &error)) {
        err << "generate: " << error << "\n";
        return kExitResources;
    }
    out << "generated " << count << " QSOs (seed " << seed << "), codes from " << source << "\n";
    return kExitOk;
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
