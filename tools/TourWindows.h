// The guided tour's hold on the programs it drives: the log's dump, the
// state of the tour, and how it waits for, types into, reads and takes
// pictures of the program's windows from outside.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ProgramRunner.h"

namespace tour {

constexpr int kWaitMs = 20000;
// Time for a window's drawing to reach the screen after its thread has gone idle.
constexpr int kPaintMs = 500;

// One record of the dump: number, then Call, Date, Time, His, My, Freq, Mode,
// Code, GL, QSL, Name, QTH, Remarks1, Remarks2.
struct DumpRecord {
    int RecNo = 0;
    std::vector<std::string> Fields;
    const std::string& Call() const { return Fields[0]; }
    const std::string& Code() const { return Fields[7]; }
    const std::string& Name() const { return Fields[10]; }
    const std::string& Qth() const { return Fields[11]; }
};

// The records of a dump file ("vireon-tool dump"), in record order.
std::vector<DumpRecord> ReadDump(const std::string& path);
// A journal line of the logger window for one WM_COPYDATA.
std::string JournalLine(unsigned code, const std::string& text);
bool StartsWith(const std::string& text, const std::string& prefix);

// The step being run and whether everything in it held so far.
struct Tour {
    std::string Folder, Shots;
    std::vector<DumpRecord> Dump;
    e2e::RunningProgram Logger, Program;
    HANDLE Process = nullptr;   // the program, opened for reading its lists
    HWND Main = nullptr, LoggerWindow = nullptr;
    bool Ok = true;

    bool Check(bool condition, const std::string& what) {
        if (!condition) {
            std::printf("FAILED: %s\n", what.c_str());
            Ok = false;
        }
        return condition;
    }
};

std::string TextOf(HWND hwnd);
// Waits until the program's innermost modal loop has handled everything
// posted before: the loop sets the event handed over with its sync message.
bool Settle(Tour& t, HWND window);
// A key pressed and released in the call box, then Settle.
bool PostKey(Tour& t, UINT vk);
void Type(Tour& t, const std::string& text);

// A block of memory inside the program, for list-view calls that take a
// structure: the list of another process reads and writes only its own memory.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, SIZE_T size) : process_(process) {
        at_ = static_cast<char*>(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteBlock() {
        if (at_) ::VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    char* At() const { return at_; }
    void Write(SIZE_T offset, const void* data, SIZE_T size) {
        SIZE_T done = 0;
        ::WriteProcessMemory(process_, at_ + offset, data, size, &done);
    }
    void Read(SIZE_T offset, void* data, SIZE_T size) const {
        SIZE_T done = 0;
        ::ReadProcessMemory(process_, at_ + offset, data, size, &done);
    }

private:
    HANDLE process_;
    char* at_ = nullptr;
};

using Rows = std::vector<std::vector<std::string>>;

// Every row of a list of the program, each with the texts of the given columns.
Rows ReadList(Tour& t, HWND list, const std::vector<int>& columns);
// Saves the window as it stands on the screen as SHOTS/<name>.bmp (24 bits).
void Shoot(Tour& t, HWND window, const std::string& name);

std::vector<std::string> Journal(const Tour& t);
// Waits until the journal holds at least n lines (a sent message is journalled
// before the logger window answers it; input by mouse may still be on its way).
std::vector<std::string> WaitForJournal(const Tour& t, size_t n);
// A modal window of the program opened by the last command.
HWND WaitForProgramWindow(Tour& t, const std::string& caption);
bool WaitUntilGone(HWND window);
void Close(Tour& t, HWND window, const std::string& what);
void Click(HWND dialog, int id);

}  // namespace tour
