#include "ProgramRunner.h"

namespace e2e {

RunningProgram::~RunningProgram() { Kill(); }

bool RunningProgram::Start(const std::string& exe, const std::vector<std::string>& args, const std::string& workdir) {
    std::string cmd = "\"" + exe + "\"";
    for (const auto& a : args) cmd += " \"" + a + "\"";
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    return ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, workdir.c_str(), &si, &pi_) != FALSE;
}

namespace {
struct Collect {
    DWORD pid;
    std::vector<HWND> windows;
};
BOOL CALLBACK CollectProc(HWND hwnd, LPARAM lp) {
    auto* c = reinterpret_cast<Collect*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == c->pid && ::IsWindowVisible(hwnd)) c->windows.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> RunningProgram::VisibleWindows() const {
    Collect c{pi_.dwProcessId, {}};
    if (pi_.hProcess) ::EnumWindows(CollectProc, reinterpret_cast<LPARAM>(&c));
    return c.windows;
}

HWND RunningProgram::WaitForWindow(const std::string& caption, int timeoutMs) const {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        for (HWND h : VisibleWindows())
            if (caption.empty() || WindowText(h) == caption) return h;
        if (WaitForExit(0)) return nullptr;
        ::Sleep(50);
    }
    return nullptr;
}

bool RunningProgram::WaitForExit(int timeoutMs, DWORD* exitCode) const {
    if (!pi_.hProcess) return true;
    if (::WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return false;
    if (exitCode) ::GetExitCodeProcess(pi_.hProcess, exitCode);
    return true;
}

void RunningProgram::Kill() {
    if (!pi_.hProcess) return;
    if (!WaitForExit(0)) {
        ::TerminateProcess(pi_.hProcess, 99);
        ::WaitForSingleObject(pi_.hProcess, 5000);
    }
    ::CloseHandle(pi_.hProcess);
    ::CloseHandle(pi_.hThread);
    pi_ = PROCESS_INFORMATION{};
}

std::string WindowText(HWND hwnd) {
    char buf[1024] = {};
    DWORD_PTR got = 0;
    ::SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, &got);
    return buf;
}

}  // namespace e2e
