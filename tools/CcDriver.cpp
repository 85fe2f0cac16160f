// cc-driver: works the running CallsignCheck from outside, as the operator's
// keyboard would, and prints what its window shows.
//
//   cc-driver PID COMMAND...
//
// Commands, run in order:
//   type TEXT       puts TEXT into the call-sign box
//   key NAME        posts the key (enter, down, f3, escape, tab) to the box
//                   and waits until the program has handled it
//   link on|off     ticks or clears the link box
//   box             prints "BOX\t<call-sign box>"
//   count           prints "COUNT\t<count box>"
//   status          prints "STATUS\t<status bar>"
//   rows COLS       prints "ROWS\t<n>", then "ROW\t<text>\t<text>..." per
//                   list row with the columns COLS ("0,1,8"; "all")
// The list of another process is read with LVM_GETITEMTEXTA through a block
// allocated inside that process. Exit code 0 on success.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

struct Target {
    DWORD Pid = 0;
    HWND Main = nullptr;
    HANDLE Process = nullptr;
};

BOOL CALLBACK FindMain(HWND hwnd, LPARAM lp) {
    auto* t = reinterpret_cast<Target*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == t->Pid && ::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, IDC_QSOLIST) && ::GetDlgItem(hwnd, IDC_CALLSIGN)) {
        t->Main = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::string TextOf(HWND hwnd) {
    char buffer[1024] = {};
    DWORD_PTR got = 0;
    ::SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 10000, &got);
    return buffer;
}

// Waits until the program's modal loop has taken everything posted so far:
// it sets the event handed over with its sync message.
bool Settle(const Target& t) {
    static const UINT sync = ::RegisterWindowMessageA("CallsignCheck.FrameworkSync");
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE remote = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), event, t.Process, &remote, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        ::CloseHandle(event);
        return false;
    }
    ::PostMessageA(t.Main, sync, 0, reinterpret_cast<LPARAM>(remote));
    bool ok = ::WaitForSingleObject(event, 60000) == WAIT_OBJECT_0;
    ::CloseHandle(event);
    return ok;
}

bool PostKey(const Target& t, const std::string& name) {
    UINT vk = name == "enter" ? VK_RETURN : name == "down" ? VK_DOWN : name == "f3" ? VK_F3
            : name == "escape" ? VK_ESCAPE : name == "tab" ? VK_TAB : 0;
    if (!vk) return false;
    HWND box = ::GetDlgItem(t.Main, IDC_CALLSIGN);
    ::PostMessageA(box, WM_KEYDOWN, vk, 1);
    ::PostMessageA(box, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
    return Settle(t);
}

std::vector<int> ParseColumns(const std::string& wanted) {
    std::vector<int> cols;
    if (wanted == "all") {
        for (int c = 0; c < 15; ++c) cols.push_back(c);
        return cols;
    }
    std::istringstream in(wanted);
    std::string part;
    while (std::getline(in, part, ',')) cols.push_back(std::atoi(part.c_str()));
    return cols;
}

bool PrintRows(const Target& t, const std::vector<int>& cols) {
    HWND list = ::GetDlgItem(t.Main, IDC_QSOLIST);
    int n = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::printf("ROWS\t%d\n", n);
    // One block inside the program: the item structure and its text buffer.
    constexpr int kText = 512;
    SIZE_T size = sizeof(LVITEMA) + kText;
    auto* remote = static_cast<char*>(::VirtualAllocEx(t.Process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    if (!remote) return false;
    for (int i = 0; i < n; ++i) {
        std::string line = "ROW";
        for (int c : cols) {
            LVITEMA item{};
            item.iSubItem = c;
            item.pszText = remote + sizeof(LVITEMA);
            item.cchTextMax = kText;
            char empty = 0;
            SIZE_T done = 0;
            ::WriteProcessMemory(t.Process, remote, &item, sizeof item, &done);
            ::WriteProcessMemory(t.Process, remote + sizeof(LVITEMA), &empty, 1, &done);
            ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote));
            char text[kText + 1] = {};
            ::ReadProcessMemory(t.Process, remote + sizeof(LVITEMA), text, kText, &done);
            line += "\t";
            line += text;
        }
        std::printf("%s\n", line.c_str());
    }
    ::VirtualFreeEx(t.Process, remote, 0, MEM_RELEASE);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: cc-driver PID COMMAND...\n");
        return 2;
    }
    Target t;
    t.Pid = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
    for (int waited = 0; !t.Main && waited < 20000; waited += 50) {
        ::EnumWindows(FindMain, reinterpret_cast<LPARAM>(&t));
        if (!t.Main) ::Sleep(50);
    }
    if (!t.Main) {
        std::fprintf(stderr, "cc-driver: no CallsignCheck window of process %lu\n", static_cast<unsigned long>(t.Pid));
        return 3;
    }
    t.Process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_DUP_HANDLE, FALSE, t.Pid);
    if (!t.Process) {
        std::fprintf(stderr, "cc-driver: cannot open process %lu\n", static_cast<unsigned long>(t.Pid));
        return 3;
    }
    int code = 0;
    for (int i = 2; i < argc && code == 0; ++i) {
        std::string cmd = argv[i];
        bool hasArg = i + 1 < argc;
        if (cmd == "type" && hasArg) {
            ::SendMessageA(::GetDlgItem(t.Main, IDC_CALLSIGN), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[++i]));
        } else if (cmd == "key" && hasArg) {
            if (!PostKey(t, argv[++i])) code = 4;
        } else if (cmd == "link" && hasArg) {
            bool on = std::string(argv[++i]) == "on";
            ::SendMessageA(::GetDlgItem(t.Main, IDC_LINKTOLOGGER), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        } else if (cmd == "box") {
            std::printf("BOX\t%s\n", TextOf(::GetDlgItem(t.Main, IDC_CALLSIGN)).c_str());
        } else if (cmd == "count") {
            std::printf("COUNT\t%s\n", TextOf(::GetDlgItem(t.Main, IDC_COUNT)).c_str());
        } else if (cmd == "status") {
            std::printf("STATUS\t%s\n", TextOf(::GetDlgItem(t.Main, IDC_STATUSBAR)).c_str());
        } else if (cmd == "rows" && hasArg) {
            if (!PrintRows(t, ParseColumns(argv[++i]))) code = 5;
        } else {
            std::fprintf(stderr, "cc-driver: unknown command %s\n", cmd.c_str());
            code = 2;
        }
        std::fflush(stdout);
    }
    ::CloseHandle(t.Process);
    return code;
}
