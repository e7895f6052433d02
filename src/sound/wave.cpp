#include "sound/wave.hpp"

#include <cstring>

#include "app/byte_io.hpp"

namespace tessaly {
namespace {

constexpr uint32_t kRiffHeaderBytes = 12;
constexpr uint32_t kChunkHeaderBytes = 8;
// The RIFF size counts from the byte after the size word.
constexpr uint32_t kRiffSizeBase = 8;

bool is_id(const unsigned char* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

WaveFormat format_from(ByteReader r, uint32_t size) {
    WaveFormat f{};
    f.format_tag = r.u16();
    f.channels = r.u16();
    f.samples_per_second = r.u32();
    f.avg_bytes_per_second = r.u32();
    f.block_align = r.u16();
    // A 14-byte chunk (the old format record) has no bits-per-sample field. It is taken
    // from the block alignment rather than read from whatever bytes follow the chunk.
    if (size >= 16) {
        f.bits_per_sample = r.u16();
    } else if (f.channels != 0) {
        f.bits_per_sample = static_cast<uint16_t>(f.block_align / f.channels * 8);
    }
    return f;
}

}  // namespace

WaveError wave_read(std::span<const unsigned char> image, WaveImage* out) {
    ByteReader riff(image);
    unsigned char riff_id[4], wave_id[4];
    riff.bytes(riff_id, 4);
    const uint32_t riff_size = riff.u32();
    riff.bytes(wave_id, 4);
    if (!riff.ok() || !is_id(riff_id, "RIFF") || !is_id(wave_id, "WAVE")) {
        return WaveError::NotRiffWave;
    }
    // The chunk area ends where the RIFF size says, but never past the image itself.
    uint64_t end = kRiffSizeBase + static_cast<uint64_t>(riff_size);
    if (end > image.size()) end = image.size();
    ByteReader area(image.data(), static_cast<size_t>(end));
    area.seek(kRiffHeaderBytes);

    bool have_format = false;
    WaveFormat format{};
    std::span<const unsigned char> samples;
    // A chunk header cut off by the end of the area ends the scan.
    while (area.remaining() >= kChunkHeaderBytes) {
        unsigned char id[4];
        area.bytes(id, 4);
        const uint32_t size = area.u32();
        const size_t body = area.position();
        const bool fits = size <= area.remaining();
        if (!have_format && is_id(id, "fmt ")) {
            if (size < kWaveFormatMinBytes) return WaveError::ShortFormat;
            if (!fits) return WaveError::Truncated;
            format = format_from(ByteReader(image.data() + body, size), size);
            have_format = true;
        } else if (samples.empty() && size != 0 && is_id(id, "data")) {
            // Samples that run past the image are refused rather than read past its end.
            if (!fits) return WaveError::Truncated;
            samples = image.subspan(body, size);
        }
        if (have_format && !samples.empty()) break;
        // Chunk data is padded to an even length.
        const uint64_t padded = (static_cast<uint64_t>(size) + 1) & ~uint64_t{1};
        if (padded >= area.remaining()) break;
        area.skip(static_cast<size_t>(padded));
    }
    if (!have_format) return WaveError::NoFormat;
    if (samples.empty()) return WaveError::NoData;
    out->format = format;
    out->samples = samples;
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
