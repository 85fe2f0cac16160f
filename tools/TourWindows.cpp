#include "TourWindows.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "res/resource.h"

namespace tour {

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    for (char c : line) {
        if (c == '\t') {
            cells.push_back(cell);
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells.push_back(cell);
    return cells;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

}  // namespace

std::vector<DumpRecord> ReadDump(const std::string& path) {
    std::vector<DumpRecord> records;
    for (const std::string& line : ReadLines(path)) {
        std::vector<std::string> cells = SplitTabs(line);
        if (cells.size() < 15 || std::atoi(cells[0].c_str()) <= 0) continue;
        DumpRecord r;
        r.RecNo = std::atoi(cells[0].c_str());
        r.Fields.assign(cells.begin() + 1, cells.end());
        records.push_back(r);
    }
    return records;
}

std::string JournalLine(unsigned code, const std::string& text) {
    char head[32];
    std::snprintf(head, sizeof head, "%08X %u", code, static_cast<unsigned>(text.size()));
    return text.empty() ? std::string(head) : std::string(head) + " " + Hex(text);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string TextOf(HWND hwnd) { return hwnd ? e2e::WindowText(hwnd) : std::string(); }

bool Settle(Tour& t, HWND window) {
    static const UINT sync = ::RegisterWindowMessageA("CallsignCheck.FrameworkSync");
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE remote = nullptr;
    bool ok = ::DuplicateHandle(::GetCurrentProcess(), event, t.Process, &remote, 0, FALSE, DUPLICATE_SAME_ACCESS) &&
              ::PostMessageA(window, sync, 0, reinterpret_cast<LPARAM>(remote)) &&
              ::WaitForSingleObject(event, kWaitMs) == WAIT_OBJECT_0;
    ::CloseHandle(event);
    return t.Check(ok, "the program answers within " + std::to_string(kWaitMs / 1000) + " s");
}

bool PostKey(Tour& t, UINT vk) {
    HWND box = ::GetDlgItem(t.Main, IDC_CALLSIGN);
    ::PostMessageA(box, WM_KEYDOWN, vk, 1);
    ::PostMessageA(box, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
    return Settle(t, t.Main);
}

void Type(Tour& t, const std::string& text) {
    ::SendMessageA(::GetDlgItem(t.Main, IDC_CALLSIGN), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

Rows ReadList(Tour& t, HWND list, const std::vector<int>& columns) {
    Rows rows;
    int n = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    constexpr int kText = 512;
    RemoteBlock block(t.Process, sizeof(LVITEMA) + kText);
    if (!t.Check(block.At() != nullptr, "a buffer inside the program")) return rows;
    for (int i = 0; i < n; ++i) {
        std::vector<std::string> row;
        for (int c : columns) {
            LVITEMA item{};
            item.iSubItem = c;
            item.pszText = block.At() + sizeof(LVITEMA);
            item.cchTextMax = kText;
            char text[kText + 1] = {};
            block.Write(0, &item, sizeof item);
            block.Write(sizeof(LVITEMA), text, 1);
            ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(block.At()));
            block.Read(sizeof(LVITEMA), text, kText);
            row.push_back(text);
        }
        rows.push_back(row);
    }
    return rows;
}

void Shoot(Tour& t, HWND window, const std::string& name) {
    ::SetForegroundWindow(window);
    for (int waited = 0; ::GetForegroundWindow() != window && waited < 1000; waited += 50) ::Sleep(50);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    // Both programs' threads idle: the program's modal loop has taken every
    // posted message, the logger window has answered a sent one.
    Settle(t, t.Main);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &ignored);
    ::Sleep(kPaintMs);
    RECT r{};
    ::GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!t.Check(w > 0 && h > 0, name + ": the window has a size")) return;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    bool copied = bitmap && ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY) != FALSE;
    ::GdiFlush();
    if (t.Check(copied, name + ": the screen is readable")) {
        const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;   // "BM"
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + stride * static_cast<DWORD>(h);
        std::string path = t.Shots + "/" + name + ".bmp";
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
        out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(stride) * h);
        if (t.Check(out.good(), "write " + path)) std::printf("SHOT %s %d %d\n", name.c_str(), w, h);
    }
    ::SelectObject(memory, old);
    if (bitmap) ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

std::vector<std::string> Journal(const Tour& t) { return ReadLines(t.Folder + "/journal.txt"); }

std::vector<std::string> WaitForJournal(const Tour& t, size_t n) {
    std::vector<std::string> lines = Journal(t);
    for (int waited = 0; lines.size() < n && waited < kWaitMs; waited += 50) {
        ::Sleep(50);
        lines = Journal(t);
    }
    return lines;
}

HWND WaitForProgramWindow(Tour& t, const std::string& caption) {
    HWND w = t.Program.WaitForWindow(caption, kWaitMs);
    t.Check(w != nullptr, "the window \"" + caption + "\" opens");
    return w;
}

bool WaitUntilGone(HWND window) {
    for (int waited = 0; ::IsWindow(window) && waited < kWaitMs; waited += 50) ::Sleep(50);
    return !::IsWindow(window);
}

void Close(Tour& t, HWND window, const std::string& what) {
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    t.Check(WaitUntilGone(window), what + " closes");
}

void Click(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

}  // namespace tour
