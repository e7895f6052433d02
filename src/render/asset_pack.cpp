#include "render/asset_pack.hpp"

#include <cstdlib>
#include <cstring>

#include "platform/files.hpp"

namespace tessaly {
namespace {

unsigned char* g_pack = nullptr;
size_t g_pack_size = 0;

uint32_t read_u32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool pack_validate(const unsigned char* data, size_t size) {
    if (!data || size < kPackTableBytes) return false;
    const uint64_t area = size - kPackTableBytes;
    for (int i = 0; i < kPackEntries; ++i) {
        const uint64_t offset = read_u32(data + 4 * i);
        if (offset + 4 > area) return false;
        const uint64_t length = read_u32(data + kPackTableBytes + offset);
        if (offset + 4 + length > area) return false;
    }
    return true;
}

// A damaged pack (an entry outside the file) is refused here, so pack_entry never
// reads past the buffer.
int pack_load() {
    platform::File* f = platform::file_open_read("data.dat");
    if (!f) return 0;
    const int64_t size = platform::file_size(f);
    if (size <= 0) {
        platform::file_close(f);
        return 0;
    }
    auto* buffer = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size)));
    if (!buffer) {
        platform::file_close(f);
        return 0;
    }
    const size_t got = platform::file_read(f, buffer, static_cast<size_t>(size));
    platform::file_close(f);
    if (got != static_cast<size_t>(size) || !pack_validate(buffer, got)) {
        std::free(buffer);
        return 0;
    }
    g_pack = buffer;
    g_pack_size = got;
    return 1;
}

void pack_release() {
    std::free(g_pack);
    g_pack = nullptr;
    g_pack_size = 0;
}

void pack_adopt(unsigned char* data, size_t size) {
    pack_release();
    g_pack = data;
    g_pack_size = size;
}

const unsigned char* pack_entry(int index, uint32_t* length) {
    const uint32_t offset = read_u32(g_pack + 4 * index);
    const unsigned char* entry = g_pack + kPackTableBytes + offset;
    if (length) *length = read_u32(entry);
    return entry + 4;
}

const unsigned char* pack_buffer() {
    return g_pack;
}
size_t pack_size() {
    return g_pack_size;
}

}  // namespace tessaly
