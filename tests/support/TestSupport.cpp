#include "TestSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <atomic>

#if defined(_WIN32)
#include <windows.h>
#include <direct.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fcntl.h>
#include <spawn.h>
extern char** environ;
#endif

namespace test {

std::string SharedDataDir() {
    std::string dir = CC_TEST_DATA_DIR;
    return FileExists(JoinPath(dir, "README.md")) ? dir : std::string();
}

std::string SharedDataFile(const std::string& relative) {
    std::string dir = SharedDataDir();
    if (dir.empty()) return {};
    std::string path = JoinPath(dir, relative);
    return FileExists(path) ? path : std::string();
}

std::string BinDir() { return CC_BIN_DIR; }
std::string BinFile(const std::string& name) { return JoinPath(BinDir(), name); }

std::string LibraryFileName() {
#if defined(_WIN32)
    return "vireon50.dll";
#else
    return "vireon50.so";
#endif
}

std::string ExeName(const std::string& base) {
#if defined(_WIN32)
    return base + ".exe";
#else
    return base;
#endif
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    char last = dir.back();
    return (last == '/' || last == '\\') ? dir + name : dir + "/" + name;
}

bool FileExists(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return f.good();
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) ADD_FAILURE() << "cannot write " << path;
}

void CopyFileTo(const std::string& from, const std::string& to) {
    std::string bytes = ReadFileBytes(from);
    if (bytes.empty() && !FileExists(from)) {
        ADD_FAILURE() << "cannot read " << from;
        return;
    }
    WriteFileBytes(to, bytes);
}

void RemoveFile(const std::string& path) { std::remove(path.c_str()); }

bool MakeDir(const std::string& path) {
#if defined(_WIN32)
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
#else
    return mkdir(path.c_str(), 0755) == 0;
#endif
}

static std::string CurrentDir() {
    char buf[4096];
#if defined(_WIN32)
    if (!_getcwd(buf, sizeof buf)) return {};
#else
    if (!getcwd(buf, sizeof buf)) return {};
#endif
    return buf;
}

std::string FileIdentityOf(const std::string& path) {
    char text[96];
#if defined(_WIN32)
    HANDLE h = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL got = ::GetFileInformationByHandle(h, &info);
    ::CloseHandle(h);
    if (!got) return {};
    std::snprintf(text, sizeof text, "%lx:%lx%08lx:%lx%08lx", static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh), static_cast<unsigned long>(info.nFileIndexLow),
                  static_cast<unsigned long>(info.ftLastWriteTime.dwHighDateTime),
                  static_cast<unsigned long>(info.ftLastWriteTime.dwLowDateTime));
#else
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return {};
    std::snprintf(text, sizeof text, "%llx:%llx:%lld.%09ld", static_cast<unsigned long long>(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino), static_cast<long long>(st.st_mtim.tv_sec),
                  static_cast<long>(st.st_mtim.tv_nsec));
#endif
    return text;
}

#if defined(_WIN32)
std::string ReadFileBytes(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes(static_cast<size_t>(::GetFileSize(file, nullptr)), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    return bytes;
}

bool MakeUnwritable(const std::string& path, bool unwritable) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!toUnix) return false;
    std::wstring wide(path.begin(), path.end());
    char* unixPath = toUnix(wide.c_str());
    if (!unixPath) return false;
    const std::string unixName = unixPath;
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    // Wine starts the Unix program but hands back neither its end nor its
    // exit code: the file is tried until it answers as wanted.
    RunProgram("/usr/bin/chattr", {unwritable ? "+i" : "-i", unixName});
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    const std::string probe = JoinPath(path, "probe");
    for (int tries = 0; tries < 100; ++tries) {
        HANDLE h = folder ? ::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr)
                          : ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
        const bool writable = h != INVALID_HANDLE_VALUE;
        if (writable) ::CloseHandle(h);
        if (writable != unwritable) return true;
        ::Sleep(50);
    }
    return false;
}
#endif

static void ChangeDir(const std::string& dir) {
#if defined(_WIN32)
    if (_chdir(dir.c_str()) != 0) ADD_FAILURE() << "cannot enter " << dir;
#else
    if (chdir(dir.c_str()) != 0) ADD_FAILURE() << "cannot enter " << dir;
#endif
}

void RemoveTree(const std::string& dir) {
#if defined(_WIN32)
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(JoinPath(dir, "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string p = JoinPath(dir, name);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(p);
            else {
                SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(p.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
#else
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            std::string p = JoinPath(dir, name);
            struct stat st;
            if (lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) RemoveTree(p);
            else unlink(p.c_str());
        }
        closedir(d);
    }
    rmdir(dir.c_str());
#endif
}

static std::atomic<int> g_tempCounter{0};

TempDir::TempDir(const std::string& tag, bool enter) {
    std::string root = CC_TMP_DIR;
#if defined(_WIN32)
    CreateDirectoryA(root.c_str(), nullptr);
    int pid = static_cast<int>(GetCurrentProcessId());
#else
    mkdir(root.c_str(), 0755);
    int pid = static_cast<int>(getpid());
#endif
    for (;;) {
        path_ = JoinPath(root, tag + "-" + std::to_string(pid) + "-" + std::to_string(g_tempCounter++));
#if defined(_WIN32)
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
#else
        if (mkdir(path_.c_str(), 0755) == 0) break;
#endif
        RemoveTree(path_);
    }
    if (enter) {
        previous_ = CurrentDir();
        ChangeDir(path_);
    }
}

TempDir::~TempDir() {
    if (!previous_.empty()) ChangeDir(previous_);
    if (!std::getenv("CC_KEEP_TEMP")) RemoveTree(path_);
}

#if defined(_WIN32)
static std::string QuoteArg(const std::string& a) {
    if (!a.empty() && a.find_first_of(" \t\"") == std::string::npos) return a;
    std::string q = "\"";
    size_t backslashes = 0;
    for (char c : a) {
        if (c == '\\') { ++backslashes; continue; }
        if (c == '"') q.append(backslashes * 2 + 1, '\\');
        else q.append(backslashes, '\\');
        backslashes = 0;
        q += c;
    }
    q.append(backslashes * 2, '\\');
    return q + "\"";
}
#endif

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               std::string* output, const std::string& workdir) {
#if defined(_WIN32)
    std::string cmd = QuoteArg(program);
    for (const auto& a : args) cmd += " " + QuoteArg(a);
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return -1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    BOOL ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             workdir.empty() ? nullptr : workdir.c_str(), &si, &pi);
    CloseHandle(writeEnd);
    if (!ok) {
        CloseHandle(readEnd);
        return -1;
    }
    std::string out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
    CloseHandle(readEnd);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    if (output) *output = out;
    return static_cast<int>(code);
#else
    int pipefd[2];
    if (pipe(pipefd) != 0) return -1;
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        dup2(pipefd[1], 1);
        dup2(pipefd[1], 2);
        close(pipefd[0]);
        close(pipefd[1]);
        if (!workdir.empty() && chdir(workdir.c_str()) != 0) _exit(127);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipefd[1]);
    std::string out;
    char buf[4096];
    ssize_t got;
    while ((got = read(pipefd[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(got));
    close(pipefd[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (output) *output = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

int RunVireonTool(const std::vector<std::string>& args, const std::string& workdir,
                  std::string* output) {
    return RunProgram(BinFile(ExeName("vireon-tool")), args, output, workdir);
}

std::vector<DumpedRecord> DumpLog(const std::string& folder) {
    std::string output;
    EXPECT_EQ(RunVireonTool({"dump"}, folder, &output), 0) << output;
    std::vector<DumpedRecord> records;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> cells;
        for (size_t start = 0;;) {
            size_t tab = line.find('\t', start);
            cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        DumpedRecord record;
        record.RecNo = std::atoi(cells[0].c_str());
        if (cells.size() != kDumpFieldCount + 1 || record.RecNo <= 0) {
            ADD_FAILURE() << "not a dumped record: " << line;
            continue;
        }
        record.Fields.assign(cells.begin() + 1, cells.end());
        records.push_back(record);
    }
    return records;
}

namespace {

void AdifField(std::string& out, const char* name, const std::string& value) {
    if (value.empty()) return;
    out += "<" + std::string(name) + ":" + std::to_string(value.size()) + ">" + value + " ";
}

}  // namespace

std::string AdifOf(const std::vector<Qso>& qsos, const std::string& made) {
    std::string out = "made by " + made + "\n<ADIF_VER:5>3.1.4 <EOH>\n";
    int minute = 0;
    for (const Qso& q : qsos) {
        char time[8];
        std::snprintf(time, sizeof time, "%02d%02d", (minute / 60) % 24, minute % 60);
        ++minute;
        AdifField(out, "CALL", q.Call);
        AdifField(out, "QSO_DATE", q.Date);
        AdifField(out, "TIME_ON", q.Time.empty() ? std::string(time) : q.Time);
        AdifField(out, "FREQ", q.Freq);
        AdifField(out, "MODE", q.Mode);
        AdifField(out, "CNTY", q.Cnty);
        AdifField(out, "NAME", q.Name);
        AdifField(out, "QTH", q.Qth);
        if (q.Confirmed) AdifField(out, "QSL_RCVD", "Y");
        out += "<EOR>\n";
    }
    return out;
}

void MakeLog(const std::string& folder, const std::vector<Qso>& qsos) {
    WriteFileBytes(JoinPath(folder, "log.adi"), AdifOf(qsos));
    std::string output;
    // A folder's log is made anew: the tool replaces one only when told to.
    std::vector<std::string> args = {"import-adif", "log.adi"};
    if (FileExists(JoinPath(folder, "vireon.vdb")) || FileExists(JoinPath(folder, "vireon.dx0")))
        args.insert(args.begin() + 1, "--replace");
    ASSERT_EQ(RunVireonTool(args, folder, &output), 0) << output;
}

std::string JarlListLine(const std::string& code, const std::string& roman, const std::string& name,
                         const std::string& deletedOn) {
    std::string line = deletedOn.empty() ? "  " : "* ";
    line += code + std::string(code.size() < 8 ? 8 - code.size() : 1, ' ');
    line += roman + std::string(roman.size() < 20 ? 20 - roman.size() : 1, ' ');
    line += name;
    if (!deletedOn.empty()) line += "      \"" + deletedOn + "\"";
    return line + "\n";
}

namespace {

// The stand-in's header: 32-bit words, the version at byte 8 and the record
// count at byte 20, then a check of bytes 0..23 (FNV-1a) at byte 24 that a
// changed word must keep.
std::string WithHeaderWord(std::string bytes, int at, uint32_t value) {
    if (bytes.size() < 28) return bytes;
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(at + i)] = static_cast<char>(value >> (8 * i));
    uint32_t check = 2166136261u;
    for (int i = 0; i < 24; ++i) check = (check ^ static_cast<unsigned char>(bytes[static_cast<size_t>(i)])) * 16777619u;
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(24 + i)] = static_cast<char>(check >> (8 * i));
    return bytes;
}

}  // namespace

std::vector<DamagedFile> DamagedFiles(const std::string& good) {
    const uint32_t version = good.size() >= 12 ? static_cast<unsigned char>(good[8]) : 0;
    return {
        {"missing", false, ""},
        {"empty", true, ""},
        {"truncated", true, good.substr(0, good.size() / 2)},
        {"garbage", true, std::string(good.size(), '\x5a')},
        {"other version", true, WithHeaderWord(good, 8, version + 1)},
    };
}

std::string WithNoRecords(const std::string& good) { return WithHeaderWord(good, 20, 0); }

void PutDamagedFile(const DamagedFile& file, const std::string& path) {
    RemoveFile(path);
    if (file.Present) WriteFileBytes(path, file.Bytes);
}

}  // namespace test
