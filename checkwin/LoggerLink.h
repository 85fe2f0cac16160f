// Hands texts to the running logging program's main window (class
// "TKvwin") as WM_COPYDATA messages. Which messages a trigger sends is
// decided by the rules in CheckRules.h; this file only finds the window and
// delivers them.
#pragma once
#include <windows.h>

#include "checkwin/CheckRules.h"

// How long one message may wait for the logging program. A program that
// stops answering must not freeze this one.
constexpr UINT kLoggerSendTimeoutMs = 2000;

// The logging program's main window, looked up afresh, or null.
HWND FindLoggerWindow();

// Sends the messages in order from `sender` to `target`, each as
// WM_COPYDATA with exactly its bytes (no terminating NUL). A send that fails
// or is not answered within the bound ends the sends of this call. Returns
// how many messages were delivered.
size_t SendLinkMessages(HWND sender, HWND target, const LinkMessages& messages,
                        UINT timeoutMs = kLoggerSendTimeoutMs);
