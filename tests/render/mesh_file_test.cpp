#include "platform/mesh_file.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <cmath>
#include <cstdio>
#include <string>

namespace tessaly::platform {
namespace {

bool load(const std::string& text, MeshData& mesh, std::vector<MeshFileMaterial>& materials) {
    return mesh_file_load_x(reinterpret_cast<const unsigned char*>(text.data()), text.size(), mesh,
                            materials);
}

std::string file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A mesh in a moved frame: a quad and a triangle under three materials, of which the middle
// one has no faces; an empty child frame after it.
const char* const kQuadAndTriangle = R"(xof 0303txt 0032
Frame Root {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,10.0,20.0,30.0,1.0;;
 }
 Mesh Quad {
  4;
  0.0;0.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;2.0;;
  2;
  4;0,1,2,3;,
  3;0,2,1;;
  MeshMaterialList {
   3;
   2;
   0,
   2;;
   Material { 1.0;0.0;0.0;1.0;; 8.0; 0.1;0.2;0.3;; 0.25;0.0;0.0;; TextureFilename { "a.png"; } }
   Material { 0.0;1.0;0.0;1.0;; 1.0; 0.0;0.0;0.0;; 0.0;0.5;0.0;; }
   Material { 0.0;0.0;1.0;0.5;; 1.0; 0.0;0.0;0.0;; 0.0;0.0;0.75;; TextureFilename { "b.png"; } }
  }
  MeshTextureCoords { 4; 0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;0.25;; }
 }
 Frame Turned {
  FrameTransformMatrix {
   0.0,0.0,-1.0,0.0,0.0,1.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,0.0,0.0,1.0;;
  }
 }
}
)";

TEST(MeshFile, PositionsWindingAndCoordinatesAreTheFilesUnderItsFrames) {
    MeshData mesh;
    std::vector<MeshFileMaterial> materials;
    ASSERT_TRUE(load(kQuadAndTriangle, mesh, materials));
    ASSERT_EQ(mesh.subsets.size(), 3u);
    // Material 0: the quad as a fan (0 1 2) (0 2 3), moved by (10, 20, 30), z not mirrored.
    const MeshSubset& s0 = mesh.subsets[0];
    ASSERT_EQ(s0.index_count, 6u);
    const float want[6][3] = {{10, 20, 30}, {11, 20, 30}, {11, 21, 30},
                              {10, 20, 30}, {11, 21, 30}, {10, 21, 32}};
    for (int i = 0; i < 6; ++i) {
        const MeshVertex& v = mesh.vertices[mesh.indices[s0.first_index + i]];
        EXPECT_FLOAT_EQ(v.x, want[i][0]) << i;
        EXPECT_FLOAT_EQ(v.y, want[i][1]) << i;
        EXPECT_FLOAT_EQ(v.z, want[i][2]) << i;
    }
    // Texture coordinates as written, v downwards.
    const MeshVertex& last = mesh.vertices[mesh.indices[s0.first_index + 5]];
    EXPECT_FLOAT_EQ(last.u, 0.0f);
    EXPECT_FLOAT_EQ(last.v, 0.25f);
    // The faceless material keeps its place as an empty subset.
    EXPECT_EQ(mesh.subsets[1].index_count, 0u);
    // Material 2: the triangle 0 2 1 in its own winding.
    const MeshSubset& s2 = mesh.subsets[2];
    ASSERT_EQ(s2.index_count, 3u);
    EXPECT_FLOAT_EQ(mesh.vertices[mesh.indices[s2.first_index + 1]].y, 21.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[mesh.indices[s2.first_index + 2]].x, 11.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[mesh.indices[s2.first_index + 2]].y, 20.0f);
}

TEST(MeshFile, MaterialsKeepTheirColoursPowerAndTextureNames) {
    MeshData mesh;
    std::vector<MeshFileMaterial> materials;
    ASSERT_TRUE(load(kQuadAndTriangle, mesh, materials));
    ASSERT_EQ(materials.size(), 3u);
    const GpuMaterial& m0 = materials[0].material;
    EXPECT_FLOAT_EQ(m0.diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(m0.diffuse.a, 1.0f);
    EXPECT_FLOAT_EQ(m0.power, 8.0f);
    EXPECT_FLOAT_EQ(m0.specular.g, 0.2f);
    EXPECT_FLOAT_EQ(m0.emissive.r, 0.25f);
    EXPECT_EQ(materials[0].texture_file, "a.png");
    EXPECT_EQ(materials[1].texture_file, "");
    EXPECT_FLOAT_EQ(materials[1].material.emissive.g, 0.5f);
    EXPECT_FLOAT_EQ(materials[2].material.diffuse.a, 0.5f);
    EXPECT_EQ(materials[2].texture_file, "b.png");
}

TEST(MeshFile, FrameTransformsApplyFromTheRootDown) {
    const std::string text = R"(xof 0303txt 0032
Frame Outer {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,5.0,0.0,0.0,1.0;;
 }
 Frame Inner {
  FrameTransformMatrix {
   0.0,0.0,-1.0,0.0,0.0,1.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,0.0,0.0,1.0;;
  }
  Mesh {
   3;
   1.0;0.0;0.0;, 0.0;1.0;0.0;, 0.0;0.0;1.0;;
   1;
   3;0,1,2;;
  }
 }
}
)";
    MeshData mesh;
    std::vector<MeshFileMaterial> materials;
    ASSERT_TRUE(load(text, mesh, materials));
    // Row vectors: (1, 0, 0) turned by the inner frame to (0, 0, -1), then moved by (5, 0, 0).
    const MeshVertex& a = mesh.vertices[mesh.indices[0]];
    EXPECT_NEAR(a.x, 5.0f, 1e-6);
    EXPECT_NEAR(a.z, -1.0f, 1e-6);
    const MeshVertex& c = mesh.vertices[mesh.indices[2]];
    EXPECT_NEAR(c.x, 6.0f, 1e-6);
    EXPECT_NEAR(c.z, 0.0f, 1e-6);
}

TEST(MeshFile, SharedVerticesAreKeptOnce) {
    const std::string text = R"(xof 0303txt 0032
Mesh {
 4;
 0.0;0.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;0.0;;
 2;
 3;0,1,2;, 3;0,2,3;;
}
)";
    MeshData mesh;
    std::vector<MeshFileMaterial> materials;
    ASSERT_TRUE(load(text, mesh, materials));
    EXPECT_EQ(mesh.vertices.size(), 4u);
    EXPECT_EQ(mesh.indices.size(), 6u);
}

TEST(MeshFile, DamagedOrEmptyFilesAreRefused) {
    MeshData mesh;
    std::vector<MeshFileMaterial> materials;
    EXPECT_FALSE(load("", mesh, materials));
    EXPECT_FALSE(load("xof 0303txt 0032\nMesh { 3; 0.0;0.0;", mesh, materials));
    EXPECT_FALSE(load("RIFF....WAVEfmt ", mesh, materials));
    EXPECT_FALSE(load("xof 0303txt 0032\n", mesh, materials));
}

// A few bytes that would make the mesh library recurse very deep or reserve gigabytes.
TEST(MeshFile, NestingAndCountsBeyondTheEntryAreRefused) {
    MeshData mesh;
    std::vector<MeshFileMaterial> materials;
    std::string deep = "xof 0303txt 0032\n";
    for (int i = 0; i < 50000; ++i) deep += "Frame{";
    EXPECT_FALSE(load(deep, mesh, materials));
    EXPECT_FALSE(load("xof 0303txt 0032\nMesh { 999999999; 0.0;0.0;0.0;; 1; 3;0,0,0;; }\n", mesh,
                      materials));
    EXPECT_FALSE(
        load("xof 0303txt 0032\nMesh Big {\n 2; 0.0;0.0;0.0;, 1.0;0.0;0.0;;\n"
             " MeshNormals { 2000000000; 0.0;1.0;0.0;; }\n}\n",
             mesh, materials));
    EXPECT_FALSE(load("xof 0303bin 0032\n0123456789", mesh, materials));
    // Found by fuzzing: a negative vertex count, read by the library as about four billion.
    EXPECT_FALSE(
        load("xof 0303txt 0032\nMesh m {\n-3;\n 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;\n"
             " 1;\n 3;0,1,2;;\n}\n",
             mesh, materials));
    // Our own test mesh, with its frames and counts, still loads.
    EXPECT_TRUE(load(kQuadAndTriangle, mesh, materials));
}

// Found by fuzzing: an object of an unknown name inside a material list declaring more
// materials than it holds made the mesh library read a material that was never made.
TEST(MeshFile, ObjectsOurMeshesNeverUseAreRefused) {
    MeshData mesh;
    std::vector<MeshFileMaterial> materials;
    const std::string finding =
        "xof 0303txt 0032\nMesh m {\n 3;\n 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;\n"
        " 1;\n 3;0,1,2;;\n MeshMaterialList {\n  2;\n  1;\n  1;;\n"
        "  MeshTeCuooxertrds { 3; 0.0;0.0;, 0.0;0.0;, 0.0;0.0;; }\n"
        "  Material { 1.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n }\n}\n";
    EXPECT_FALSE(load(finding, mesh, materials));
    // The fuzzer's own input, which crashed the library.
    const std::string bytes =
        file_bytes(TESSALY_SOURCE_DIR "/tests/fuzz/findings/assets-x-unknown-template.x");
    ASSERT_FALSE(bytes.empty());
    EXPECT_FALSE(load(bytes, mesh, materials));
}

// A small mesh around the parts each case changes: its vertex list, its faces and its
// objects after the faces.
std::string mesh_text(const std::string& vertices, const std::string& faces,
                      const std::string& objects = "") {
    return "xof 0303txt 0032\nMesh m {\n" + vertices + "\n" + faces + "\n" + objects + "\n}\n";
}
const char* const kThreeVertices = "3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;";
const char* const kOneFace = "1; 3;0,1,2;;";
const char* const kRedMaterial = "Material { 1.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }";

// Found by fuzzing: a mesh name with control bytes in it hid the vertex count that followed
// from the check, and the library reserved 6 GB for it.
TEST(MeshFile, CountsAfterOddNamesAreStillChecked) {
    MeshData mesh;
    std::vector<MeshFileMaterial> materials;
    const std::string finding =
        file_bytes(TESSALY_SOURCE_DIR "/tests/fuzz/findings/assets-x-oom-counts.x");
    ASSERT_FALSE(finding.empty());
    EXPECT_FALSE(load(finding, mesh, materials));
    std::string odd_name = "xof 0303txt 0032\nMesh m\x01\x07x {\n 4000000; 0.0;0.0;0.0;;\n}\n";
    EXPECT_FALSE(load(odd_name, mesh, materials));
    // The face count, after a short vertex list.
    EXPECT_FALSE(load(mesh_text("1; 0.0;0.0;0.0;;", "999999999;"), mesh, materials));
    // A header whose quote would hide a mesh from a reader that knows strings; the library
    // does not, and reads the mesh.
    EXPECT_FALSE(load("xof 0303txt 0032\nHeader { \" } Mesh { 99999999; \" }\n", mesh, materials));
    // A count past four billion, which the library would wrap to a small one.
    EXPECT_FALSE(load(mesh_text("4294967299; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;", kOneFace),
                      mesh, materials));
}

// Indices the library would follow past the end of what it read.
TEST(MeshFile, IndicesPastTheirListsAreRefused) {
    MeshData mesh;
    std::vector<MeshFileMaterial> materials;
    ASSERT_TRUE(load(mesh_text(kThreeVertices, kOneFace), mesh, materials));
    EXPECT_FALSE(load(mesh_text(kThreeVertices, "1; 3;0,1,3;;"), mesh, materials));
    // Normals: an index past the normals, and a face with fewer corners than its position face.
    const std::string normals = "MeshNormals { 1; 0.0;0.0;1.0;; 1; 3;0,0,0;; }";
    EXPECT_TRUE(load(mesh_text(kThreeVertices, kOneFace, normals), mesh, materials));
    EXPECT_FALSE(
        load(mesh_text(kThreeVertices, kOneFace, "MeshNormals { 1; 0.0;0.0;1.0;; 1; 3;0,1,0;; }"),
             mesh, materials));
    EXPECT_FALSE(
        load(mesh_text(kThreeVertices, kOneFace, "MeshNormals { 1; 0.0;0.0;1.0;; 1; 2;0,0;; }"),
             mesh, materials));
    // Vertex colours: an index past the vertices.
    EXPECT_FALSE(load(mesh_text(kThreeVertices, kOneFace,
                                "MeshVertexColors { 3; 0;1.0;1.0;1.0;1.0;;, 1;1.0;1.0;1.0;1.0;;, "
                                "3;1.0;1.0;1.0;1.0;;; }"),
                      mesh, materials));
    // Materials: one past those the list holds, a list that holds none, a second list, and
    // more material indices than faces.
    const std::string list = "MeshMaterialList { 1; 1; 0;; " + std::string(kRedMaterial) + " }";
    EXPECT_TRUE(load(mesh_text(kThreeVertices, kOneFace, list), mesh, materials));
    EXPECT_FALSE(load(mesh_text(kThreeVertices, kOneFace,
                                "MeshMaterialList { 1; 1; 1;; " + std::string(kRedMaterial) + " }"),
                      mesh, materials));
    EXPECT_FALSE(load(mesh_text(kThreeVertices, kOneFace, "MeshMaterialList { 1; 1; 0;; }"), mesh,
                      materials));
    EXPECT_FALSE(load(mesh_text(kThreeVertices, kOneFace, list + list), mesh, materials));
    EXPECT_FALSE(load(mesh_text(kThreeVertices, "0;",
                                "MeshMaterialList { 1; 1; 0;; " + std::string(kRedMaterial) + " }"),
                      mesh, materials));
}

// The check reads numbers, comments and separators as the library does: a comma followed by
// a digit is a decimal point to it, and comments may sit between any two tokens.
TEST(MeshFile, NumbersAndCommentsReadAsTheLibraryReadsThem) {
    MeshData mesh;
    std::vector<MeshFileMaterial> materials;
    const std::string text =
        "xof 0303txt 0032 anything here is not read {{{\n"
        "# a comment\nMesh m { // another\n 3; 1,5;0.0;0.0;, 1.0;0.0;0.0;,\n"
        " 0.0;1e1;0.0;;\n 1; 3;0,1,2;;\n}\n";
    ASSERT_TRUE(load(text, mesh, materials));
    ASSERT_EQ(mesh.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(mesh.vertices[mesh.indices[0]].x, 1.5f);
    EXPECT_FLOAT_EQ(mesh.vertices[mesh.indices[2]].y, 10.0f);
    // The library's own spellings of not-a-number, a number with no digits and a missing
    // separator are refused.
    EXPECT_FALSE(load(mesh_text("1; 1.#IND00;0.0;0.0;;", "0;"), mesh, materials));
    EXPECT_FALSE(load(mesh_text("1; nan;0.0;0.0;;", "0;"), mesh, materials));
    EXPECT_FALSE(load(mesh_text("1; .;0.0;0.0;;", "0;"), mesh, materials));
    EXPECT_FALSE(load(mesh_text("1; 0.0 0.0;0.0;;", "0;"), mesh, materials));
}

// Every mesh the game ships passes the check.
TEST(MeshFile, TheGamesMeshesAllLoad) {
    int loaded = 0;
    for (int i = 0; i < 100; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/content/meshes/mesh_%02d.x", i);
        const std::string bytes = file_bytes(TESSALY_SOURCE_DIR + std::string(name));
        if (bytes.empty()) continue;
        MeshData mesh;
        std::vector<MeshFileMaterial> materials;
        EXPECT_TRUE(load(bytes, mesh, materials)) << name;
        ++loaded;
    }
    EXPECT_GE(loaded, 20);
}

TEST(Sphere, LayoutIsPolesAndRingsOfSlices) {
    MeshData s;
    ASSERT_TRUE(mesh_sphere(2.0f, 8, 8, s));
    ASSERT_EQ(s.vertices.size(), 2u + 8u * 7u);
    EXPECT_EQ(s.indices.size(), 3u * 2u * 8u * 7u);
    EXPECT_FLOAT_EQ(s.vertices.front().z, 2.0f);
    EXPECT_FLOAT_EQ(s.vertices.back().z, -2.0f);
    for (const MeshVertex& v : s.vertices) {
        EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 2.0f, 1e-5);
    }
    // The first ring starts at +y and runs clockwise seen from +z.
    EXPECT_NEAR(s.vertices[1].x, 0.0f, 1e-5);
    EXPECT_GT(s.vertices[1].y, 0.0f);
    EXPECT_GT(s.vertices[3].x, 0.0f);
    for (uint32_t i : s.indices) EXPECT_LT(i, s.vertices.size());
    MeshData large;
    ASSERT_TRUE(mesh_sphere(3.4f, 16, 16, large));
    EXPECT_EQ(large.vertices.size(), 2u + 16u * 15u);
}

}  // namespace
}  // namespace tessaly::platform
