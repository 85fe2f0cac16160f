#include "checkwin/LoggerLink.h"

HWND FindLoggerWindow() { return ::FindWindowA("TKvwin", nullptr); }

size_t SendLinkMessages(HWND sender, HWND target, const LinkMessages& messages, UINT timeoutMs) {
    if (!target) return 0;
    size_t sent = 0;
    for (const LinkMessage& m : messages) {
        COPYDATASTRUCT data{};
        data.dwData = m.Code;
        data.cbData = static_cast<DWORD>(m.Bytes.size());
        // An empty text goes with length 0; the address then carries nothing.
        data.lpData = m.Bytes.empty() ? nullptr : const_cast<char*>(m.Bytes.data());
        DWORD_PTR answer = 0;
        LRESULT ok = ::SendMessageTimeoutA(target, WM_COPYDATA, reinterpret_cast<WPARAM>(sender),
                                           reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                           timeoutMs, &answer);
        if (!ok) break;
        ++sent;
    }
    return sent;
}
