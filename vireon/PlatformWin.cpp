#include "vireon/Platform.h"

#include <windows.h>

#include <vector>

namespace vireon {

struct OsFile { HANDLE h; };

OsFile* OsOpen(const char* path, OpenMode mode, bool share) {
    if (!path) return nullptr;
    DWORD access = mode == OpenMode::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    // Readers always let others read; with sharing on they also let the
    // logging program keep the file open for writing. Writers let readers in.
    DWORD shareMode = FILE_SHARE_READ;
    if (mode == OpenMode::Read && share) shareMode |= FILE_SHARE_WRITE;
    if (mode != OpenMode::Read) shareMode |= FILE_SHARE_WRITE;
    DWORD disposition = mode == OpenMode::Create ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE h = CreateFileA(path, access, shareMode, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return nullptr;
    }
    return new OsFile{h};
}

void OsClose(OsFile* f) {
    if (!f) return;
    CloseHandle(f->h);
    delete f;
}

int64_t OsSize(OsFile* f) {
    LARGE_INTEGER size;
    if (!f || !GetFileSizeEx(f->h, &size)) return -1;
    return size.QuadPart;
}

bool OsReadAt(OsFile* f, int64_t offset, void* buf, size_t n) {
    if (!f || offset < 0) return false;
    char* p = static_cast<char*>(buf);
    while (n > 0) {
        OVERLAPPED ov{};
        ov.Offset = static_cast<DWORD>(offset);
        ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD want = n > 0x10000000 ? 0x10000000 : static_cast<DWORD>(n);
        DWORD got = 0;
        if (!ReadFile(f->h, p, want, &got, &ov) || got == 0) return false;
        p += got;
        n -= got;
        offset += got;
    }
    return true;
}

bool OsWriteAt(OsFile* f, int64_t offset, const void* buf, size_t n) {
    if (!f || offset < 0) return false;
    const char* p = static_cast<const char*>(buf);
    while (n > 0) {
        OVERLAPPED ov{};
        ov.Offset = static_cast<DWORD>(offset);
        ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD want = n > 0x10000000 ? 0x10000000 : static_cast<DWORD>(n);
        DWORD put = 0;
        if (!WriteFile(f->h, p, want, &put, &ov) || put == 0) return false;
        p += put;
        n -= put;
        offset += put;
    }
    return true;
}

bool OsFileExists(const char* path) {
    if (!path) return false;
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool OsReplaceFile(const char* from, const char* to) {
    return from && to && MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool OsRemoveFile(const char* path) {
    if (!path) return false;
    return DeleteFileA(path) || GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
}

bool Cp932PairDefined(unsigned char lead, unsigned char trail) {
    char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    wchar_t w[2];
    return MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, in, 2, w, 2) == 1;
}

bool Utf8ToCp932(const std::string& in, std::string* out, bool* lossy) {
    if (lossy) *lossy = false;
    out->clear();
    if (in.empty()) return true;
    int wn = MultiByteToWideChar(CP_UTF8, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
    if (wn <= 0) return false;
    std::vector<wchar_t> w(static_cast<size_t>(wn));
    MultiByteToWideChar(CP_UTF8, 0, in.data(), static_cast<int>(in.size()), w.data(), wn);
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, w.data(), wn, nullptr, 0, "?", &usedDefault);
    if (n <= 0) return false;
    out->resize(static_cast<size_t>(n));
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, w.data(), wn, &(*out)[0], n, "?", &usedDefault);
    if (lossy && usedDefault) *lossy = true;
    return true;
}

std::string Cp932ToUtf8(const std::string& in) {
    if (in.empty()) return {};
    int wn = MultiByteToWideChar(932, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
    if (wn <= 0) return std::string(in.size(), '?');
    std::vector<wchar_t> w(static_cast<size_t>(wn));
    MultiByteToWideChar(932, 0, in.data(), static_cast<int>(in.size()), w.data(), wn);
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), wn, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), wn, &out[0], n, nullptr, nullptr);
    return out;
}

}  // namespace vireon
