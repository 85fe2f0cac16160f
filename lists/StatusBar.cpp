#include "lists/StatusBar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Framework.h"
#include "lists/TextFit.h"

namespace {

// Room the bar keeps on each side of its text, in pixels at 96 DPI.
constexpr int kTextInset = 4;

TOOLINFOA ToolOf(HWND dialog, HWND bar, const char* text) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(bar);
    tool.lpszText = const_cast<char*>(text);
    return tool;
}

// The width the bar's one part has for text.
int TextRoom(HWND bar) {
    RECT part{}, client{};
    ::SendMessageA(bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
    ::GetClientRect(bar, &client);
    int right = static_cast<int>(std::min(part.right, client.right));
    if (::GetWindowLongA(bar, GWL_STYLE) & SBARS_SIZEGRIP)
        right = std::min(right, static_cast<int>(client.right) - ::GetSystemMetrics(SM_CXVSCROLL));
    int borders[3] = {};
    ::SendMessageA(bar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    return right - static_cast<int>(part.left) - 2 * borders[0] - 2 * ScaleToWindowDpi(bar, kTextInset);
}

}  // namespace

void StatusBar::Create(HWND dialog, int id) {
    dialog_ = dialog;
    text_.clear();
    shown_.clear();
    tipText_.clear();
    bar_ = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AfxGetInstanceHandle(), nullptr);
    tip_ = nullptr;
    if (!bar_) return;
    // In the dialog's font, so that it sizes itself at any DPI.
    ::SendMessageA(bar_, WM_SETFONT, ::SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    // A tooltip of its own: the bar's built-in one shows only for text that
    // the bar itself cuts off, and this text is cut before.
    tip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                             AfxGetInstanceHandle(), nullptr);
    if (tip_) {
        TOOLINFOA tool = ToolOf(dialog, bar_, "");
        ::SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        // Long texts wrap instead of running off the screen.
        ::SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, ScaleToWindowDpi(dialog, 600));
    }
}

void StatusBar::SetText(const std::string& text) {
    text_ = text;
    ShowFitted();
}

bool StatusBar::IsShown() const { return bar_ && ::IsWindow(bar_) && ::GetParent(bar_) == dialog_; }

int StatusBar::Place() {
    if (!IsShown()) return 0;
    // The bar places itself at the bottom edge at its own height.
    ::SendMessageA(bar_, WM_SIZE, 0, 0);
    ShowFitted();
    RECT r;
    ::GetWindowRect(bar_, &r);
    return r.bottom - r.top;
}

void StatusBar::ShowFitted() {
    if (!IsShown()) return;
    HDC dc = ::GetDC(bar_);
    HGDIOBJ font = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(bar_, WM_GETFONT, 0, 0)));
    const std::string fitted = FitWithEllipsis(text_, TextRoom(bar_), [dc](const std::string& t) {
        SIZE size{};
        ::GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &size);
        return static_cast<int>(size.cx);
    });
    ::SelectObject(dc, font);
    ::ReleaseDC(bar_, dc);
    const std::string tip = fitted == text_ ? std::string() : text_;
    // The bar and its tooltip are told only of a change.
    if (fitted != shown_) {
        shown_ = fitted;
        ::SendMessageA(bar_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(fitted.c_str()));
    }
    if (tip_ && tip != tipText_) {
        tipText_ = tip;
        TOOLINFOA tool = ToolOf(dialog_, bar_, tip.c_str());
        ::SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}
