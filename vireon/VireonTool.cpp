// vireon-tool: makes and reads the stand-in's files in the current folder.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "vireon/ToolCommands.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const char kUsage[] =
    "usage: vireon-tool COMMAND [ARGS]\n"
    "Writes and reads vireon.vdb (log), vireon.dx0 (call index) and vireon.mst\n"
    "(area master) in the current folder.\n"
    "\n"
    "  import-adif [--replace] FILE.adi\n"
    "                           log and index from an ADIF file (UTF-8 or Shift_JIS,\n"
    "                           decided per record); an existing log is replaced only\n"
    "                           with --replace, and only once the import has finished\n"
    "  make-master --jcc FILE --jcg FILE [--ku FILE]\n"
    "                           area master from JARL's JCC, JCG and ward lists\n"
    "  generate N [--seed S] [--master FILE] [--replace]\n"
    "                           synthetic log of N QSOs and its index; codes from\n"
    "                           the master (default vireon.mst, else a small\n"
    "                           built-in sample master); an existing log is\n"
    "                           replaced only with --replace\n"
    "  index                    rebuild vireon.dx0 from vireon.vdb\n"
    "  dump                     records as tab-separated text: number, Call, Date,\n"
    "                           Time, His, My, Freq, Mode, Code, GL, QSL, Name, QTH,\n"
    "                           Remarks1, Remarks2\n"
    "  --help                   this text\n"
    "\n"
    "Exit codes: 0 done, every record as written; 1 import-adif wrote the log but\n"
    "skipped or changed some records (each is reported); 2 bad usage, an input that\n"
    "cannot be read, or a log import-adif or generate must not replace; 3 nothing\n"
    "to import;\n"
    "4 out of memory or a file that cannot be written (the old files stay as they\n"
    "were). Messages for 2, 3 and 4 go to standard error.\n";

int Usage(const std::string& message) {
    std::cerr << "vireon-tool: " << message << "\n(vireon-tool --help lists the commands)\n";
    return vireon::kExitUsage;
}

bool ParseNumber(const std::string& s, unsigned long long max, unsigned long long* v) {
    if (s.empty() || s.size() > 20) return false;
    unsigned long long n = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        if (n > (max - unsigned(c - '0')) / 10) return false;
        n = n * 10 + unsigned(c - '0');
    }
    *v = n;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // The dump is CP932 bytes with LF line ends on every platform.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return Usage("no command given");
    const std::string cmd = args[0];
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        std::cout << kUsage;
        return 0;
    }
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (cmd == "import-adif") {
        vireon::ImportOptions options;
        std::string file;
        for (const std::string& a : rest) {
            if (a == "--replace") options.Replace = true;
            else if (a.size() > 2 && a.compare(0, 2, "--") == 0) return Usage("import-adif: unknown option " + a);
            else if (!file.empty()) return Usage("import-adif takes one file name");
            else file = a;
        }
        if (file.empty()) return Usage("import-adif takes one file name");
        return vireon::ImportAdif(file, ".", options, std::cout, std::cerr);
    }
    if (cmd == "make-master") {
        std::string jcc, jcg, ku;
        for (size_t i = 0; i < rest.size(); i += 2) {
            if (i + 1 >= rest.size()) return Usage("option " + rest[i] + " needs a file name");
            if (rest[i] == "--jcc") jcc = rest[i + 1];
            else if (rest[i] == "--jcg") jcg = rest[i + 1];
            else if (rest[i] == "--ku") ku = rest[i + 1];
            else return Usage("make-master: unknown option " + rest[i]);
        }
        if (jcc.empty() || jcg.empty()) return Usage("make-master needs --jcc FILE and --jcg FILE");
        return vireon::MakeMaster(jcc, jcg, ku, ".", std::cout, std::cerr);
    }
    if (cmd == "generate") {
        if (rest.empty()) return Usage("generate needs the number of QSOs");
        unsigned long long n = 0, seed = 1;
        if (!ParseNumber(rest[0], 10000000ULL, &n)) return Usage("generate: N must be a number from 0 to 10000000");
        std::string master;   // vireon.mst when there is one, else the built-in sample
        bool replace = false;
        for (size_t i = 1; i < rest.size(); i += 2) {
            if (rest[i] == "--replace") {
                replace = true;
                --i;   // takes no value
                continue;
            }
            if (rest[i] != "--seed" && rest[i] != "--master") return Usage("generate: unknown option " + rest[i]);
            if (i + 1 >= rest.size()) return Usage("option " + rest[i] + " needs a value");
            if (rest[i] == "--seed") {
                if (!ParseNumber(rest[i + 1], ~0ULL, &seed)) return Usage("generate: --seed must be a number");
            } else {
                master = rest[i + 1];
            }
        }
        return vireon::Generate(uint32_t(n), seed, master, replace, ".", std::cout, std::cerr);
    }
    if (cmd == "index" || cmd == "dump") {
        if (!rest.empty()) return Usage(cmd + " takes no arguments");
        return cmd == "index" ? vireon::RebuildIndex(".", std::cout, std::cerr)
                              : vireon::DumpLog(".", std::cout, std::cerr);
    }
    return Usage("unknown command " + cmd);
}
