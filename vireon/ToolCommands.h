// The subcommands of vireon-tool, as functions so that the benchmark and the
// fuzz target can run them too. Each writes its report to `out`, its errors
// to `err`, and returns the process exit code (0 = success).
#pragma once
#include <cstdint>
#include <ostream>
#include <string>

#include "vireon/Adif.h"
#include "vireon/Store.h"

namespace vireon {

constexpr const char* kLogFileName = "vireon.vdb";
constexpr const char* kIndexFileName = "vireon.dx0";
constexpr const char* kMasterFileName = "vireon.mst";

// What import-adif does with one ADIF record: the QSO, or why not.
struct AdifImport {
    bool Ok = false;
    std::string Reason;             // when not Ok
    std::string SortKey;            // YYYYMMDDHHMMSS
    QsoTexts Qso;
    std::vector<std::string> Notes; // fields cut or changed
};
AdifImport ConvertAdifRecord(const AdifRecord& rec, AdifEncoding encoding);

int ImportAdif(const std::string& adifPath, const std::string& dir, std::ostream& out, std::ostream& err);
int MakeMaster(const std::string& jcc, const std::string& jcg, const std::string& ku, const std::string& dir,
               std::ostream& out, std::ostream& err);
int Generate(uint32_t count, uint64_t seed, const std::string& masterPath, const std::string& dir,
             std::ostream& out, std::ostream& err);
int RebuildIndex(const std::string& dir, std::ostream& out, std::ostream& err);
int DumpLog(const std::string& dir, std::ostream& out, std::ostream& err);

bool ReadWholeFile(const std::string& path, std::string* bytes);

}  // namespace vireon
