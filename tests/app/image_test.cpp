#include "platform/image.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace tessaly {
namespace {

std::vector<unsigned char> read_all(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ImageCodec, PngRoundTripKeepsEveryChannel) {
    const uint32_t px[6] = {0xFF00FF00, 0xFE00FF00, 0x80FF0000, 0x00000000, 0xFF123456, 0x7F0000FF};
    const char* path = "image-roundtrip-test.png";
    ASSERT_TRUE(platform::image_write_png(path, 3, 2, px));
    const auto bytes = read_all(path);
    platform::Image img;
    ASSERT_TRUE(platform::image_decode(bytes.data(), bytes.size(), img));
    EXPECT_EQ(img.width, 3);
    EXPECT_EQ(img.height, 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(img.argb[i], px[i]) << i;
    std::remove(path);
}

TEST(ImageCodec, DamagedOrUnknownDataIsRefused) {
    const uint32_t px[4] = {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000};
    const char* path = "image-damaged-test.png";
    ASSERT_TRUE(platform::image_write_png(path, 2, 2, px));
    auto bytes = read_all(path);
    std::remove(path);
    platform::Image img;
    EXPECT_FALSE(platform::image_decode(bytes.data(), bytes.size() / 2, img));
    EXPECT_FALSE(platform::image_decode(bytes.data(), 4, img));
    const unsigned char junk[16] = {'R', 'I', 'F', 'F'};
    EXPECT_FALSE(platform::image_decode(junk, sizeof junk, img));
    const unsigned char bad_jpeg[16] = {0xFF, 0xD8, 0xFF, 0x00};
    EXPECT_FALSE(platform::image_decode(bad_jpeg, sizeof bad_jpeg, img));
    EXPECT_EQ(img.width, 0);
}

}  // namespace
}  // namespace tessaly
