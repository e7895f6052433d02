#include "sound/wave.hpp"

#include <cstring>

namespace tessaly {
namespace {

constexpr uint32_t kRiffHeaderBytes = 12;
constexpr uint32_t kChunkHeaderBytes = 8;
// The RIFF size counts from the byte after the size word.
constexpr uint32_t kRiffSizeBase = 8;

uint16_t read_u16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t read_u32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool is_id(const unsigned char* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

WaveFormat format_from(const unsigned char* p, uint32_t size) {
    WaveFormat f{};
    f.format_tag = read_u16(p);
    f.channels = read_u16(p + 2);
    f.samples_per_second = read_u32(p + 4);
    f.avg_bytes_per_second = read_u32(p + 8);
    f.block_align = read_u16(p + 12);
    // A 14-byte chunk (the old format record) has no bits-per-sample field. It is taken
    // from the block alignment rather than read from whatever bytes follow the chunk.
    if (size >= 16) {
        f.bits_per_sample = read_u16(p + 14);
    } else if (f.channels != 0) {
        f.bits_per_sample = static_cast<uint16_t>(f.block_align / f.channels * 8);
    }
    return f;
}

}  // namespace

WaveError wave_read(std::span<const unsigned char> image, WaveImage* out) {
    const unsigned char* base = image.data();
    const uint64_t length = image.size();
    if (length < kRiffHeaderBytes || !is_id(base, "RIFF") || !is_id(base + 8, "WAVE")) {
        return WaveError::NotRiffWave;
    }
    // The chunk area ends where the RIFF size says, but never past the image itself.
    uint64_t end = kRiffSizeBase + static_cast<uint64_t>(read_u32(base + 4));
    if (end > length) end = length;

    bool have_format = false;
    WaveFormat format{};
    const unsigned char* data = nullptr;
    uint32_t data_size = 0;
    uint64_t pos = kRiffHeaderBytes;
    while (pos < end) {
        // A chunk header cut off by the end of the area ends the scan.
        if (pos + kChunkHeaderBytes > end) break;
        const unsigned char* chunk = base + pos;
        const uint32_t size = read_u32(chunk + 4);
        const uint64_t body = pos + kChunkHeaderBytes;
        const bool fits = body + size <= end;
        if (!have_format && is_id(chunk, "fmt ")) {
            if (size < kWaveFormatMinBytes) return WaveError::ShortFormat;
            if (!fits) return WaveError::Truncated;
            format = format_from(base + body, size);
            have_format = true;
        } else if (!data && size != 0 && is_id(chunk, "data")) {
            // Samples that run past the image are refused rather than read past its end.
            if (!fits) return WaveError::Truncated;
            data = base + body;
            data_size = size;
        }
        if (have_format && data) break;
        // Chunk data is padded to an even length.
        pos = body + ((static_cast<uint64_t>(size) + 1) & ~uint64_t{1});
    }
    if (!have_format) return WaveError::NoFormat;
    if (!data) return WaveError::NoData;
    out->format = format;
    out->samples = std::span<const unsigned char>(data, data_size);
    return WaveError::None;
}

bool wave_format_playable(const WaveFormat& f) {
    if (f.format_tag != kWaveFormatPcm) return false;
    if (f.channels != 1 && f.channels != 2) return false;
    if (f.bits_per_sample != 8 && f.bits_per_sample != 16) return false;
    if (f.samples_per_second == 0) return false;
    return f.block_align == f.channels * f.bits_per_sample / 8;
}

const char* wave_error_text(WaveError error) {
    switch (error) {
        case WaveError::None:
            return "ok";
        case WaveError::NotRiffWave:
            return "not a RIFF WAVE image";
        case WaveError::ShortFormat:
            return "format chunk shorter than 14 bytes";
        case WaveError::Truncated:
            return "chunk runs past the end of the image";
        case WaveError::NoFormat:
            return "no format chunk";
        case WaveError::NoData:
            return "no non-empty data chunk";
    }
    return "unknown";
}

}  // namespace tessaly
