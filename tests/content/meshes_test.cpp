// The 25 meshes, their material textures and the board textures as the game finds them in
// data.dat: loaded through the game's own loader on the recording device, and measured where
// the field and the battle stage rely on their sizes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/asset_pack.hpp"
#include "platform/gpu.hpp"
#include "platform/image.hpp"
#include "render/device.hpp"
#include "render/textures.hpp"
#include "support/render_support.hpp"

namespace tessaly {
namespace {

constexpr int kMemberMeshes = 12;
constexpr int kFigureMeshes = 24;  // members and opponents; mesh 24 is the thrown prop
constexpr float kMemberMinHeight = 1.5f;
constexpr float kMemberMaxHeight = 2.0f;
// A member stands on one 2 x 2 cell and the stage places combatants 2 units apart.
constexpr float kMemberMaxWidth = 2.0f;
// Charges and spins move a combatant 1 unit a frame toward its target and stop when half of
// both depths reaches the distance between them; a step of 1 always passes within 0.5.
constexpr float kReachStep = 0.5f;
constexpr int kBoardTextures = 25;  // slots 0..23 and the 25th hint in the unused entry
constexpr int kPlainTiles = 9;      // floors, wall top, block, water, side face
constexpr uint32_t kKey = 0xFF00FF00;

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool power_of_two(int v) {
    return v > 0 && (v & (v - 1)) == 0;
}

bool decode_entry(int index, platform::Image& out) {
    uint32_t length = 0;
    const unsigned char* data = pack_entry(index, &length);
    return length > 0 && platform::image_decode(data, length, out);
}

class MeshContent : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        loaded_ = false;
        if (!pack_load()) return;
        graphics_backend_select(platform::GpuBackend::Recording);
        loaded_ = graphics_start() == 1;
    }
    static void TearDownTestSuite() {
        graphics_release();
        pack_release();
        graphics_backend_select(platform::GpuBackend::OpenGL);
    }
    void SetUp() override { ASSERT_TRUE(loaded_) << "data.dat did not load with its meshes"; }
    static bool loaded_;
};
bool MeshContent::loaded_ = false;

// Entries 27..89 of the manifest that name a file, and whether they run without a gap.
int manifest_mesh_textures(bool& contiguous) {
    std::istringstream in(read_text(std::string(TESSALY_SOURCE_DIR) + "/content/pack.manifest"));
    std::string line;
    int used = 0;
    bool gap = false;
    contiguous = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int index = -1;
        std::string path;
        fields >> index >> path;
        if (index < kEntryMeshTextures || index >= kEntryMeshes) continue;
        if (path == "-") {
            gap = true;
        } else {
            if (gap) contiguous = false;
            ++used;
        }
    }
    return used;
}

TEST_F(MeshContent, EveryMaterialTextureTheMeshesNameIsAnEntryOfThePack) {
    bool contiguous = false;
    const int listed = manifest_mesh_textures(contiguous);
    EXPECT_TRUE(contiguous) << "an empty entry between material textures shifts every later one";
    EXPECT_EQ(mesh_texture_count(), listed);
    EXPECT_LE(kEntryMeshTextures + mesh_texture_count(), kEntryMeshes);
    int named = 0;
    for (int n = 0; n < kMeshCount; ++n) {
        const MeshRecord& mesh = mesh_record(n);
        ASSERT_NE(mesh.mesh, nullptr) << "mesh " << n;
        for (uint32_t i = 0; i < mesh.material_count; ++i) {
            if (mesh.material_textures[i]) ++named;
        }
    }
    // Every material that names a texture got one: none of their entries failed to load.
    EXPECT_EQ(named, mesh_texture_count());
}

TEST_F(MeshContent, EveryMaterialDrawsOneSubsetOfTheMesh) {
    for (int n = 0; n < kMeshCount; ++n) {
        const MeshRecord& mesh = mesh_record(n);
        EXPECT_GT(mesh.material_count, 0u) << "mesh " << n;
        EXPECT_EQ(platform::gpu_mesh_subset_count(mesh.mesh), static_cast<int>(mesh.material_count))
            << "mesh " << n;
    }
}

TEST_F(MeshContent, NoMaterialIsInvisible) {
    // Meshes are lit by their emissive colour alone: a black emissive draws black, an alpha of
    // 0 draws nothing.
    for (int n = 0; n < kMeshCount; ++n) {
        const MeshRecord& mesh = mesh_record(n);
        for (uint32_t i = 0; i < mesh.material_count; ++i) {
            const Material& m = mesh.materials[i];
            EXPECT_GT(m.emissive.r + m.emissive.g + m.emissive.b, 0.05f) << n << "/" << i;
            EXPECT_FLOAT_EQ(m.diffuse.a, 1.0f) << n << "/" << i;
        }
    }
}

TEST_F(MeshContent, MembersAreBetweenOneAndAHalfAndTwoUnitsTall) {
    for (int n = 0; n < kMemberMeshes; ++n) {
        const MeshRecord& mesh = mesh_record(n);
        EXPECT_GE(mesh.height, kMemberMinHeight) << "member mesh " << n;
        EXPECT_LE(mesh.height, kMemberMaxHeight) << "member mesh " << n;
        EXPECT_LE(mesh.width, kMemberMaxWidth) << "member mesh " << n;
    }
}

TEST_F(MeshContent, MembersStandOnTheGround) {
    for (int n = 0; n < kMemberMeshes; ++n) {
        EXPECT_NEAR(mesh_record(n).box_min.y, 0.0f, 1e-3f) << "member mesh " << n;
    }
}

TEST_F(MeshContent, NoOpponentReachesBelowTheFloor) {
    // A floating opponent may hover; none may be cut by the stage floor.
    for (int n = kMemberMeshes; n < kFigureMeshes; ++n) {
        EXPECT_GE(mesh_record(n).box_min.y, -1e-3f) << "mesh " << n;
    }
}

TEST_F(MeshContent, EveryChargeCanReachItsTarget) {
    for (int a = 0; a < kMemberMeshes; ++a) {
        for (int t = kMemberMeshes; t < kFigureMeshes; ++t) {
            const float reach = mesh_record(a).depth / 2 + mesh_record(t).depth / 2;
            EXPECT_GE(reach, kReachStep) << "member " << a << " and opponent " << t;
        }
    }
}

TEST_F(MeshContent, BoardTexturesArePowersOfTwo) {
    for (int k = 0; k < kBoardTextures; ++k) {
        platform::Image img;
        ASSERT_TRUE(decode_entry(kEntryTextureSlots + k, img)) << "board texture " << k;
        EXPECT_TRUE(power_of_two(img.width) && power_of_two(img.height)) << "board texture " << k;
    }
}

TEST_F(MeshContent, MaterialTexturesDecodeAndArePowersOfTwo) {
    for (int k = 0; k < mesh_texture_count(); ++k) {
        platform::Image img;
        ASSERT_TRUE(decode_entry(kEntryMeshTextures + k, img))
            << "entry " << kEntryMeshTextures + k;
        EXPECT_TRUE(power_of_two(img.width) && power_of_two(img.height))
            << "entry " << kEntryMeshTextures + k;
        for (uint32_t p : img.argb) {
            ASSERT_NE(p, kKey) << "a keyed texel would cut a hole in a model";
        }
    }
}

TEST_F(MeshContent, TerrainTilesHaveNoHoles) {
    for (int k = 0; k < kPlainTiles; ++k) {
        platform::Image img;
        ASSERT_TRUE(decode_entry(kEntryTextureSlots + k, img));
        for (uint32_t p : img.argb) {
            ASSERT_EQ(p >> 24, 0xFFu) << "tile " << k << " is not opaque";
            ASSERT_NE(p, kKey) << "tile " << k << " holds the colour key";
        }
    }
}

TEST_F(MeshContent, HintArrowsStandOutOfATransparentSurround) {
    for (int k = kPlainTiles; k < kBoardTextures; ++k) {
        platform::Image img;
        ASSERT_TRUE(decode_entry(kEntryTextureSlots + k, img));
        size_t keyed = 0;
        for (uint32_t p : img.argb) keyed += p == kKey;
        // Corners are keyed, and the arrow covers a good part of the picture.
        EXPECT_EQ(img.argb.front(), kKey) << "hint " << k;
        EXPECT_EQ(img.argb.back(), kKey) << "hint " << k;
        EXPECT_GT(keyed, img.argb.size() / 5) << "hint " << k;
        EXPECT_LT(keyed, img.argb.size() * 4 / 5) << "hint " << k;
    }
}

TEST_F(MeshContent, HintArrowsOfOneDestinationPointFourWays) {
    // Hint 4d + q + 5 points in direction q; the four of a destination must differ.
    for (int d = 1; d <= 4; ++d) {
        std::vector<std::vector<uint32_t>> pictures;
        for (int q = 0; q < 4; ++q) {
            platform::Image img;
            ASSERT_TRUE(decode_entry(kEntryTextureSlots + 4 * d + q + 5, img));
            pictures.emplace_back(img.argb.begin(), img.argb.end());
        }
        for (int a = 0; a < 4; ++a) {
            for (int b = a + 1; b < 4; ++b) {
                EXPECT_NE(pictures[a], pictures[b]) << "destination " << d;
            }
        }
    }
}

TEST(DataPack, RebuildsToIdenticalBytes) {
    const std::string pack = std::string(TESSALY_BINARY_DIR) + "/tessaly-pack";
    const std::string manifest = std::string(TESSALY_SOURCE_DIR) + "/content/pack.manifest";
    const std::string a = ::testing::TempDir() + "/rebuild_a.dat";
    const std::string b = ::testing::TempDir() + "/rebuild_b.dat";
    ASSERT_EQ(std::system((pack + " " + manifest + " " + a).c_str()), 0);
    ASSERT_EQ(std::system((pack + " " + manifest + " " + b).c_str()), 0);
    const std::string first = read_text(a), second = read_text(b);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, read_text(std::string(TESSALY_BINARY_DIR) + "/data.dat"));
    std::remove(a.c_str());
    std::remove(b.c_str());
}

TEST(DataPack, PicturesDecodeToTheTexelsOfTheirFilesAndTheSheetsHaveUnfilteredRows) {
    const std::string base = std::string(TESSALY_SOURCE_DIR) + "/content/";
    const std::string pack_path = std::string(TESSALY_BINARY_DIR) + "/data.dat";
    const std::string pack = read_text(pack_path);
    ASSERT_GE(pack.size(), 4u * kPackEntries);
    auto u32 = [&](size_t at) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(pack[at + i]);
        return v;
    };
    std::istringstream manifest(read_text(base + "pack.manifest"));
    std::string line;
    int pictures = 0;
    while (std::getline(manifest, line)) {
        std::istringstream ls(line);
        int index = -1;
        std::string path;
        if (line.empty() || line[0] == '#' || !(ls >> index >> path)) continue;
        if (path.size() < 4 || path.substr(path.size() - 4) != ".png") continue;
        const size_t at = 4u * kPackEntries + u32(4u * index);
        ASSERT_LE(at + 4, pack.size()) << path;
        const std::vector<unsigned char> entry(pack.begin() + static_cast<long>(at) + 4,
                                               pack.begin() + static_cast<long>(at + 4 + u32(at)));
        const std::string file = read_text(base + path);
        platform::Image from_pack, from_file;
        ASSERT_TRUE(platform::image_decode(entry.data(), entry.size(), from_pack)) << path;
        ASSERT_TRUE(platform::image_decode(reinterpret_cast<const unsigned char*>(file.data()),
                                           file.size(), from_file))
            << path;
        EXPECT_EQ(from_pack.width, from_file.width) << path;
        EXPECT_EQ(from_pack.height, from_file.height) << path;
        EXPECT_TRUE(from_pack.argb == from_file.argb) << path;
        if (index == kEntryAtlas || index == kEntrySecondSheet) {
            int colour_type = -1;
            const std::vector<int> filters = test::png_row_filters(entry, &colour_type);
            EXPECT_EQ(filters, std::vector<int>(from_file.height, 0)) << path;
        }
        ++pictures;
    }
    EXPECT_GT(pictures, 2);
}

}  // namespace
}  // namespace tessaly
