#pragma once
// Asset packs built in memory for the sound tests: the seventeen sound entries given, every
// other entry empty.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/asset_pack.hpp"
#include "platform/audio.hpp"
#include "sound/sound.hpp"
#include "wave_builder.hpp"

namespace tessaly::test {

using Sounds = std::vector<std::vector<unsigned char>>;

inline std::vector<unsigned char> pack_with_sounds(const Sounds& sounds) {
    std::vector<unsigned char> area;
    auto put32 = [](std::vector<unsigned char>& v, uint32_t x) {
        for (int i = 0; i < 4; ++i) v.push_back(static_cast<unsigned char>(x >> (8 * i)));
    };
    std::vector<uint32_t> offsets(kPackEntries, 0);
    put32(area, 0);  // the shared empty entry at offset 0
    for (int i = 0; i < kSoundSlots; ++i) {
        offsets[kEntrySounds + i] = static_cast<uint32_t>(area.size());
        const std::vector<unsigned char>& s = sounds[i];
        put32(area, static_cast<uint32_t>(s.size()));
        for (unsigned char b : s) area.push_back(b);
    }
    std::vector<unsigned char> pack;
    for (uint32_t o : offsets) put32(pack, o);
    for (unsigned char b : area) pack.push_back(b);
    return pack;
}

inline void adopt_pack(const std::vector<unsigned char>& pack) {
    auto* buffer = static_cast<unsigned char*>(std::malloc(pack.size()));
    std::memcpy(buffer, pack.data(), pack.size());
    pack_adopt(buffer, pack.size());
}

// Slot i holds i + 1 frames of 16-bit mono at the output rate, so each slot's length
// tells which entry it was made from.
inline Sounds numbered_sounds() {
    Sounds s;
    for (int i = 0; i < kSoundSlots; ++i) {
        std::vector<int16_t> samples(static_cast<size_t>(i + 1), 1000);
        s.push_back(WaveBuilder().fmt(1, platform::kAudioRate, 16).data16(samples).finish());
    }
    return s;
}

}  // namespace tessaly::test
