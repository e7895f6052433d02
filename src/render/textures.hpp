#pragma once
// The graphics globals made from the asset pack: the two sheets, the 25 texture slots, the
// 25 meshes with their materials and material textures, and the two generated spheres.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gpu.hpp"
#include "render/matrix.hpp"

namespace tessaly {

using Texture = platform::GpuTexture;
using Material = platform::GpuMaterial;

// Slots 0..23 are the board tiles and hint arrows of entries 2..25; slot 24 (entry 26) is
// the 25th arrow, the hint toward destination 4 lying to the south.
constexpr int kTextureSlots = 25;
constexpr int kMeshCount = 25;
// Opaque pure green: every such texel becomes transparent black.
constexpr uint32_t kColourKey = 0xFF00FF00;

struct MeshRecord {
    platform::GpuMesh* mesh;
    uint32_t material_count;
    std::vector<Material> materials;
    std::vector<Texture*> material_textures;  // null where a material has none
    Vec3 box_min;
    Vec3 box_max;
    float height;  // box_max.y - box_min.y
    float width;   // x
    float depth;   // z
    float radius;  // bounding sphere around the mean of the vertices
};

struct SphereSpec {
    float radius;
    int slices;
    int stacks;
    uint32_t colour;
};
constexpr SphereSpec kSphereSmall = {0.4f, 8, 8, 0xFFFFFF00};
constexpr SphereSpec kSphereLarge = {3.4f, 16, 16, 0xFFFF0000};

Texture* atlas_texture();
Texture* second_texture();
Texture* texture_slot(int n);    // 0..24; null outside
MeshRecord& mesh_record(int n);  // 0..24
MeshRecord& sphere_small();
MeshRecord& sphere_large();
// Material textures handed out so far in this graphics start.
int mesh_texture_count();

// Pictures the game composes while it runs, as textures kept with the others and released
// with them: the minimap's cells, and the menus' backdrop cell on its own (drawn repeated).
enum class Picture { MinimapCells, BackdropCell };
constexpr int kPictures = 2;
// A picture's key says what it holds: 0 for nothing, as after a new graphics start.
Texture* picture_texture(Picture picture);
uint64_t picture_key(Picture picture);
// Makes the picture from ARGB texels, row by row, in place of the one before; false (and no
// picture) if the device refuses it.
bool picture_set(Picture picture, int width, int height, const uint32_t* argb, uint64_t key);
// Whether the picture holds what key names, made by make (which calls picture_set with the
// key) when it does not. A key that could not be made once is not tried again: the caller
// draws without the picture.
bool picture_ready(Picture picture, uint64_t key, const std::function<bool()>& make);

// A texture from pack entry index; 0 (and out null) on failure.
int texture_from_entry(Texture** out, int index);
// Starts reading what textures_load and meshes_load make (the atlas, the second sheet, the
// 25 slots, the meshes and their material textures) on worker threads, so that the device is
// made meanwhile; nothing without a pack.
void assets_decode_begin();
// Drops what was read for loads that will not come (a start that failed before them), once
// the workers are done.
void assets_decode_drop();
// The atlas, the second sheet and the 25 slots, in this order, from the pictures begun by
// assets_decode_begin (read here if they were not); 0 at the first failure.
int textures_load();
// The 25 meshes from entries 90..114 with their material textures, then the two spheres;
// read by assets_decode_begin, or here if they were not.
int meshes_load();
void meshes_release();
void textures_release();

// The image brought to a texture: the size rounded up to powers of two with the image at
// the top-left and the rest transparent black, and the colour key applied.
void texture_image_prepare(platform::Image& image);
// Bounds of positions (box, sizes, radius) into the record.
bool mesh_bounds_compute(MeshRecord& record, const platform::MeshData& data);
void mesh_record_release(MeshRecord& record);

}  // namespace tessaly
