#include "app/byte_io.hpp"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace tessaly {
namespace {

TEST(ByteIo, FieldsComeBackInLittleEndianOrder) {
    std::vector<unsigned char> buf;
    ByteWriter w(buf);
    w.u32(0x11223344u);
    w.i32(-2);
    w.f32(-1.5f);
    w.u16(0xBEEF);
    w.u8(7);
    const unsigned char block[3] = {9, 8, 7};
    w.bytes(block, 3);
    ASSERT_EQ(w.size(), 18u);
    EXPECT_TRUE(w.ok());
    // Lowest byte first, whatever the machine's own order.
    EXPECT_EQ(buf[0], 0x44);
    EXPECT_EQ(buf[3], 0x11);
    EXPECT_EQ(buf[4], 0xFE);
    EXPECT_EQ(buf[7], 0xFF);
    EXPECT_EQ(buf[8 + 3], 0xBF);  // -1.5f is 0xBFC00000
    EXPECT_EQ(buf[12], 0xEF);

    ByteReader r(buf.data(), buf.size());
    EXPECT_EQ(r.u32(), 0x11223344u);
    EXPECT_EQ(r.i32(), -2);
    EXPECT_EQ(r.f32(), -1.5f);
    EXPECT_EQ(r.u16(), 0xBEEF);
    EXPECT_EQ(r.u8(), 7);
    unsigned char back[3] = {};
    EXPECT_TRUE(r.bytes(back, 3));
    EXPECT_EQ(back[2], 7);
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_TRUE(r.ok());
}

TEST(ByteIo, ExtremeValuesSurvive) {
    std::vector<unsigned char> buf;
    ByteWriter w(buf);
    w.i32(std::numeric_limits<int32_t>::min());
    w.i32(std::numeric_limits<int32_t>::max());
    w.f32(std::numeric_limits<float>::infinity());
    ByteReader r(buf.data(), buf.size());
    EXPECT_EQ(r.i32(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(r.i32(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(r.f32(), std::numeric_limits<float>::infinity());
}

TEST(ByteIo, ReaderThatRunsShortStaysShortAndReadsZeros) {
    const unsigned char data[6] = {1, 0, 0, 0, 0xAA, 0xBB};
    ByteReader r(data, sizeof data);
    EXPECT_EQ(r.u32(), 1u);
    // Two bytes left: a 4-byte field does not fit, returns 0 and leaves the position alone.
    EXPECT_EQ(r.u32(), 0u);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.position(), 4u);
    // What still fits is read, but the reader remembers it ran short.
    EXPECT_EQ(r.u16(), 0xBBAA);
    EXPECT_TRUE(r.ran_short());
    EXPECT_EQ(r.u8(), 0);
}

TEST(ByteIo, ShortBlockIsZeroFilledAndViewIsEmpty) {
    const unsigned char data[3] = {5, 6, 7};
    ByteReader r(data, sizeof data);
    unsigned char out[4] = {1, 1, 1, 1};
    EXPECT_FALSE(r.bytes(out, 4));
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[3], 0);
    ByteReader v(data, sizeof data);
    EXPECT_EQ(v.view(2).size(), 2u);
    EXPECT_TRUE(v.view(2).empty());
    EXPECT_FALSE(v.ok());
}

TEST(ByteIo, HugeLengthsNeverWrapPastTheEnd) {
    const unsigned char data[8] = {};
    ByteReader r(data, sizeof data);
    r.u8();
    EXPECT_FALSE(r.skip(std::numeric_limits<size_t>::max()));
    EXPECT_TRUE(r.view(std::numeric_limits<size_t>::max() - 2).empty());
    EXPECT_EQ(r.position(), 1u);
    EXPECT_FALSE(r.ok());
}

TEST(ByteIo, SeekStopsAtTheEnd) {
    const unsigned char data[4] = {1, 2, 3, 4};
    ByteReader r(data, sizeof data);
    EXPECT_TRUE(r.seek(4));
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_TRUE(r.ok());
    EXPECT_FALSE(r.seek(5));
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.position(), 4u);
}

TEST(ByteIo, NullOrEmptyInputReadsNothing) {
    ByteReader none(nullptr, 100);
    EXPECT_EQ(none.size(), 0u);
    EXPECT_EQ(none.u32(), 0u);
    EXPECT_FALSE(none.ok());
    ByteReader empty;
    EXPECT_TRUE(empty.skip(0));
    EXPECT_TRUE(empty.ok());
}

TEST(ByteIo, FixedWriterKeepsWhatFittedAndReportsOverflow) {
    std::array<unsigned char, 6> out{};
    ByteWriter w{std::span<unsigned char>(out)};
    w.u32(0x04030201u);
    EXPECT_TRUE(w.ok());
    w.u32(0xFFFFFFFFu);  // does not fit: nothing of it is written
    EXPECT_FALSE(w.ok());
    w.u8(9);  // nor anything after an overflow
    EXPECT_EQ(w.size(), 4u);
    EXPECT_EQ(out[3], 4);
    EXPECT_EQ(out[4], 0);
}

TEST(ByteIo, GrowingWriterAppendsToWhatIsThere) {
    std::vector<unsigned char> buf = {0xEE};
    ByteWriter w(buf);
    w.u16(0x0102);
    EXPECT_EQ(buf.size(), 3u);
    EXPECT_EQ(w.size(), 2u);
    EXPECT_EQ(buf[1], 0x02);
}

}  // namespace
}  // namespace tessaly
