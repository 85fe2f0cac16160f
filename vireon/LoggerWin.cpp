// loggerwin: stands in for the running logging program's main window. It
// registers the window class "TKvwin", shows every WM_COPYDATA it receives
// in a list and appends it to a journal file:
//     loggerwin.exe JOURNALFILE [--hang]
// Journal line per message: data code (8 hex digits), length, the bytes in
// upper-case hex ("%08X %u %s\n"; "%08X 0\n" when empty), flushed at once.
// With --hang the first message is journalled and then never answered.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

FILE* g_journal = nullptr;
bool g_hang = false;
HWND g_list = nullptr;
constexpr int kListId = 100;

void Journal(const COPYDATASTRUCT* cds) {
    const unsigned char* p = static_cast<const unsigned char*>(cds->lpData);
    DWORD len = p ? cds->cbData : 0;
    std::string hex;
    hex.reserve(size_t(len) * 2);
    static const char kHex[] = "0123456789ABCDEF";
    for (DWORD i = 0; i < len; ++i) {
        hex += kHex[p[i] >> 4];
        hex += kHex[p[i] & 15];
    }
    if (g_journal) {
        if (len) std::fprintf(g_journal, "%08lX %lu %s\n", static_cast<unsigned long>(cds->dwData),
                              static_cast<unsigned long>(len), hex.c_str());
        else std::fprintf(g_journal, "%08lX 0\n", static_cast<unsigned long>(cds->dwData));
        std::fflush(g_journal);
    }
    // The list shows the text as CP932; control bytes become blanks.
    std::string text(reinterpret_cast<const char*>(p ? p : reinterpret_cast<const unsigned char*>("")), len);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    char head[64];
    std::snprintf(head, sizeof head, "%08lX  %4lu  ", static_cast<unsigned long>(cds->dwData),
                  static_cast<unsigned long>(len));
    std::string line = head + text;
    LRESULT at = SendMessageA(g_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    if (at >= 0) SendMessageA(g_list, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        g_list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0, hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), nullptr, nullptr);
        SendMessageA(g_list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        return 0;
    case WM_SIZE:
        MoveWindow(g_list, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_COPYDATA: {
        const COPYDATASTRUCT* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (cds) Journal(cds);
        if (g_hang) {
            // Stop answering: the sender's wait must be bounded on its side.
            for (;;) Sleep(1000);
        }
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// The system DPI: the program is system DPI aware (its manifest says so),
// so Windows does not stretch its window, and its size is given for 96 DPI
// and scaled here. GetDpiForSystem exists from Windows 10 1607 on.
int SystemDpi() {
    using GetDpi = UINT(WINAPI*)();
    if (HMODULE user = GetModuleHandleA("user32.dll")) {
        if (auto get = reinterpret_cast<GetDpi>(reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForSystem")))) {
            if (UINT dpi = get()) return static_cast<int>(dpi);
        }
    }
    int dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : 96;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const char* journalPath = nullptr;
    for (int i = 1; i < __argc; ++i) {
        if (std::strcmp(__argv[i], "--hang") == 0) g_hang = true;
        else if (!journalPath) journalPath = __argv[i];
        else return 2;
    }
    if (!journalPath) {
        MessageBoxA(nullptr, "usage: loggerwin.exe JOURNALFILE [--hang]", "loggerwin", MB_OK | MB_ICONEXCLAMATION);
        return 2;
    }
    g_journal = std::fopen(journalPath, "ab");
    if (!g_journal) return 3;

    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "TKvwin";
    if (!RegisterClassA(&wc)) return 4;
    const int dpi = SystemDpi();
    HWND hwnd = CreateWindowExA(0, "TKvwin", "Vireon (stand-in)", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, MulDiv(520, dpi, 96), MulDiv(360, dpi, 96), nullptr, nullptr,
                                instance, nullptr);
    if (!hwnd) return 5;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    std::fclose(g_journal);
    return 0;
}
