#include "logstore/CallIndexCopy.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#endif

bool CallIndexCopyIsStale(const IndexFileStamp& logger, const IndexFileStamp& copy) {
    if (!logger.Present) return false;
    return !copy.Present || copy.Size != logger.Size || copy.WriteTime != logger.WriteTime;
}

const char* CallIndexToOpen(bool copyPresent, bool loggerPresent) {
    return !copyPresent && loggerPresent ? kLoggerIndexName : kCallIndexCopyName;
}

const char* PrepareCallIndex() {
    const IndexFileStamp logger = StampOfIndexFile(kLoggerIndexName);
    const IndexFileStamp copy = StampOfIndexFile(kCallIndexCopyName);
    bool copyPresent = copy.Present;
    if (CallIndexCopyIsStale(logger, copy) && RefreshCallIndexCopy()) copyPresent = true;
    return CallIndexToOpen(copyPresent, logger.Present);
}

#if defined(_WIN32)

IndexFileStamp StampOfIndexFile(const char* name) {
    IndexFileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return stamp;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return stamp;
    stamp.Present = true;
    stamp.Size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.WriteTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
    return stamp;
}

bool RefreshCallIndexCopy() {
    // The temporary file is made in the copy's own folder, so that putting
    // it in place is a rename; CopyFileA gives it the original's last-write
    // time, which the next check compares, and also its attributes: a
    // read-only original (restored from read-only media, on a read-only
    // share) would give a copy that could never be replaced again.
    char temp[MAX_PATH];
    if (!::GetTempFileNameA(".", "cix", 0, temp)) return false;
    bool done = ::CopyFileA(kLoggerIndexName, temp, FALSE) && ::SetFileAttributesA(temp, FILE_ATTRIBUTE_NORMAL);
    if (done) {
        // A copy left read-only (by the operator, or by an earlier version
        // of this program) is replaced as well: Windows refuses to replace
        // a read-only file.
        const DWORD attributes = ::GetFileAttributesA(kCallIndexCopyName);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            ::SetFileAttributesA(kCallIndexCopyName, attributes & ~FILE_ATTRIBUTE_READONLY);
        done = ::MoveFileExA(temp, kCallIndexCopyName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    if (!done) ::DeleteFileA(temp);
    return done;
}

#else

IndexFileStamp StampOfIndexFile(const char* name) {
    IndexFileStamp stamp;
    struct stat st;
    if (stat(name, &st) != 0 || !S_ISREG(st.st_mode)) return stamp;
    stamp.Present = true;
    stamp.Size = static_cast<uint64_t>(st.st_size);
    stamp.WriteTime = static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u + static_cast<uint64_t>(st.st_mtim.tv_nsec);
    return stamp;
}

namespace {

bool CopyWhole(int in, int out) {
    char buffer[65536];
    for (;;) {
        ssize_t n = read(in, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) return false;
        for (ssize_t done = 0; done < n;) {
            ssize_t w = write(out, buffer + done, static_cast<size_t>(n - done));
            if (w <= 0) return false;
            done += w;
        }
    }
}

}  // namespace

bool RefreshCallIndexCopy() {
    const int in = open(kLoggerIndexName, O_RDONLY);
    if (in < 0) return false;
    char temp[] = "call.idx.XXXXXX";
    const int out = mkstemp(temp);
    if (out < 0) {
        close(in);
        return false;
    }
    struct stat st;
    bool done = fstat(in, &st) == 0 && CopyWhole(in, out);
    if (done) {
        // The original's times, as CopyFileA keeps them.
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        done = futimens(out, times) == 0;
    }
    close(in);
    done = close(out) == 0 && done;
    done = done && std::rename(temp, kCallIndexCopyName) == 0;
    if (!done) unlink(temp);
    return done;
}

#endif
