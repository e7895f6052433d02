#pragma once
// Builds RIFF WAVE images chunk by chunk for the sound tests.
#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::test {

struct WaveBuilder {
    std::vector<unsigned char> bytes;

    WaveBuilder() {
        put_id("RIFF");
        put32(0);  // patched by finish()
        put_id("WAVE");
    }
    void put_id(const char* id) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(id[i]));
    }
    void put16(uint16_t v) {
        bytes.push_back(static_cast<unsigned char>(v));
        bytes.push_back(static_cast<unsigned char>(v >> 8));
    }
    void put32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
    }
    // A chunk with its data and the pad byte of an odd length.
    WaveBuilder& chunk(const char* id, const std::vector<unsigned char>& data) {
        put_id(id);
        put32(static_cast<uint32_t>(data.size()));
        for (unsigned char b : data) bytes.push_back(b);
        if (data.size() % 2) bytes.push_back(0);
        return *this;
    }
    // A PCM format chunk; size 16 normally, 14 for the old record, less for a broken one.
    WaveBuilder& fmt(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size = 16,
                     uint16_t tag = 1) {
        std::vector<unsigned char> d;
        auto p16 = [&](uint16_t v) {
            d.push_back(static_cast<unsigned char>(v));
            d.push_back(static_cast<unsigned char>(v >> 8));
        };
        auto p32 = [&](uint32_t v) {
            for (int i = 0; i < 4; ++i) d.push_back(static_cast<unsigned char>(v >> (8 * i)));
        };
        const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
        p16(tag);
        p16(channels);
        p32(rate);
        p32(rate * align);
        p16(align);
        p16(bits);
        d.resize(size, 0);
        return chunk("fmt ", d);
    }
    WaveBuilder& data(const std::vector<unsigned char>& samples) { return chunk("data", samples); }
    // 16-bit samples, little-endian.
    WaveBuilder& data16(const std::vector<int16_t>& samples) {
        std::vector<unsigned char> d;
        for (int16_t s : samples) {
            d.push_back(static_cast<unsigned char>(s));
            d.push_back(static_cast<unsigned char>(static_cast<uint16_t>(s) >> 8));
        }
        return chunk("data", d);
    }
    // Writes the RIFF size: everything after the size word, plus extra (to lie about it).
    std::vector<unsigned char> finish(int64_t extra = 0) {
        const uint32_t size = static_cast<uint32_t>(static_cast<int64_t>(bytes.size()) - 8 + extra);
        for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<unsigned char>(size >> (8 * i));
        return bytes;
    }
};

}  // namespace tessaly::test
