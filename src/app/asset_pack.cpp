#include "app/asset_pack.hpp"

#include <cstdlib>
#include <cstring>

#include "app/byte_io.hpp"
#include "platform/files.hpp"

namespace tessaly {
namespace {

unsigned char* g_pack = nullptr;
size_t g_pack_size = 0;

}  // namespace

bool pack_validate(const unsigned char* data, size_t size) {
    if (!data || size < kPackTableBytes) return false;
    ByteReader table(data, kPackTableBytes);
    ByteReader area(data + kPackTableBytes, size - kPackTableBytes);
    for (int i = 0; i < kPackEntries; ++i) {
        // Each entry's length word and all its data lie inside the file.
        area.seek(table.u32());
        area.skip(area.u32());
        if (!area.ok()) return false;
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
    // The pack was checked whole when it was loaded, so these reads stay inside it.
    ByteReader pack(g_pack, g_pack_size);
    pack.seek(4 * static_cast<size_t>(index));
    pack.seek(kPackTableBytes + static_cast<size_t>(pack.u32()));
    const uint32_t n = pack.u32();
    if (length) *length = n;
    return g_pack + pack.position();
}

const unsigned char* pack_buffer() {
    return g_pack;
}
size_t pack_size() {
    return g_pack_size;
}

}  // namespace tessaly
