// Turning an assimp scene read from a .x file into the engine's frames, mesh builders,
// materials, textures and animation sets.
// Internal to platform/d3drm: no platform call; serves the .x loader.
#include "platform/d3drm/xfile_scene.h"

#include <assimp/anim.h>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <glm/glm.hpp>

#include <map>
#include <optional>

#include "platform/d3drm/factories.h"
#include "platform/d3drm/frame.h"
#include "platform/d3drm/mesh_builder.h"

namespace {

// Frames nested deeper than this make a file unusable rather than overflow the stack.
constexpr int kMaxDepth = 1024;

// The options of the animations made from a file's animation sets: they loop.
constexpr D3DRMANIMATIONOPTIONS kAnimationOptions =
    D3DRMANIMATION_CLOSED | D3DRMANIMATION_LINEARPOSITION | D3DRMANIMATION_POSITION | D3DRMANIMATION_SCALEANDROTATION;

// assimp's matrices are stored by rows for column vectors (the translation in a4, b4, c4);
// GLM stores by columns.
glm::mat4 ToGlm(const aiMatrix4x4& m) {
    glm::mat4 g;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) g[col][row] = m[static_cast<unsigned>(row)][col];
    return g;
}

glm::vec3 CarryNormal(const glm::mat3& normalTransform, const glm::vec3& n) {
    const glm::vec3 t = normalTransform * n;
    const float length = glm::length(t);
    return length > 0.0f ? t / length : n;
}

// Finds the textures a file names, each name once per load.
class TextureFinder {
public:
    explicit TextureFinder(const XFileOrigin& origin) : origin_(origin) {}

    // The texture a material names, or nullptr when it cannot be loaded.
    Ref<IDirect3DRMTexture3> Find(const std::string& name) {
        if (name.empty()) return {};
        if (auto it = found_.find(name); it != found_.end()) return it->second;
        // The name as the file spells it ("textures\brick.bmp"), then its last component
        // (for names such as "C:\code\top.tga" from the machine the file was made on),
        // each as the loader finds files, and at last beside the model itself.
        const size_t slash = name.find_last_of("\\/");
        const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
        std::vector<std::string> candidates{name};
        if (!base.empty() && base != name) candidates.push_back(base);
        if (!origin_.folder.empty()) {
            const bool absolute = name[0] == '\\' || name[0] == '/' || (name.size() > 1 && name[1] == ':');
            if (!absolute) candidates.push_back(origin_.folder + "/" + name);
            if (!base.empty() && base != name) candidates.push_back(origin_.folder + "/" + base);
        }
        Ref<IDirect3DRMTexture3> texture;
        for (const std::string& candidate : candidates)
            if ((texture = Load(candidate))) break;
        found_.emplace(name, texture);
        return texture;
    }

private:
    Ref<IDirect3DRMTexture3> Load(const std::string& name) const {
        Ref<IDirect3DRMTexture3> texture;
        HRESULT result;
        if (origin_.textureCallback) {
            std::string writable = name;   // the callback takes a char*
            result = origin_.textureCallback(writable.data(), origin_.textureArg, texture.put());
        } else {
            result = LoadTextureFile(name.c_str(), texture.put());
        }
        if (result != D3DRM_OK) texture.reset();
        return texture;
    }

    const XFileOrigin& origin_;
    std::map<std::string, Ref<IDirect3DRMTexture3>> found_;
};

// What a face of a material looks like: its colour, material and texture.
struct Surface {
    D3DCOLOR color = 0xFFFFFFFF;
    Ref<IDirect3DRMMaterial2> material;
    Ref<IDirect3DRMTexture3> texture;
};

// The surfaces of a scene's materials, made when a mesh first uses them.
class Surfaces {
public:
    Surfaces(const aiScene& scene, TextureFinder& textures)
        : scene_(scene), textures_(textures), made_(scene.mNumMaterials) {}

    HRESULT Get(unsigned index, const Surface** surface) {
        static const Surface plain;
        *surface = &plain;
        if (index >= scene_.mNumMaterials || !scene_.mMaterials[index]) return D3DRM_OK;
        std::optional<Surface>& slot = made_[index];
        if (!slot) {
            Surface made;
            if (const HRESULT result = Make(*scene_.mMaterials[index], &made); result != D3DRM_OK) return result;
            slot = std::move(made);
        }
        *surface = &*slot;
        return D3DRM_OK;
    }

private:
    HRESULT Make(const aiMaterial& source, Surface* surface) {
        // When a file has no material, assimp stands in a nameless grey one: such faces
        // stay plain white, as faces without a material are.
        aiString name;
        if (source.Get(AI_MATKEY_NAME, name) != AI_SUCCESS || name.length == 0) return D3DRM_OK;
        aiColor4D diffuse(1.0f, 1.0f, 1.0f, 1.0f);
        aiColor3D specular(0.0f, 0.0f, 0.0f), emissive(0.0f, 0.0f, 0.0f);
        float power = 0.0f;
        source.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
        source.Get(AI_MATKEY_COLOR_SPECULAR, specular);
        source.Get(AI_MATKEY_COLOR_EMISSIVE, emissive);
        source.Get(AI_MATKEY_SHININESS, power);
        // Files written for later runtimes often leave the diffuse alpha at 0 for faces
        // that are meant to be opaque.
        surface->color = D3DRMCreateColorRGBA(diffuse.r, diffuse.g, diffuse.b, diffuse.a > 0.0f ? diffuse.a : 1.0f);
        if (const HRESULT result = CreateMaterialObject(power, surface->material.put()); result != D3DRM_OK)
            return result;
        surface->material->SetSpecular(specular.r, specular.g, specular.b);
        surface->material->SetEmissive(emissive.r, emissive.g, emissive.b);
        surface->material->SetName(name.C_Str());
        aiString texture;
        if (source.GetTextureCount(aiTextureType_DIFFUSE) > 0 &&
            source.GetTexture(aiTextureType_DIFFUSE, 0, &texture) == AI_SUCCESS)
            surface->texture = textures_.Find(texture.C_Str());
        return D3DRM_OK;
    }

    const aiScene& scene_;
    TextureFinder& textures_;
    std::vector<std::optional<Surface>> made_;
};

// The colour of a face of a mesh with vertex colours: the mean of its corners' colours.
D3DCOLOR CornerColour(const aiMesh& mesh, const aiFace& face) {
    aiColor4D sum(0.0f, 0.0f, 0.0f, 0.0f);
    for (unsigned k = 0; k < face.mNumIndices; ++k) sum = sum + mesh.mColors[0][face.mIndices[k]];
    const float n = static_cast<float>(face.mNumIndices);
    return D3DRMCreateColorRGB(sum.r / n, sum.g / n, sum.b / n);
}

// Appends the meshes of a node to a builder, their positions carried by `transform`.
// Meshes without normals get smooth ones from their faces (clockwise seen from the front,
// so the cross product of two edges points out). `mirrored` says that the frames above
// the mesh turn it over (a negative determinant): its faces' own winding then points in.
HRESULT AppendNodeMeshes(const aiScene& scene, const aiNode& node, const glm::mat4& transform, bool mirrored,
                         Surfaces& surfaces, MeshBuilder& builder) {
    const glm::mat3 normalTransform = MeshBuilder::NormalTransform(transform);
    for (unsigned m = 0; m < node.mNumMeshes; ++m) {
        if (node.mMeshes[m] >= scene.mNumMeshes || !scene.mMeshes[node.mMeshes[m]]) continue;
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[m]];
        if (!mesh.mVertices || mesh.mNumVertices == 0) continue;
        const Surface* surface = nullptr;
        if (const HRESULT result = surfaces.Get(mesh.mMaterialIndex, &surface); result != D3DRM_OK) return result;

        builder.texcoords.resize(builder.positions.size());
        const auto basePosition = static_cast<DWORD>(builder.positions.size());
        const auto baseNormal = static_cast<DWORD>(builder.normals.size());
        const unsigned count = mesh.mNumVertices;
        for (unsigned i = 0; i < count; ++i) {
            const aiVector3D& p = mesh.mVertices[i];
            builder.positions.push_back(glm::vec3(transform * glm::vec4(p.x, p.y, p.z, 1.0f)));
            const aiVector3D uv = mesh.HasTextureCoords(0) ? mesh.mTextureCoords[0][i] : aiVector3D();
            builder.texcoords.push_back(glm::vec2(uv.x, uv.y));
        }

        const size_t firstFace = builder.faces.size();
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& source = mesh.mFaces[f];
            if (source.mNumIndices < 3 || !source.mIndices) continue;   // points and lines
            std::vector<DWORD> corners, normals;
            for (unsigned k = 0; k < source.mNumIndices; ++k) {
                if (source.mIndices[k] >= count) break;
                corners.push_back(basePosition + source.mIndices[k]);
                normals.push_back(baseNormal + source.mIndices[k]);
            }
            if (corners.size() != source.mNumIndices) continue;
            Face* face = builder.NewFace(std::move(corners), std::move(normals));
            face->color = mesh.HasVertexColors(0) ? CornerColour(mesh, source) : surface->color;
            face->material = surface->material;
            face->texture = surface->texture;
        }

        if (mesh.HasNormals()) {
            for (unsigned i = 0; i < count; ++i) {
                const aiVector3D& n = mesh.mNormals[i];
                builder.normals.push_back(CarryNormal(normalTransform, glm::vec3(n.x, n.y, n.z)));
            }
        } else {
            std::vector<glm::vec3> sums(count, glm::vec3(0.0f));
            for (size_t f = firstFace; f < builder.faces.size(); ++f) {
                const std::vector<DWORD>& v = Face::From(builder.faces[f].get())->vertices;
                const glm::vec3& a = builder.positions[v[0]];
                for (size_t k = 1; k + 1 < v.size(); ++k) {
                    // Unnormalised: larger faces weigh more.
                    const glm::vec3 n = glm::cross(builder.positions[v[k]] - a, builder.positions[v[k + 1]] - a);
                    for (const DWORD corner : {v[0], v[k], v[k + 1]}) sums[corner - basePosition] += n;
                }
            }
            for (const glm::vec3& sum : sums) {
                const float length = glm::length(sum);
                builder.normals.push_back(length > 0.0f ? (mirrored ? -sum : sum) / length : glm::vec3(0.0f));
            }
        }
    }
    return D3DRM_OK;
}

class SceneBuilder {
public:
    SceneBuilder(const aiScene& scene, const XFileOrigin& origin)
        : scene_(scene), origin_(origin), textures_(origin), surfaces_(scene, textures_) {}

    HRESULT Frames(XFileObjects* objects) {
        const aiNode* root = scene_.mRootNode;
        if (!root) return D3DRMERR_BADFILE;
        // assimp gathers several top-level frames below a "$dummy_root" and puts meshes
        // outside any frame on the root ("$dummy_node" when the file has no frame).
        const std::string rootName = root->mName.C_Str();
        if (rootName != "$dummy_root" && rootName != "$dummy_node") {
            Ref<IDirect3DRMFrame3> frame;
            if (const HRESULT result = MakeFrame(*root, glm::mat4(1.0f), 0, &frame); result != D3DRM_OK) return result;
            objects->frames.push_back(std::move(frame));
            return D3DRM_OK;
        }
        const glm::mat4 rootTransform = ToGlm(root->mTransformation);
        if (root->mNumMeshes > 0) {
            Ref<IDirect3DRMMeshBuilder3> builder;
            if (const HRESULT result = MakeBuilder(*root, rootTransform, false, &builder); result != D3DRM_OK)
                return result;
            objects->meshes.push_back(std::move(builder));
        }
        for (unsigned i = 0; i < root->mNumChildren; ++i) {
            Ref<IDirect3DRMFrame3> frame;
            if (const HRESULT result = MakeFrame(*root->mChildren[i], rootTransform, 1, &frame); result != D3DRM_OK)
                return result;
            objects->frames.push_back(std::move(frame));
        }
        return D3DRM_OK;
    }

    // One animation set per animation of the file, one animation per frame it moves.
    HRESULT Animations(XFileObjects* objects) {
        for (unsigned a = 0; a < scene_.mNumAnimations; ++a) {
            const aiAnimation* source = scene_.mAnimations[a];
            if (!source) continue;
            Ref<IDirect3DRMAnimationSet2> set;
            if (const HRESULT result = CreateAnimationSetObject(set.put()); result != D3DRM_OK) return result;
            set->SetName(source->mName.C_Str());
            const double ticks = TicksPerTimeUnit(source->mTicksPerSecond);
            for (unsigned c = 0; c < source->mNumChannels; ++c) {
                const aiNodeAnim* channel = source->mChannels[c];
                if (!channel) continue;
                const auto target = framesByName_.find(channel->mNodeName.C_Str());
                if (target == framesByName_.end()) continue;   // names no frame of the file
                Ref<IDirect3DRMAnimation2> animation;
                if (const HRESULT result = CreateAnimationObject(animation.put()); result != D3DRM_OK) return result;
                animation->SetName(channel->mNodeName.C_Str());
                animation->SetOptions(kAnimationOptions);
                // A key the animation refuses is left out; the others still place the frame.
                for (unsigned k = 0; k < channel->mNumPositionKeys; ++k) {
                    const aiVectorKey& key = channel->mPositionKeys[k];
                    animation->AddPositionKey(static_cast<D3DVALUE>(key.mTime / ticks), key.mValue.x, key.mValue.y,
                                              key.mValue.z);
                }
                for (unsigned k = 0; k < channel->mNumRotationKeys; ++k) {
                    const aiQuatKey& key = channel->mRotationKeys[k];
                    D3DRMQUATERNION rotation;
                    rotation.s = key.mValue.w;
                    rotation.v = D3DVECTOR{key.mValue.x, key.mValue.y, key.mValue.z};
                    animation->AddRotateKey(static_cast<D3DVALUE>(key.mTime / ticks), &rotation);
                }
                for (unsigned k = 0; k < channel->mNumScalingKeys; ++k) {
                    const aiVectorKey& key = channel->mScalingKeys[k];
                    animation->AddScaleKey(static_cast<D3DVALUE>(key.mTime / ticks), key.mValue.x, key.mValue.y,
                                           key.mValue.z);
                }
                animation->SetFrame(target->second);
                if (const HRESULT result = set->AddAnimation(animation.get()); result != D3DRM_OK) return result;
            }
            objects->animationSets.push_back(std::move(set));
        }
        return D3DRM_OK;
    }

    // Appends the meshes below `node` to `into`, each placed by its frame's world transform.
    HRESULT Merge(const aiNode& node, const glm::mat4& parentWorld, int depth, MeshBuilder& into) {
        if (depth > kMaxDepth) return D3DRMERR_BADFILE;
        const glm::mat4 world = parentWorld * ToGlm(node.mTransformation);
        if (const HRESULT result = AppendNodeMeshes(scene_, node, world, false, surfaces_, into); result != D3DRM_OK)
            return result;
        for (unsigned i = 0; i < node.mNumChildren; ++i)
            if (const HRESULT result = Merge(*node.mChildren[i], world, depth + 1, into); result != D3DRM_OK)
                return result;
        return D3DRM_OK;
    }

private:
    // Key times are in ticks. A file that says how many ticks make a second gets times in
    // seconds. Without that, a file of the 0303 format means D3DX's 4800 ticks a second;
    // the key times of an older file are used as they are, as its runtime used them.
    double TicksPerTimeUnit(double ticksPerSecond) const {
        if (ticksPerSecond > 0.0) return ticksPerSecond;
        return origin_.version >= 303 ? 4800.0 : 1.0;
    }

    HRESULT MakeFrame(const aiNode& node, const glm::mat4& parentWorld, int depth, Ref<IDirect3DRMFrame3>* out) {
        if (depth > kMaxDepth) return D3DRMERR_BADFILE;
        Ref<IDirect3DRMFrame3> made = Ref<IDirect3DRMFrame3>::Adopt(new Frame());
        Frame& frame = *Frame::From(made.get());
        frame.SetName(node.mName.C_Str());
        const glm::mat4 local = ToGlm(node.mTransformation);
        frame.SetLocalTransform(local);
        const glm::mat4 world = parentWorld * local;
        framesByName_.try_emplace(node.mName.C_Str(), &frame);
        if (node.mNumMeshes > 0) {
            Ref<IDirect3DRMMeshBuilder3> builder;
            const bool mirrored = glm::determinant(glm::mat3(world)) < 0.0f;
            if (const HRESULT result = MakeBuilder(node, glm::mat4(1.0f), mirrored, &builder); result != D3DRM_OK)
                return result;
            frame.AddVisual(builder.get());
        }
        for (unsigned i = 0; i < node.mNumChildren; ++i) {
            Ref<IDirect3DRMFrame3> child;
            if (const HRESULT result = MakeFrame(*node.mChildren[i], world, depth + 1, &child); result != D3DRM_OK)
                return result;
            frame.AddChild(child.get());
        }
        *out = std::move(made);
        return D3DRM_OK;
    }

    // A mesh builder holding a node's meshes, named after the node.
    HRESULT MakeBuilder(const aiNode& node, const glm::mat4& transform, bool mirrored,
                        Ref<IDirect3DRMMeshBuilder3>* out) {
        Ref<IDirect3DRMMeshBuilder3> made;
        if (const HRESULT result = CreateMeshBuilderObject(made.put()); result != D3DRM_OK) return result;
        MeshBuilder& builder = *MeshBuilder::From(made.get());
        if (const HRESULT result = AppendNodeMeshes(scene_, node, transform, mirrored, surfaces_, builder);
            result != D3DRM_OK)
            return result;
        const std::string name = node.mName.C_Str();
        if (name != "$dummy_root" && name != "$dummy_node") builder.SetName(name.c_str());
        *out = std::move(made);
        return D3DRM_OK;
    }

    const aiScene& scene_;
    const XFileOrigin& origin_;
    TextureFinder textures_;
    Surfaces surfaces_;
    std::map<std::string, Frame*> framesByName_;   // the first frame of each name
};

}  // namespace

HRESULT BuildXFileObjects(const aiScene& scene, const XFileOrigin& origin, XFileObjects* objects) {
    if (!objects) return D3DRMERR_BADVALUE;
    XFileObjects made;
    SceneBuilder builder(scene, origin);
    if (const HRESULT result = builder.Frames(&made); result != D3DRM_OK) return result;
    if (const HRESULT result = builder.Animations(&made); result != D3DRM_OK) return result;
    *objects = std::move(made);
    return D3DRM_OK;
}

HRESULT MergeXFileMeshes(const aiScene& scene, const XFileOrigin& origin, MeshBuilder* builder) {
    if (!builder) return D3DRMERR_BADVALUE;
    if (!scene.mRootNode) return D3DRMERR_BADFILE;
    // Gathered apart, so that a failure leaves the builder as it was.
    Ref<IDirect3DRMMeshBuilder3> merged;
    if (const HRESULT result = CreateMeshBuilderObject(merged.put()); result != D3DRM_OK) return result;
    SceneBuilder scenes(scene, origin);
    if (const HRESULT result = scenes.Merge(*scene.mRootNode, glm::mat4(1.0f), 0, *MeshBuilder::From(merged.get()));
        result != D3DRM_OK)
        return result;
    builder->Append(*MeshBuilder::From(merged.get()), glm::mat4(1.0f));
    return D3DRM_OK;
}
