#include "GuiDriver.h"

#include <cstring>

#include <gtest/gtest.h>
#include <commctrl.h>

#include <atomic>
#include <thread>

namespace gui {

INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND)>& driver) {
    std::atomic<bool> done{false};
    std::thread t([&] {
        HWND hwnd = WaitFor([&] { return dialog.IsRunning() ? dialog.m_hWnd : nullptr; });
        if (hwnd) {
            Settle(hwnd);
            driver(hwnd);
        } else {
            ADD_FAILURE() << "the dialog did not appear";
        }
        // Close whatever is still open, innermost first.
        for (int i = 0; i < 200 && !done; ++i) {
            CDialog* top = CDialog::CurrentModal();
            if (top && top->m_hWnd) ::PostMessageA(top->m_hWnd, WM_CLOSE, 0, 0);
            ::Sleep(50);
        }
    });
    INT_PTR result = dialog.DoModal();
    done = true;
    t.join();
    return result;
}

HWND WaitFor(const std::function<HWND()>& find, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        if (HWND h = find()) return h;
        ::Sleep(20);
    }
    return nullptr;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 20) {
        if (condition()) return true;
        ::Sleep(20);
    }
    return false;
}

namespace {
struct FindData {
    std::string caption;
    HWND found;
};
BOOL CALLBACK FindProc(HWND hwnd, LPARAM lp) {
    auto* d = reinterpret_cast<FindData*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(hwnd) && WindowText(hwnd) == d->caption) {
        d->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindProcessWindow(const std::string& caption) {
    FindData d{caption, nullptr};
    ::EnumWindows(FindProc, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

HWND WaitForModalAbove(HWND outer, int timeoutMs) {
    return WaitFor([&]() -> HWND {
        CDialog* top = CDialog::CurrentModal();
        HWND h = top ? top->m_hWnd : nullptr;
        return (h && h != outer && ::IsWindowVisible(h)) ? h : nullptr;
    }, timeoutMs);
}

std::string WindowText(HWND hwnd) {
    char buf[1024] = {};
    ::SendMessageA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    return buf;
}

std::string ClassOf(HWND hwnd) {
    char buf[256] = {};
    ::GetClassNameA(hwnd, buf, sizeof buf);
    return buf;
}

RECT ClientRectOf(HWND control) {
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT DialogUnitsToPixels(HWND dialog, int x, int y, int w, int h) {
    // The dialog manager converts origin and size each on its own, so
    // convert them the same way (not the corners).
    RECT r{x, y, w, h};
    ::MapDialogRect(dialog, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}

std::vector<std::vector<std::string>> ReadListRows(HWND list, const std::vector<int>& columns) {
    std::vector<int> cols = columns;
    if (cols.empty()) {
        HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
        const int n = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
        for (int c = 0; c < n; ++c) cols.push_back(c);
    }
    std::vector<std::vector<std::string>> rows;
    const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::vector<std::string> row;
        for (int c : cols) {
            char buffer[512] = {};
            LVITEMA item{};
            item.iSubItem = c;
            item.pszText = buffer;
            item.cchTextMax = sizeof buffer;
            ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            row.push_back(buffer);
        }
        rows.push_back(row);
    }
    return rows;
}

void PostKey(HWND target, UINT vk) {
    ::PostMessageA(target, WM_KEYDOWN, vk, 1);
    ::PostMessageA(target, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
}

void PostCtrlKey(HWND target, UINT vk, const std::function<bool()>& opened) {
    const DWORD thread = ::GetWindowThreadProcessId(target, nullptr);
    const DWORD self = ::GetCurrentThreadId();
    ::AttachThreadInput(self, thread, TRUE);
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] |= 0x80;
    keys[VK_LCONTROL] |= 0x80;
    ::SetKeyboardState(keys);
    PostKey(target, vk);
    // A modal window's own loop does not answer the settle marker.
    if (opened)
        EXPECT_TRUE(WaitUntil(opened)) << "the key opened no window";
    else
        Settle(target);
    keys[VK_CONTROL] &= 0x7F;
    keys[VK_LCONTROL] &= 0x7F;
    ::SetKeyboardState(keys);
    ::AttachThreadInput(self, thread, FALSE);
}

namespace {

// The clipboard's text in one format, up to its NUL.
template <class Char>
std::basic_string<Char> ClipboardData(UINT format) {
    std::basic_string<Char> text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(format)) {
        if (const Char* p = static_cast<const Char*>(::GlobalLock(data))) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

}  // namespace

std::string ClipboardText() { return ClipboardData<char>(CF_TEXT); }
std::wstring ClipboardUnicode() { return ClipboardData<wchar_t>(CF_UNICODETEXT); }

void SetClipboardText(const std::string& text) {
    if (!::OpenClipboard(nullptr)) return;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(::GlobalLock(memory), text.c_str(), text.size() + 1);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_TEXT, memory);
    ::CloseClipboard();
}

void Settle(HWND hwnd) {
    // Posted messages leave the queue in order: once the marker posted now
    // is taken, everything posted before it has been handled.
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ::PostMessageA(hwnd, FrameworkSyncMessage(), 0, reinterpret_cast<LPARAM>(event));
    EXPECT_EQ(::WaitForSingleObject(event, 20000), WAIT_OBJECT_0) << "the dialog's thread did not answer";
    ::CloseHandle(event);
}

namespace {

struct TipSearch {
    HWND Owner;
    HWND Tip;
};

BOOL CALLBACK TryTip(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<TipSearch*>(p);
    if (ClassOf(h) == "tooltips_class32" && ::GetWindow(h, GW_OWNER) == s->Owner) s->Tip = h;
    return s->Tip == nullptr;
}

}  // namespace

std::string ToolTipOf(HWND window, HWND tool) {
    TipSearch search{window, nullptr};
    ::EnumThreadWindows(::GetWindowThreadProcessId(window, nullptr), TryTip, reinterpret_cast<LPARAM>(&search));
    if (!search.Tip) return "(no tooltip)";
    // The Unicode text: the code page one is cut at 80 bytes.
    wchar_t text[1024] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = window;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    ::SendMessageW(search.Tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&info));
    char narrow[2048] = {};
    ::WideCharToMultiByte(932, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

}  // namespace gui
