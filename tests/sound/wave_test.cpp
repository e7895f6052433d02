#include "sound/wave.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "wave_builder.hpp"

namespace tessaly {
namespace {

using test::WaveBuilder;

WaveError read(const std::vector<unsigned char>& image, WaveImage* out) {
    return wave_read(std::span<const unsigned char>(image.data(), image.size()), out);
}

std::vector<unsigned char> bytes_of(const WaveImage& w) {
    return std::vector<unsigned char>(w.samples.begin(), w.samples.end());
}

TEST(WaveRead, PlainImageGivesFormatAndSamplesInPlace) {
    const auto image = WaveBuilder().fmt(2, 44100, 16).data16({1, -1, 300, -300}).finish();
    WaveImage w{};
    ASSERT_EQ(read(image, &w), WaveError::None);
    EXPECT_EQ(w.format.format_tag, kWaveFormatPcm);
    EXPECT_EQ(w.format.channels, 2);
    EXPECT_EQ(w.format.samples_per_second, 44100u);
    EXPECT_EQ(w.format.avg_bytes_per_second, 44100u * 4);
    EXPECT_EQ(w.format.block_align, 4);
    EXPECT_EQ(w.format.bits_per_sample, 16);
    ASSERT_EQ(w.samples.size(), 8u);
    // The samples are the image's own bytes: right after the data chunk's header.
    EXPECT_EQ(w.samples.data(), image.data() + 12 + 8 + 16 + 8);
}

TEST(WaveRead, ListChunkBeforeFormatAndEmptyDataBeforeTheRealOne) {
    const auto image = WaveBuilder()
                           .chunk("LIST", {'I', 'N', 'F', 'O', 'x'})  // odd: padded
                           .fmt(1, 22050, 8)
                           .data({})
                           .chunk("cue ", {1, 2, 3, 4})
                           .data({10, 20, 30})
                           .finish();
    WaveImage w{};
    ASSERT_EQ(read(image, &w), WaveError::None);
    EXPECT_EQ(w.format.samples_per_second, 22050u);
    EXPECT_EQ(bytes_of(w), (std::vector<unsigned char>{10, 20, 30}));
}

TEST(WaveRead, OddChunkIsFollowedAfterItsPadByte) {
    // Without the pad byte the scan would land one byte early and never find "fmt ".
    const auto image = WaveBuilder().chunk("junk", {1, 2, 3}).fmt(1, 8000, 16).data16({7}).finish();
    WaveImage w{};
    ASSERT_EQ(read(image, &w), WaveError::None);
    EXPECT_EQ(w.format.samples_per_second, 8000u);
}

TEST(WaveRead, DataBeforeFormatIsKept) {
    const auto image = WaveBuilder().data({5, 6}).fmt(1, 11025, 8).finish();
    WaveImage w{};
    ASSERT_EQ(read(image, &w), WaveError::None);
    EXPECT_EQ(bytes_of(w), (std::vector<unsigned char>{5, 6}));
    EXPECT_EQ(w.format.samples_per_second, 11025u);
}

TEST(WaveRead, OnlyTheFirstFormatAndFirstNonEmptyDataCount) {
    const auto image =
        WaveBuilder().fmt(1, 22050, 16).data16({1}).fmt(2, 48000, 8).data16({2, 3}).finish();
    WaveImage w{};
    ASSERT_EQ(read(image, &w), WaveError::None);
    EXPECT_EQ(w.format.channels, 1);
    EXPECT_EQ(w.format.samples_per_second, 22050u);
    EXPECT_EQ(w.samples.size(), 2u);
}

TEST(WaveRead, LaterShortFormatChunkIsSkippedLikeAnyOther) {
    const auto image = WaveBuilder().fmt(1, 22050, 16).fmt(1, 1, 8, 4).data16({1}).finish();
    WaveImage w{};
    EXPECT_EQ(read(image, &w), WaveError::None);
}

TEST(WaveRead, TwelveByteFormatChunkFails) {
    const auto image = WaveBuilder().fmt(1, 22050, 16, 12).data16({1, 2}).finish();
    WaveImage w{};
    EXPECT_EQ(read(image, &w), WaveError::ShortFormat);
}

TEST(WaveRead, FourteenByteFormatTakesBitsFromTheBlockAlignment) {
    // The chunk after the format must not be read as its bits-per-sample field.
    const auto image = WaveBuilder().fmt(2, 22050, 16, 14).data16({1, 2}).finish();
    WaveImage w{};
    ASSERT_EQ(read(image, &w), WaveError::None);
    EXPECT_EQ(w.format.bits_per_sample, 16);
    EXPECT_TRUE(wave_format_playable(w.format));
}

TEST(WaveRead, WrongHeaderWordsFail) {
    auto image = WaveBuilder().fmt(1, 22050, 16).data16({1}).finish();
    WaveImage w{};
    auto riff = image;
    riff[0] = 'r';
    EXPECT_EQ(read(riff, &w), WaveError::NotRiffWave);
    auto wave = image;
    wave[11] = 'X';
    EXPECT_EQ(read(wave, &w), WaveError::NotRiffWave);
    const std::vector<unsigned char> tiny = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'};
    EXPECT_EQ(read(tiny, &w), WaveError::NotRiffWave);
    EXPECT_EQ(read({}, &w), WaveError::NotRiffWave);
}

TEST(WaveRead, MissingChunksFail) {
    WaveImage w{};
    EXPECT_EQ(read(WaveBuilder().data({1, 2}).finish(), &w), WaveError::NoFormat);
    EXPECT_EQ(read(WaveBuilder().fmt(1, 22050, 8).finish(), &w), WaveError::NoData);
    EXPECT_EQ(read(WaveBuilder().fmt(1, 22050, 8).data({}).finish(), &w), WaveError::NoData);
}

TEST(WaveRead, ChunksPastTheRiffSizeAreNotSeen) {
    // The RIFF size ends the chunk area before the data chunk.
    WaveBuilder b;
    b.fmt(1, 22050, 8);
    const int64_t cut = static_cast<int64_t>(b.bytes.size());
    b.data({1, 2, 3, 4});
    const auto image = b.finish(cut - static_cast<int64_t>(b.bytes.size()));
    WaveImage w{};
    EXPECT_EQ(read(image, &w), WaveError::NoData);
}

TEST(WaveRead, RiffSizeBeyondTheImageIsBoundedByTheImage) {
    const auto image = WaveBuilder().fmt(1, 22050, 8).data({9, 8}).finish(1000);
    WaveImage w{};
    ASSERT_EQ(read(image, &w), WaveError::None);
    EXPECT_EQ(bytes_of(w), (std::vector<unsigned char>{9, 8}));
}

TEST(WaveRead, DataRunningPastTheImageIsRefused) {
    auto image = WaveBuilder().fmt(1, 22050, 8).data({1, 2, 3, 4}).finish(1000);
    image.resize(image.size() - 2);  // cut into the samples
    WaveImage w{};
    EXPECT_EQ(read(image, &w), WaveError::Truncated);
}

TEST(WaveRead, ChunkHeaderCutByTheEndEndsTheScan) {
    auto image = WaveBuilder().fmt(1, 22050, 8).finish();
    image.insert(image.end(), {'d', 'a', 't'});
    WaveImage w{};
    EXPECT_EQ(read(image, &w), WaveError::NoData);
}

TEST(WaveRead, HugeChunkSizeDoesNotWrapTheScan) {
    WaveBuilder b;
    b.put_id("junk");
    b.put32(0xFFFFFFFFu);
    b.fmt(1, 22050, 8).data({1});
    WaveImage w{};
    EXPECT_EQ(read(b.finish(), &w), WaveError::NoFormat);
}

TEST(WaveRead, FailureLeavesTheOutputUntouched) {
    WaveImage w{};
    w.format.channels = 77;
    EXPECT_NE(read(WaveBuilder().fmt(1, 22050, 8, 10).finish(), &w), WaveError::None);
    EXPECT_EQ(w.format.channels, 77);
    EXPECT_TRUE(w.samples.empty());
}

TEST(WaveFormatPlayable, AcceptsPcmEightAndSixteenBitMonoAndStereoAtAnyRate) {
    for (uint16_t ch : {1, 2}) {
        for (uint16_t bits : {8, 16}) {
            for (uint32_t rate : {1u, 8000u, 22050u, 44100u, 96000u}) {
                const auto image = WaveBuilder().fmt(ch, rate, bits).data({0, 0, 0, 0}).finish();
                WaveImage w{};
                ASSERT_EQ(read(image, &w), WaveError::None);
                EXPECT_TRUE(wave_format_playable(w.format)) << ch << " " << bits << " " << rate;
            }
        }
    }
}

TEST(WaveFormatPlayable, RefusesOtherFormats) {
    auto check = [](const std::vector<unsigned char>& image) {
        WaveImage w{};
        EXPECT_EQ(read(image, &w), WaveError::None);
        return wave_format_playable(w.format);
    };
    EXPECT_FALSE(check(WaveBuilder().fmt(1, 22050, 16, 16, 3).data({0, 0}).finish()));  // float
    EXPECT_FALSE(check(WaveBuilder().fmt(1, 22050, 16, 16, 2).data({0, 0}).finish()));  // ADPCM
    EXPECT_FALSE(check(WaveBuilder().fmt(3, 22050, 16).data({0, 0}).finish()));
    EXPECT_FALSE(check(WaveBuilder().fmt(0, 22050, 16).data({0, 0}).finish()));
    EXPECT_FALSE(check(WaveBuilder().fmt(1, 22050, 24).data({0, 0, 0}).finish()));
    EXPECT_FALSE(check(WaveBuilder().fmt(1, 0, 16).data({0, 0}).finish()));
    // A block alignment that disagrees with channels and bits.
    auto image = WaveBuilder().fmt(2, 22050, 16).data({0, 0, 0, 0}).finish();
    image[12 + 8 + 12] = 3;
    EXPECT_FALSE(check(image));
}

}  // namespace
}  // namespace tessaly
