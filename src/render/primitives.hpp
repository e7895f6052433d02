#pragma once
// The 3D drawing primitives: world-space quads, meshes with their materials, the generated
// spheres, and the visibility test of a bounding sphere against the camera's frustum.
#include <cstdint>

#include "render/matrix.hpp"
#include "render/textures.hpp"

namespace tessaly {

// 24 bytes: position, diffuse colour, texture coordinates.
struct QuadVertex {
    float x, y, z;
    uint32_t colour;
    float u, v;
};
static_assert(sizeof(QuadVertex) == 24);

// Fills the vertex with colour 0xFFFFFFFF.
QuadVertex& quad_vertex_set(QuadVertex& out, float x, float y, float z, float u, float v);
// Four vertices in fan order, all given the colour; null texture draws untextured. The
// world transform is whatever is set.
void quad_draw(const QuadVertex vertices[4], uint32_t colour, Texture* texture);
// Each material's subset under world, lit by the material's emissive colour; lighting is
// off again afterwards.
void mesh_draw(const MeshRecord& mesh, const Matrix& world);
// A generated sphere at position, unlit, in its vertex colour.
void sphere_draw(const MeshRecord& sphere, const Vec3& position);
// False as soon as the sphere lies wholly outside one of the frustum planes.
bool sphere_visible(float x, float y, float z, float radius);
// The x interval outside which no sphere of the radius, centred at depth z and at a height
// between y_low and y_high, can be visible; a little wider than exact, never narrower, so a
// caller still asks sphere_visible of the centres inside it. False if the interval is empty.
bool sphere_visible_x_range(float y_low, float y_high, float z, float radius, float& x_low,
                            float& x_high);

}  // namespace tessaly
