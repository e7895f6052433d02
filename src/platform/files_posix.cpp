#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/files.hpp"
#include "platform/window.hpp"

namespace tessaly::platform {

struct File {
    std::FILE* f;
};

namespace {
constexpr int kMaxOpenFiles = 8;
File g_files[kMaxOpenFiles];
std::string g_data_folder;
// The files that may be read from the data folder; saves and settings never are.
constexpr const char* kDataFiles[] = {"data.dat", "mappack.dat", "epack.dat"};

bool is_data_file(const char* path) {
    for (const char* name : kDataFiles) {
        if (std::strcmp(path, name) == 0) return true;
    }
    return false;
}

std::string joined(const std::string& folder, const char* name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

bool folder_make(const std::string& path) {
    // Each level in turn, as mkdir -p does.
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        const std::string part = path.substr(0, i);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

void reason_cannot_open(const char* path, int error) {
    char cwd[1024];
    if (!::getcwd(cwd, sizeof cwd)) std::snprintf(cwd, sizeof cwd, "(unknown)");
    if (!g_data_folder.empty() && is_data_file(path)) {
        error_reason("cannot open %s in %s or in %s: %s", path, cwd, g_data_folder.c_str(),
                     std::strerror(error));
    } else {
        error_reason("cannot open %s in %s: %s", path, cwd,
                     error == EINVAL ? "not a regular file" : std::strerror(error));
    }
}

// Opens only a regular file: a FIFO or a device under a data file's name would block the
// game or never end; it is refused as if damaged.
std::FILE* regular_open(const char* path, int& error) {
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = EINVAL;
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        error = errno;
        ::close(fd);
    }
    return f;
}
}  // namespace

File* file_open_read(const char* path) {
    for (File& slot : g_files) {
        if (slot.f) continue;
        int error = 0;
        slot.f = regular_open(path, error);
        if (!slot.f && error == ENOENT && !g_data_folder.empty() && is_data_file(path)) {
            slot.f = regular_open(joined(g_data_folder, path).c_str(), error);
        }
        if (!slot.f) reason_cannot_open(path, error);
        return slot.f ? &slot : nullptr;
    }
    error_reason("cannot open %s: too many files open", path);
    return nullptr;
}

DataLocation data_locate(const char* program_folder, const char* user_folder) {
    constexpr const char* kPack = "data.dat";
    g_data_folder.clear();
    if (file_exists(kPack)) return DataLocation::WorkingFolder;
    if (!program_folder || !program_folder[0]) return DataLocation::NotFound;
    const std::string beside(program_folder);
    std::string installed = joined(beside, "../share/tessaly");
    std::string read_from;
    if (file_exists(joined(beside, kPack).c_str())) {
        if (::access(beside.c_str(), W_OK) == 0 && ::chdir(beside.c_str()) == 0)
            return DataLocation::BesideExecutable;
        read_from = beside;
    } else if (file_exists(joined(installed, kPack).c_str())) {
        read_from = installed;
    } else {
        return DataLocation::NotFound;
    }
    // Data that cannot be written beside is read in place; saves go to the user's folder.
    g_data_folder = read_from;
    if (user_folder && user_folder[0] && folder_make(user_folder)) {
        if (::chdir(user_folder) != 0) return DataLocation::NotFound;
    }
    return DataLocation::Installed;
}

const char* data_folder() {
    return g_data_folder.c_str();
}

void data_folder_reset() {
    g_data_folder.clear();
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

bool file_skip(File* f, uint32_t n) {
    unsigned char scratch[4096];
    while (n > 0) {
        const size_t want = n < sizeof scratch ? n : sizeof scratch;
        if (file_read(f, scratch, want) != want) return false;
        n -= static_cast<uint32_t>(want);
    }
    return true;
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
