// The few things the portable file code needs from the operating system:
// files read and written at an offset, and text conversion to code page 932.
// PlatformPosix.cpp and PlatformWin.cpp are the only files that know the
// system; everything else compiles the same in both builds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace vireon {

struct OsFile;   // opaque

enum class OpenMode { Read, ReadWrite, Create };   // Create truncates

// share: while open for reading, let other processes keep the file open and
// write to it (Windows share modes; no effect on POSIX systems).
OsFile* OsOpen(const char* path, OpenMode mode, bool share);
void OsClose(OsFile* f);
int64_t OsSize(OsFile* f);   // -1 on error
// Exactly n bytes at the offset, or false (also on a short read).
bool OsReadAt(OsFile* f, int64_t offset, void* buf, size_t n);
bool OsWriteAt(OsFile* f, int64_t offset, const void* buf, size_t n);
bool OsFileExists(const char* path);
// Puts `from` in the place of `to` (replacing it when it exists) in one step
// where the system can; false when it cannot (to is then left as it was).
bool OsReplaceFile(const char* from, const char* to);
bool OsRemoveFile(const char* path);   // true also when there was no such file

// UTF-8 (already checked to be valid) to CP932. Characters with no CP932
// form become '?' and set *lossy. False when the conversion is unavailable.
bool Utf8ToCp932(const std::string& in, std::string* out, bool* lossy);
// True when lead and trail form a character that code page 932 defines.
bool Cp932PairDefined(unsigned char lead, unsigned char trail);
// CP932 to UTF-8 (for messages on a UTF-8 terminal); invalid bytes become '?'.
std::string Cp932ToUtf8(const std::string& in);

}  // namespace vireon
