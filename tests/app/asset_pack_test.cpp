#include "app/asset_pack.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "support/render_support.hpp"
#include "support/scratch_dir.hpp"

namespace tessaly {
namespace {

void put_u32(std::vector<unsigned char>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// Runs each test in a directory of its own, since pack_load reads data.dat from the
// working directory.
struct AssetPack : ::testing::Test {
    test::ScratchDir scratch{"pack", true};
    void TearDown() override { pack_release(); }
    void write(const std::vector<unsigned char>& bytes) {
        ASSERT_TRUE(platform::file_write_atomic("data.dat", bytes.data(), bytes.size()));
    }
};

TEST_F(AssetPack, EntriesAreFoundThroughTheOffsetTable) {
    test::PackEntries e(kPackEntries);
    e[0] = test::bytes_of("atlas");
    e[131] = test::bytes_of("last sound");
    write(test::pack_image(e));
    ASSERT_EQ(pack_load(), 1);
    uint32_t length = 0;
    const unsigned char* a = pack_entry(0, &length);
    ASSERT_EQ(length, 5u);
    EXPECT_EQ(std::memcmp(a, "atlas", 5), 0);
    const unsigned char* z = pack_entry(131, &length);
    ASSERT_EQ(length, 10u);
    EXPECT_EQ(std::memcmp(z, "last sound", 10), 0);
    pack_entry(60, &length);
    EXPECT_EQ(length, 0u);
}

TEST_F(AssetPack, OffsetZeroBeginsRightAfterTheTableAndEntriesMayShareBytes) {
    std::vector<unsigned char> bytes(kPackTableBytes + 4 + 3);
    put_u32(bytes, kPackTableBytes, 3);  // every offset 0: all entries are this one
    bytes[kPackTableBytes + 4] = 'a';
    bytes[kPackTableBytes + 5] = 'b';
    bytes[kPackTableBytes + 6] = 'c';
    write(bytes);
    ASSERT_EQ(pack_load(), 1);
    uint32_t length = 0;
    const unsigned char* p = pack_entry(7, &length);
    EXPECT_EQ(p, pack_buffer() + 528 + 4);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(pack_entry(100, &length), p);
}

TEST_F(AssetPack, MissingFileIsRefused) {
    EXPECT_EQ(pack_load(), 0);
    EXPECT_EQ(pack_buffer(), nullptr);
}

TEST_F(AssetPack, FileShorterThanTheTableIsRefused) {
    write(std::vector<unsigned char>(kPackTableBytes - 1));
    EXPECT_EQ(pack_load(), 0);
    EXPECT_EQ(pack_buffer(), nullptr);
}

TEST_F(AssetPack, OffsetOutsideTheFileIsRefused) {
    std::vector<unsigned char> bytes = test::pack_image(test::PackEntries(kPackEntries));
    put_u32(bytes, 4 * 90, static_cast<uint32_t>(bytes.size()));
    write(bytes);
    EXPECT_EQ(pack_load(), 0);
    EXPECT_EQ(pack_buffer(), nullptr);
}

TEST_F(AssetPack, LengthRunningPastTheEndIsRefused) {
    test::PackEntries e(kPackEntries);
    e[131] = test::bytes_of("tail");
    std::vector<unsigned char> bytes = test::pack_image(e);
    put_u32(bytes, bytes.size() - 8, 5);  // entry 131 claims one byte more than there is
    write(bytes);
    EXPECT_EQ(pack_load(), 0);
    put_u32(bytes, bytes.size() - 8, 0xFFFFFFFFu);
    write(bytes);
    EXPECT_EQ(pack_load(), 0);
    EXPECT_EQ(pack_buffer(), nullptr);
}

}  // namespace
}  // namespace tessaly
