// Drives the program's real dialogs in tests: the dialog runs its own modal
// loop on the test's thread while a driver thread posts input to it and
// reads its windows back, as a person at the keyboard would.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Framework.h"

namespace gui {

// Runs dialog.DoModal() here and driver(dialog window) on a second thread.
// When the driver returns, every dialog still running is closed, so a failed
// check never leaves the test hanging. Returns DoModal's result.
INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND)>& driver);

// Waits until find() gives a window (null after the timeout).
HWND WaitFor(const std::function<HWND()>& find, int timeoutMs = 10000);
// Waits until the condition holds; false after the timeout.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);

// A visible top-level window of this process with exactly this caption.
HWND FindProcessWindow(const std::string& caption);
// The innermost running modal dialog's window once it differs from `outer`.
HWND WaitForModalAbove(HWND outer, int timeoutMs = 10000);

std::string WindowText(HWND hwnd);
std::string ClassOf(HWND hwnd);
// A control's rectangle in its dialog's client coordinates.
RECT ClientRectOf(HWND control);
// A rectangle given in dialog units, in the dialog's pixels.
RECT DialogUnitsToPixels(HWND dialog, int x, int y, int w, int h);

// The texts of a report list's rows, in the columns given (all of its
// header's columns when none are), read through the list-view messages.
std::vector<std::vector<std::string>> ReadListRows(HWND list, const std::vector<int>& columns = {});

// Key input through the receiving thread's message queue (and so through
// the modal loop's pre-translation), as the keyboard delivers it.
void PostKey(HWND target, UINT vk);
// A key with Ctrl held down: the Ctrl key is set down in the keyboard state
// that the target's thread shares with this one for the time of the key,
// and the key posted as PostKey does; returns once it has been handled, or
// for a key that opens a modal window, once `opened()` holds.
void PostCtrlKey(HWND target, UINT vk, const std::function<bool()>& opened = nullptr);
// The clipboard's text in code page 932 (CF_TEXT) and as UTF-16
// (CF_UNICODETEXT); "" when it holds none.
std::string ClipboardText();
std::wstring ClipboardUnicode();
// Puts a text of its own on the clipboard, to see whether it is replaced.
void SetClipboardText(const std::string& text);
// The text of the tooltip that `window` (a dialog) shows over its child
// `tool`, read from the tooltip control it owns; "(no tooltip)" without one.
std::string ToolTipOf(HWND window, HWND tool);
// Waits until the dialog's thread has handled everything posted so far.
void Settle(HWND anyWindowOfThatThread);

}  // namespace gui
