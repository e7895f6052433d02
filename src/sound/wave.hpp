#pragma once
// RIFF WAVE images held in memory: the format chunk and the sample bytes, read in place.
#include <cstdint>
#include <span>

namespace tessaly {

constexpr uint16_t kWaveFormatPcm = 1;
// A format chunk must hold at least tag, channels, rate, average rate and block alignment.
constexpr uint32_t kWaveFormatMinBytes = 14;

struct WaveFormat {
    uint16_t format_tag;
    uint16_t channels;
    uint32_t samples_per_second;
    uint32_t avg_bytes_per_second;
    uint16_t block_align;
    uint16_t bits_per_sample;
};

struct WaveImage {
    WaveFormat format;
    // Points into the image that was read; nothing is copied.
    std::span<const unsigned char> samples;
};

enum class WaveError {
    None,
    NotRiffWave,  // no "RIFF" ... "WAVE" header
    ShortFormat,  // the first "fmt " chunk holds fewer than 14 bytes
    Truncated,    // a chunk that counts runs past the end of the image
    NoFormat,     // the chunk area ended without a "fmt " chunk
    NoData,       // the chunk area ended without a non-empty "data" chunk
};

// Reads the image: the first "fmt " chunk and the first non-empty "data" chunk count,
// every other chunk is skipped. On failure out is left untouched.
WaveError wave_read(std::span<const unsigned char> image, WaveImage* out);

// True for what the sound output plays: PCM, 8 or 16 bits, mono or stereo, a non-zero rate.
bool wave_format_playable(const WaveFormat& format);

// Short English name of an error, for messages and test output.
const char* wave_error_text(WaveError error);

}  // namespace tessaly
