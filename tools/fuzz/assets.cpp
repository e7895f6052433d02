// Fuzz target: one entry of the asset pack of any kind (PNG or JPEG picture, X mesh, WAVE
// sound) through the game's own readers, and the bytes as a whole pack through its checks.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "app/asset_pack.hpp"
#include "platform/image.hpp"
#include "platform/mesh_file.hpp"
#include "sound/wave.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessaly;
    platform::Image image;
    platform::image_decode(data, size, image);
    platform::MeshData mesh;
    std::vector<platform::MeshFileMaterial> materials;
    platform::mesh_file_load_x(data, size, mesh, materials);
    WaveImage wave{};
    if (wave_read(std::span<const unsigned char>(data, size), &wave) == WaveError::None) {
        wave_format_playable(wave.format);
    }
    pack_validate(data, size);
    return 0;
}
