#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/files.hpp"

namespace tessaly::platform {

struct File {
    std::FILE* f;
};

namespace {
constexpr int kMaxOpenFiles = 8;
File g_files[kMaxOpenFiles];
}  // namespace

File* file_open_read(const char* path) {
    for (File& slot : g_files) {
        if (slot.f) continue;
        slot.f = std::fopen(path, "rb");
        return slot.f ? &slot : nullptr;
    }
    return nullptr;
}

int64_t file_size(File* f) {
    if (!f || !f->f) return -1;
    struct stat st;
    if (fstat(fileno(f->f), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_size);
}

size_t file_read(File* f, void* out, size_t n) {
    if (!f || !f->f) return 0;
    return std::fread(out, 1, n, f->f);
}

void file_close(File* f) {
    if (!f || !f->f) return;
    std::fclose(f->f);
    f->f = nullptr;
}

bool file_write_atomic(const char* path, const void* data, size_t n) {
    char tmp[4096];
    if (std::snprintf(tmp, sizeof tmp, "%s.tmp", path) >= static_cast<int>(sizeof tmp))
        return false;
    const int fd = ::open(tmp, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const auto* p = static_cast<const unsigned char*>(data);
    size_t left = n;
    while (left > 0) {
        const ssize_t w = ::write(fd, p, left);
        if (w <= 0) {
            ::close(fd);
            ::unlink(tmp);
            return false;
        }
        p += w;
        left -= static_cast<size_t>(w);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        ::unlink(tmp);
        return false;
    }
    if (std::rename(tmp, path) != 0) {
        ::unlink(tmp);
        return false;
    }
    return true;
}

bool file_exists(const char* path) {
    struct stat st;
    return ::stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool file_last_write_local(const char* path, CalendarFields& out) {
    struct stat st;
    if (::stat(path, &st) != 0) return false;
    std::tm tm{};
    const std::time_t t = st.st_mtime;
    if (!localtime_r(&t, &tm)) return false;
    out = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return true;
}

}  // namespace tessaly::platform
