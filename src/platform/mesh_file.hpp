#pragma once
// Meshes from DirectX X files in memory and the generated spheres.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/gpu.hpp"

namespace tessaly::platform {

struct MeshFileMaterial {
    GpuMaterial material;
    std::string texture_file;  // empty when the material names no texture
};

// Loads every mesh of the file merged into one, each under its frame transforms, with one
// subset per material in file order. Positions, winding and texture coordinates are kept as
// the file writes them (Direct3D's left-handed system). Materials written at the top level
// of a file come before those inside its meshes, and one referenced by several meshes is
// listed once; the game's files keep each mesh's materials inside it.
bool mesh_file_load_x(const unsigned char* data, size_t size, MeshData& out,
                      std::vector<MeshFileMaterial>& materials);

// A sphere around the origin in Direct3D's layout: the +z pole, slices × (stacks − 1) ring
// vertices, the −z pole; one subset. The vertex format is position and normal.
bool mesh_sphere(float radius, int slices, int stacks, MeshData& out);

}  // namespace tessaly::platform
