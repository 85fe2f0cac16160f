// The status bar along a window's bottom edge: one part, a size grip, the
// dialog's font. A text too long for the bar ends in "…", and the whole
// text is then the bar's tooltip; the text is fitted again whenever the bar
// changes its width.
#pragma once
#include <windows.h>

#include <string>

class StatusBar {
public:
    // Makes the bar (and its tooltip) in `dialog`; the bar of an earlier
    // window is forgotten.
    void Create(HWND dialog, int id);
    HWND Window() const { return bar_; }
    // The whole text; what is shown is fitted to the bar.
    void SetText(const std::string& text);
    const std::string& Text() const { return text_; }
    // The bar placed along the bottom of its dialog's client area, its text
    // fitted again: the height it takes (0 before Create).
    int Place();

private:
    // The bar is still there, in its dialog (a window made anew forgets it).
    bool IsShown() const;
    void ShowFitted();

    HWND dialog_ = nullptr;
    HWND bar_ = nullptr;
    HWND tip_ = nullptr;
    std::string text_;
    std::string shown_;     // what the bar shows
    std::string tipText_;   // what its tooltip shows
};
