// X-file meshes through Assimp. Assimp's X importer turns the file into its right-handed
// convention (z mirrored, winding reversed, v flipped); asking it for the left-handed
// conversion on top undoes all three, so positions, winding and texture coordinates come
// out as the file writes them.
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <cstring>
#include <string>
#include <unordered_map>

#include "platform/mesh_file.hpp"
#include "platform/mesh_x_text.hpp"

namespace tessaly::platform {
namespace {

constexpr uint32_t kFvfPosition = 0x002;
constexpr uint32_t kFvfNormal = 0x010;
constexpr uint32_t kFvfDiffuse = 0x040;
constexpr uint32_t kFvfTex1 = 0x100;

uint32_t argb_of(const aiColor4D& c) {
    auto byte = [](float v) {
        const float clamped = v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
        return static_cast<uint32_t>(clamped * 255.0f + 0.5f);
    };
    return byte(c.a) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

GpuColour colour_of(const aiMaterial* m, const char* key, unsigned type, unsigned index) {
    aiColor4D c(0, 0, 0, 0);
    if (m->Get(key, type, index, c) != AI_SUCCESS) return {0, 0, 0, 0};
    return {c.r, c.g, c.b, c.a};
}

// The first texture file the material names, of whatever kind the importer filed it under.
std::string texture_of(const aiMaterial* m) {
    for (int t = aiTextureType_DIFFUSE; t <= AI_TEXTURE_TYPE_MAX; ++t) {
        const auto type = static_cast<aiTextureType>(t);
        if (m->GetTextureCount(type) == 0) continue;
        aiString name;
        if (m->GetTexture(type, 0, &name) == AI_SUCCESS && name.length > 0) {
            return std::string(name.C_Str());
        }
    }
    return {};
}

struct VertexKey {
    MeshVertex v;
    bool operator==(const VertexKey& o) const { return std::memcmp(&v, &o.v, sizeof v) == 0; }
};
struct VertexKeyHash {
    size_t operator()(const VertexKey& k) const {
        const auto* p = reinterpret_cast<const unsigned char*>(&k.v);
        size_t h = 1469598103934665603ull;
        for (size_t i = 0; i < sizeof k.v; ++i) h = (h ^ p[i]) * 1099511628211ull;
        return h;
    }
};

struct Merger {
    const aiScene* scene;
    std::vector<std::vector<uint32_t>> triangles;  // per material, indices into vertices
    std::vector<MeshVertex> vertices;
    std::unordered_map<VertexKey, uint32_t, VertexKeyHash> index_of;
    bool normals = false, colours = false, uvs = false;

    uint32_t vertex_add(const MeshVertex& v) {
        const auto [it, added] =
            index_of.emplace(VertexKey{v}, static_cast<uint32_t>(vertices.size()));
        if (added) vertices.push_back(v);
        return it->second;
    }

    void mesh_add(const aiMesh* mesh, const aiMatrix4x4& transform) {
        if (mesh->mMaterialIndex >= triangles.size()) return;
        aiMatrix3x3 normal_transform(transform);
        std::vector<uint32_t> local(mesh->mNumVertices);
        for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
            const aiVector3D p = transform * mesh->mVertices[i];
            MeshVertex v{p.x, p.y, p.z, 0, 0, 0, 0, 0, 0xFFFFFFFF};
            if (mesh->mNormals) {
                aiVector3D n = normal_transform * mesh->mNormals[i];
                v.nx = n.x;
                v.ny = n.y;
                v.nz = n.z;
                normals = true;
            }
            if (mesh->mTextureCoords[0]) {
                v.u = mesh->mTextureCoords[0][i].x;
                v.v = mesh->mTextureCoords[0][i].y;
                uvs = true;
            }
            if (mesh->mColors[0]) {
                v.colour = argb_of(mesh->mColors[0][i]);
                colours = true;
            }
            local[i] = vertex_add(v);
        }
        std::vector<uint32_t>& out = triangles[mesh->mMaterialIndex];
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            // Polygons are split as fans around their first corner; points and lines
            // have no triangles.
            for (unsigned k = 1; k + 1 < face.mNumIndices; ++k) {
                const unsigned a = face.mIndices[0], b = face.mIndices[k], c = face.mIndices[k + 1];
                if (a >= local.size() || b >= local.size() || c >= local.size()) continue;
                out.push_back(local[a]);
                out.push_back(local[b]);
                out.push_back(local[c]);
            }
        }
    }

    // A frame's own meshes, then its child frames, each under the product of the frame
    // transforms from the root down.
    void node_add(const aiNode* node, const aiMatrix4x4& parent) {
        const aiMatrix4x4 transform = parent * node->mTransformation;
        for (unsigned i = 0; i < node->mNumMeshes; ++i) {
            if (node->mMeshes[i] < scene->mNumMeshes)
                mesh_add(scene->mMeshes[node->mMeshes[i]], transform);
        }
        for (unsigned i = 0; i < node->mNumChildren; ++i) node_add(node->mChildren[i], transform);
    }
};

}  // namespace

bool mesh_file_load_x(const unsigned char* data, size_t size, MeshData& out,
                      std::vector<MeshFileMaterial>& materials) {
    out = MeshData{};
    materials.clear();
    if (!data || size == 0 || !mesh_x_text_readable(data, size)) return false;
    Assimp::Importer importer;
    const aiScene* scene =
        importer.ReadFileFromMemory(data, size, aiProcess_ConvertToLeftHanded, "x");
    if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) return false;

    // Materials in the order the importer lists them: the file's order wherever each
    // material belongs to one mesh.
    for (unsigned i = 0; i < scene->mNumMaterials; ++i) {
        const aiMaterial* m = scene->mMaterials[i];
        MeshFileMaterial mat{};
        mat.material.diffuse = colour_of(m, AI_MATKEY_COLOR_DIFFUSE);
        mat.material.ambient = colour_of(m, AI_MATKEY_COLOR_AMBIENT);
        mat.material.specular = colour_of(m, AI_MATKEY_COLOR_SPECULAR);
        mat.material.emissive = colour_of(m, AI_MATKEY_COLOR_EMISSIVE);
        float power = 0.0f;
        if (m->Get(AI_MATKEY_SHININESS, power) == AI_SUCCESS) mat.material.power = power;
        mat.texture_file = texture_of(m);
        materials.push_back(mat);
    }

    Merger merger{scene, std::vector<std::vector<uint32_t>>(materials.size()), {}, {}};
    merger.node_add(scene->mRootNode, aiMatrix4x4());
    if (merger.vertices.empty()) return false;

    out.fvf = kFvfPosition | (merger.normals ? kFvfNormal : 0) |
              (merger.colours ? kFvfDiffuse : 0) | (merger.uvs ? kFvfTex1 : 0);
    out.vertices = std::move(merger.vertices);
    for (const std::vector<uint32_t>& tris : merger.triangles) {
        out.subsets.push_back(
            {static_cast<uint32_t>(out.indices.size()), static_cast<uint32_t>(tris.size())});
        out.indices.insert(out.indices.end(), tris.begin(), tris.end());
    }
    return true;
}

}  // namespace tessaly::platform
