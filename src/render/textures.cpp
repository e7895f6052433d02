#include "render/textures.hpp"

#include <algorithm>
#include <cmath>
#include <future>
#include <system_error>

#include "app/asset_pack.hpp"
#include "platform/mesh_file.hpp"

namespace tessaly {
namespace {

Texture* g_atlas = nullptr;
Texture* g_second = nullptr;
Texture* g_slots[kTextureSlots] = {};
Texture* g_pictures[kPictures] = {};
uint64_t g_picture_keys[kPictures] = {};
uint64_t g_refused_keys[kPictures] = {};
MeshRecord g_meshes[kMeshCount];
MeshRecord g_sphere_small;
MeshRecord g_sphere_large;
int g_mesh_texture_count = 0;

// A pack entry's picture, decoded and prepared for its texture.
struct DecodedPicture {
    platform::Image image;
    bool ok = false;
};

// A mesh file read, with the pictures of its material textures, ready for the device.
struct ParsedMesh {
    platform::MeshData mesh;
    std::vector<platform::MeshFileMaterial> materials;
    std::vector<DecodedPicture> textures;  // one per material; not ok where it has none
    int textures_used = 0;                 // pack entries its materials took
    bool ok = false;
};

// What textures_load and meshes_load make from the pack, read on worker threads (the atlas,
// the largest picture, on one; the second sheet and the slots on another; the meshes on a
// third) while the device is made. Making textures and meshes stays on the device's thread.
struct Decoding {
    std::future<DecodedPicture> atlas;
    std::future<std::vector<DecodedPicture>> rest;
    std::future<std::vector<ParsedMesh>> meshes;
};
Decoding g_decoding;

int next_power_of_two(int v) {
    int p = 1;
    while (p < v) p <<= 1;
    return p;
}

void record_clear(MeshRecord& r) {
    r = MeshRecord{};
}

bool sphere_make(MeshRecord& record, const SphereSpec& shape) {
    mesh_record_release(record);
    platform::MeshData data;
    if (!platform::mesh_sphere(shape.radius, shape.slices, shape.stacks, data)) return false;
    // Position and colour only, every vertex in the sphere's colour.
    data.fvf = platform::kFvfColoured;
    for (platform::MeshVertex& v : data.vertices) v.colour = shape.colour;
    record.mesh = platform::gpu_mesh_create(data);
    if (!record.mesh) return false;
    record.material_count = 0;
    return mesh_bounds_compute(record, data);
}

}  // namespace

Texture* atlas_texture() {
    return g_atlas;
}
Texture* second_texture() {
    return g_second;
}
Texture* texture_slot(int n) {
    return n >= 0 && n < kTextureSlots ? g_slots[n] : nullptr;
}
MeshRecord& mesh_record(int n) {
    // Mesh numbers come from fixed tables; one outside them gets the first mesh.
    return g_meshes[n >= 0 && n < kMeshCount ? n : 0];
}
MeshRecord& sphere_small() {
    return g_sphere_small;
}
MeshRecord& sphere_large() {
    return g_sphere_large;
}
int mesh_texture_count() {
    return g_mesh_texture_count;
}

void texture_image_prepare(platform::Image& image) {
    const int width = next_power_of_two(image.width);
    const int height = next_power_of_two(image.height);
    if (width != image.width || height != image.height) {
        // Padded with transparent black to the power-of-two size; our own pictures need none.
        platform::Texels padded(static_cast<size_t>(width) * height, 0u);
        for (int y = 0; y < image.height; ++y) {
            std::copy_n(image.argb.data() + static_cast<size_t>(y) * image.width, image.width,
                        padded.data() + static_cast<size_t>(y) * width);
        }
        image.argb.swap(padded);
        image.width = width;
        image.height = height;
    }
    // The colour key becomes transparent black, in place.
    for (uint32_t& texel : image.argb) {
        if (texel == kColourKey) texel = 0u;
    }
}

namespace {

DecodedPicture picture_decode(int index) {
    DecodedPicture picture;
    if (!pack_buffer() || index < 0 || index >= kPackEntries) return picture;
    uint32_t length = 0;
    const unsigned char* data = pack_entry(index, &length);
    if (length == 0 || !platform::image_decode(data, length, picture.image)) return picture;
    texture_image_prepare(picture.image);
    picture.ok = true;
    return picture;
}

std::vector<DecodedPicture> rest_decode() {
    std::vector<DecodedPicture> pictures;
    pictures.reserve(1 + kTextureSlots);
    pictures.push_back(picture_decode(kEntrySecondSheet));
    for (int n = 0; n < kTextureSlots; ++n) {
        pictures.push_back(picture_decode(kEntryTextureSlots + n));
    }
    return pictures;
}

// Reads one X file. Material textures are the pack's entries 27, 28, ... in the order the
// meshes name them (the name itself is not used), from entry first_texture on; a texture
// that fails still uses its entry.
ParsedMesh mesh_parse(const unsigned char* data, size_t size, int first_texture) {
    ParsedMesh parsed;
    if (!platform::mesh_file_load_x(data, size, parsed.mesh, parsed.materials)) return parsed;
    parsed.textures.resize(parsed.materials.size());
    for (size_t i = 0; i < parsed.materials.size(); ++i) {
        if (parsed.materials[i].texture_file.empty()) continue;
        const int entry = kEntryMeshTextures + first_texture + parsed.textures_used;
        if (entry < kEntryMeshes) parsed.textures[i] = picture_decode(entry);
        ++parsed.textures_used;
    }
    parsed.ok = true;
    return parsed;
}

// The 25 meshes in order, each taking material textures after the ones before it.
std::vector<ParsedMesh> meshes_parse() {
    std::vector<ParsedMesh> meshes;
    meshes.reserve(kMeshCount);
    int textures = 0;
    for (int n = 0; n < kMeshCount; ++n) {
        uint32_t length = 0;
        const unsigned char* data = pack_entry(kEntryMeshes + n, &length);
        meshes.push_back(mesh_parse(data, length, textures));
        textures += meshes.back().textures_used;
    }
    return meshes;
}

// Work on a thread of its own; where no thread can be had, the work is done when its result
// is asked for.
template <class Work>
auto work_start(Work work) {
    try {
        return std::async(std::launch::async, work);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, work);
    }
}

int texture_from_picture(Texture** out, DecodedPicture picture) {
    *out = nullptr;
    if (!picture.ok || !platform::gpu_exists()) return 0;
    *out = platform::gpu_texture_create(picture.image);
    return *out ? 1 : 0;
}

// The device's mesh and material textures of a parsed mesh; its entries are counted as used
// once the mesh is made, whether its textures are or not.
bool mesh_record_make(MeshRecord& record, ParsedMesh parsed) {
    mesh_record_release(record);
    if (!parsed.ok) return false;
    record.mesh = platform::gpu_mesh_create(parsed.mesh);
    if (!record.mesh) return false;
    record.material_count = static_cast<uint32_t>(parsed.materials.size());
    record.materials.resize(parsed.materials.size());
    record.material_textures.assign(parsed.materials.size(), nullptr);
    for (size_t i = 0; i < parsed.materials.size(); ++i) {
        record.materials[i] = parsed.materials[i].material;
        if (parsed.textures[i].ok) {
            texture_from_picture(&record.material_textures[i], std::move(parsed.textures[i]));
        }
    }
    g_mesh_texture_count += parsed.textures_used;
    if (!mesh_bounds_compute(record, parsed.mesh)) {
        mesh_record_release(record);
        return false;
    }
    return true;
}

}  // namespace

int texture_from_entry(Texture** out, int index) {
    *out = nullptr;
    if (!platform::gpu_exists()) return 0;
    return texture_from_picture(out, picture_decode(index));
}

void assets_decode_begin() {
    if (!pack_buffer() || g_decoding.atlas.valid()) return;
    g_decoding.atlas = work_start([] { return picture_decode(kEntryAtlas); });
    g_decoding.rest = work_start(rest_decode);
    g_decoding.meshes = work_start(meshes_parse);
}

int textures_load() {
    if (!g_decoding.atlas.valid()) {
        if (!pack_buffer()) return 0;
        g_decoding.atlas = std::async(std::launch::deferred, picture_decode, kEntryAtlas);
        g_decoding.rest = std::async(std::launch::deferred, rest_decode);
    }
    // Both are taken, whatever comes of the first.
    DecodedPicture atlas = g_decoding.atlas.get();
    std::vector<DecodedPicture> rest = g_decoding.rest.get();
    if (!texture_from_picture(&g_atlas, std::move(atlas))) return 0;
    if (!texture_from_picture(&g_second, std::move(rest[0]))) return 0;
    for (int n = 0; n < kTextureSlots; ++n) {
        if (!texture_from_picture(&g_slots[n], std::move(rest[1 + n]))) return 0;
    }
    return 1;
}

void assets_decode_drop() {
    if (g_decoding.atlas.valid()) g_decoding.atlas.wait();
    if (g_decoding.rest.valid()) g_decoding.rest.wait();
    if (g_decoding.meshes.valid()) g_decoding.meshes.wait();
    g_decoding = Decoding{};
}

Texture* picture_texture(Picture picture) {
    return g_pictures[static_cast<int>(picture)];
}

uint64_t picture_key(Picture picture) {
    return g_picture_keys[static_cast<int>(picture)];
}

bool picture_set(Picture picture, int width, int height, const uint32_t* argb, uint64_t key) {
    Texture*& texture = g_pictures[static_cast<int>(picture)];
    uint64_t& held = g_picture_keys[static_cast<int>(picture)];
    platform::gpu_texture_release(texture);
    texture = nullptr;
    held = 0;
    if (width <= 0 || height <= 0) return false;
    platform::Image image;
    image.width = width;
    image.height = height;
    image.argb.assign(argb, argb + static_cast<size_t>(width) * height);
    texture = platform::gpu_texture_create(image);
    if (!texture) return false;
    held = key;
    return true;
}

bool picture_ready(Picture picture, uint64_t key, const std::function<bool()>& make) {
    const int n = static_cast<int>(picture);
    if (g_picture_keys[n] == key) return true;
    if (g_refused_keys[n] == key || !make() || g_picture_keys[n] != key) {
        g_refused_keys[n] = key;
        return false;
    }
    return true;
}

void textures_release() {
    for (int n = 0; n < kPictures; ++n) {
        platform::gpu_texture_release(g_pictures[n]);
        g_pictures[n] = nullptr;
        g_picture_keys[n] = 0;
    }
    for (Texture*& t : g_slots) {
        platform::gpu_texture_release(t);
        t = nullptr;
    }
    platform::gpu_texture_release(g_second);
    g_second = nullptr;
    platform::gpu_texture_release(g_atlas);
    g_atlas = nullptr;
}

bool mesh_bounds_compute(MeshRecord& record, const platform::MeshData& data) {
    if (data.vertices.empty()) return false;
    Vec3 lo{data.vertices[0].x, data.vertices[0].y, data.vertices[0].z};
    Vec3 hi = lo;
    double sx = 0, sy = 0, sz = 0;
    for (const platform::MeshVertex& v : data.vertices) {
        lo = {std::fmin(lo.x, v.x), std::fmin(lo.y, v.y), std::fmin(lo.z, v.z)};
        hi = {std::fmax(hi.x, v.x), std::fmax(hi.y, v.y), std::fmax(hi.z, v.z)};
        sx += v.x;
        sy += v.y;
        sz += v.z;
    }
    const double n = static_cast<double>(data.vertices.size());
    const float cx = static_cast<float>(sx / n), cy = static_cast<float>(sy / n),
                cz = static_cast<float>(sz / n);
    float radius_sq = 0.0f;
    for (const platform::MeshVertex& v : data.vertices) {
        const float dx = v.x - cx, dy = v.y - cy, dz = v.z - cz;
        radius_sq = std::fmax(radius_sq, dx * dx + dy * dy + dz * dz);
    }
    record.box_min = lo;
    record.box_max = hi;
    record.height = hi.y - lo.y;
    record.width = hi.x - lo.x;
    record.depth = hi.z - lo.z;
    record.radius = std::sqrt(radius_sq);
    return true;
}

void mesh_record_release(MeshRecord& record) {
    platform::gpu_mesh_release(record.mesh);
    for (Texture* t : record.material_textures) platform::gpu_texture_release(t);
    record_clear(record);
}

int meshes_load() {
    g_mesh_texture_count = 0;
    for (MeshRecord& r : g_meshes) mesh_record_release(r);
    if (!g_decoding.meshes.valid()) {
        if (!pack_buffer()) return 0;
        g_decoding.meshes = std::async(std::launch::deferred, meshes_parse);
    }
    std::vector<ParsedMesh> parsed = g_decoding.meshes.get();
    for (int n = 0; n < kMeshCount; ++n) {
        if (!mesh_record_make(g_meshes[n], std::move(parsed[n]))) return 0;
    }
    if (!sphere_make(g_sphere_small, kSphereSmall)) return 0;
    if (!sphere_make(g_sphere_large, kSphereLarge)) return 0;
    return 1;
}

void meshes_release() {
    mesh_record_release(g_sphere_small);
    mesh_record_release(g_sphere_large);
    for (MeshRecord& r : g_meshes) mesh_record_release(r);
}

}  // namespace tessaly
