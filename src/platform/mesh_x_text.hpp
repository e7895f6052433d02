#pragma once
// The check an X mesh in text form passes before the mesh library reads it.
#include <cstddef>

namespace tessaly::platform {

// True when the text reads, token by token as the mesh library reads it, as a mesh file of the
// kind the game uses: frames (nested at most kMaxXFrameNesting deep), frame transforms, meshes
// with their normals, texture coordinates, vertex colours and one material list each,
// materials with texture names, templates and a header. Every declared count must be matched
// by the items that follow it, every index must name an item that exists, and any other
// object, a damaged number or a missing separator refuses the whole text. The library trusts
// the counts it reads and would otherwise reserve gigabytes for a few bytes.
bool mesh_x_text_readable(const unsigned char* data, size_t size);

constexpr int kMaxXFrameNesting = 32;

}  // namespace tessaly::platform
