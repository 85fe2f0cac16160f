// Starts a built program in a folder of its own and looks at its windows
// from outside, as the operator's desktop would.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

class RunningProgram {
public:
    RunningProgram() = default;
    ~RunningProgram();   // ends the program if it still runs
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Start(const std::string& exe, const std::vector<std::string>& args, const std::string& workdir);
    // A visible top-level window of the program with this caption ("" = any).
    HWND WaitForWindow(const std::string& caption, int timeoutMs = 20000) const;
    std::vector<HWND> VisibleWindows() const;
    // True when the program ended within the time; its exit code then.
    bool WaitForExit(int timeoutMs, DWORD* exitCode = nullptr) const;
    void Kill();
    DWORD Pid() const { return pi_.dwProcessId; }

private:
    PROCESS_INFORMATION pi_{};
};

std::string WindowText(HWND hwnd);

}  // namespace e2e
