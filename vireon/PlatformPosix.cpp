#include "vireon/Platform.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vireon {

struct OsFile { int fd; };

OsFile* OsOpen(const char* path, OpenMode mode, bool /*share*/) {
    if (!path) return nullptr;
    int flags = mode == OpenMode::Read ? O_RDONLY : mode == OpenMode::ReadWrite ? O_RDWR
                                                                                : O_RDWR | O_CREAT | O_TRUNC;
    int fd = open(path, flags | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    return new OsFile{fd};
}

void OsClose(OsFile* f) {
    if (!f) return;
    close(f->fd);
    delete f;
}

int64_t OsSize(OsFile* f) {
    struct stat st;
    if (!f || fstat(f->fd, &st) != 0) return -1;
    return st.st_size;
}

bool OsReadAt(OsFile* f, int64_t offset, void* buf, size_t n) {
    if (!f || offset < 0) return false;
    char* p = static_cast<char*>(buf);
    while (n > 0) {
        ssize_t got = pread(f->fd, p, n, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        p += got;
        n -= static_cast<size_t>(got);
        offset += got;
    }
    return true;
}

bool OsWriteAt(OsFile* f, int64_t offset, const void* buf, size_t n) {
    if (!f || offset < 0) return false;
    const char* p = static_cast<const char*>(buf);
    while (n > 0) {
        ssize_t put = pwrite(f->fd, p, n, static_cast<off_t>(offset));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        p += put;
        n -= static_cast<size_t>(put);
        offset += put;
    }
    return true;
}

bool OsFileExists(const char* path) {
    struct stat st;
    return path && stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool OsReplaceFile(const char* from, const char* to) {
    return from && to && std::rename(from, to) == 0;
}

bool OsRemoveFile(const char* path) {
    return path && (unlink(path) == 0 || errno == ENOENT);
}

static bool Convert(const char* to, const char* from, const std::string& in, std::string* out,
                    bool* lossy, bool replace) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out->clear();
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buf[256];
    bool ok = true;
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        size_t r = iconv(cd, &src, &left, &dst, &room);
        out->append(buf, static_cast<size_t>(dst - buf));
        if (r != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        if (errno == EILSEQ && replace) {
            // Not representable (or, from CP932, not valid): one '?' for the
            // whole character, then go on after it.
            *out += '?';
            if (lossy) *lossy = true;
            size_t skip = 1;
            if (std::string(from) == "UTF-8") {
                unsigned char c = static_cast<unsigned char>(*src);
                skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
                if (skip > left) skip = left;
            }
            src += skip;
            left -= skip;
            continue;
        }
        ok = false;
        break;
    }
    iconv_close(cd);
    return ok;
}

bool Utf8ToCp932(const std::string& in, std::string* out, bool* lossy) {
    if (lossy) *lossy = false;
    return Convert("CP932", "UTF-8", in, out, lossy, true);
}

bool Cp932PairDefined(unsigned char lead, unsigned char trail) {
    // One converter for the whole run: the tool asks about many pairs.
    static iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    char out[8];
    char* src = in;
    char* dst = out;
    size_t left = 2, room = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return iconv(cd, &src, &left, &dst, &room) != static_cast<size_t>(-1) && left == 0;
}

std::string Cp932ToUtf8(const std::string& in) {
    std::string out;
    Convert("UTF-8", "CP932", in, &out, nullptr, true);
    return out;
}

}  // namespace vireon
