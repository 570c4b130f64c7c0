// Turning a parsed .x file (the parser program's plain data) into the engine's frames, mesh
// builders, materials, textures and animation sets.
// Internal to platform/d3drm: no platform call; serves the .x loader.
#include "platform/d3drm/xfile_scene.h"

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

// The names assimp gives the root it adds above a file's top-level frames.
bool IsStandIn(const std::string& name) { return name == "$dummy_root" || name == "$dummy_node"; }

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
    Surfaces(const XFileScene& scene, TextureFinder& textures)
        : scene_(scene), textures_(textures), made_(scene.materials.size()) {}

    HRESULT Get(unsigned index, const Surface** surface) {
        static const Surface plain;
        *surface = &plain;
        if (index >= scene_.materials.size()) return D3DRM_OK;
        std::optional<Surface>& slot = made_[index];
        if (!slot) {
            Surface made;
            if (const HRESULT result = Make(scene_.materials[index], &made); result != D3DRM_OK) return result;
            slot = std::move(made);
        }
        *surface = &*slot;
        return D3DRM_OK;
    }

private:
    HRESULT Make(const XFileMaterial& source, Surface* surface) {
        // A nameless material is the stand-in for a file without any: such faces stay plain
        // white, as faces without a material are.
        if (source.name.empty()) return D3DRM_OK;
        const glm::vec4& diffuse = source.diffuse;
        // Files written for later runtimes often leave the diffuse alpha at 0 for faces
        // that are meant to be opaque.
        surface->color = D3DRMCreateColorRGBA(diffuse.r, diffuse.g, diffuse.b, diffuse.a > 0.0f ? diffuse.a : 1.0f);
        if (const HRESULT result = CreateMaterialObject(source.power, surface->material.put()); result != D3DRM_OK)
            return result;
        surface->material->SetSpecular(source.specular.r, source.specular.g, source.specular.b);
        surface->material->SetEmissive(source.emissive.r, source.emissive.g, source.emissive.b);
        surface->material->SetName(source.name.c_str());
        surface->texture = textures_.Find(source.texture);
        return D3DRM_OK;
    }

    const XFileScene& scene_;
    TextureFinder& textures_;
    std::vector<std::optional<Surface>> made_;
};

// The colour of a face of a mesh with vertex colours: the mean of its corners' colours.
D3DCOLOR CornerColour(const XFileMesh& mesh, const std::uint32_t* corners, std::uint32_t count) {
    glm::vec4 sum(0.0f);
    for (std::uint32_t k = 0; k < count; ++k) sum += mesh.colors[corners[k]];
    const float n = static_cast<float>(count);
    return D3DRMCreateColorRGB(sum.r / n, sum.g / n, sum.b / n);
}

// Appends the meshes of a node to a builder, their positions carried by `transform`.
// Meshes without normals get smooth ones from their faces (clockwise seen from the front,
// so the cross product of two edges points out). `mirrored` says that the frames above
// the mesh turn it over (a negative determinant): its faces' own winding then points in.
HRESULT AppendNodeMeshes(const XFileScene& scene, const XFileNode& node, const glm::mat4& transform, bool mirrored,
                         Surfaces& surfaces, MeshBuilder& builder) {
    const glm::mat3 normalTransform = MeshBuilder::NormalTransform(transform);
    for (const std::uint32_t index : node.meshes) {
        if (index >= scene.meshes.size()) continue;
        const XFileMesh& mesh = scene.meshes[index];
        if (mesh.positions.empty()) continue;
        const Surface* surface = nullptr;
        if (const HRESULT result = surfaces.Get(mesh.material, &surface); result != D3DRM_OK) return result;

        builder.texcoords.resize(builder.positions.size());
        const auto basePosition = static_cast<DWORD>(builder.positions.size());
        const auto baseNormal = static_cast<DWORD>(builder.normals.size());
        const size_t count = mesh.positions.size();
        for (size_t i = 0; i < count; ++i) {
            builder.positions.push_back(glm::vec3(transform * glm::vec4(mesh.positions[i], 1.0f)));
            builder.texcoords.push_back(mesh.texcoords.empty() ? glm::vec2(0.0f) : mesh.texcoords[i]);
        }

        const size_t firstFace = builder.faces.size();
        size_t next = 0;   // the first corner of the face
        for (const std::uint32_t size : mesh.faceSizes) {
            const std::uint32_t* source = mesh.corners.data() + next;
            next += size;
            if (size < 3) continue;   // points and lines
            std::vector<DWORD> corners, normals;
            for (std::uint32_t k = 0; k < size; ++k) {
                if (source[k] >= count) break;
                corners.push_back(basePosition + source[k]);
                normals.push_back(baseNormal + source[k]);
            }
            if (corners.size() != size) continue;
            Face* face = builder.NewFace(std::move(corners), std::move(normals));
            face->color = mesh.colors.empty() ? surface->color : CornerColour(mesh, source, size);
            face->material = surface->material;
            face->texture = surface->texture;
        }

        if (!mesh.normals.empty()) {
            for (const glm::vec3& n : mesh.normals) builder.normals.push_back(CarryNormal(normalTransform, n));
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
    SceneBuilder(const XFileScene& scene, const XFileOrigin& origin)
        : scene_(scene), origin_(origin), textures_(origin), surfaces_(scene, textures_) {}

    HRESULT Frames(XFileObjects* objects) {
        if (scene_.nodes.empty()) return D3DRMERR_BADFILE;
        const XFileNode& root = scene_.nodes[0];
        // assimp gathers several top-level frames below a "$dummy_root" and puts meshes
        // outside any frame on the root ("$dummy_node" when the file has no frame).
        if (!IsStandIn(root.name)) {
            Ref<IDirect3DRMFrame3> frame;
            if (const HRESULT result = MakeFrame(0, glm::mat4(1.0f), 0, &frame); result != D3DRM_OK) return result;
            objects->frames.push_back(std::move(frame));
            return D3DRM_OK;
        }
        if (!root.meshes.empty()) {
            Ref<IDirect3DRMMeshBuilder3> builder;
            if (const HRESULT result = MakeBuilder(root, root.transform, false, &builder); result != D3DRM_OK)
                return result;
            objects->meshes.push_back(std::move(builder));
        }
        for (const std::uint32_t child : root.children) {
            Ref<IDirect3DRMFrame3> frame;
            if (const HRESULT result = MakeFrame(child, root.transform, 1, &frame); result != D3DRM_OK)
                return result;
            objects->frames.push_back(std::move(frame));
        }
        return D3DRM_OK;
    }

    // One animation set per animation of the file, one animation per frame it moves.
    HRESULT Animations(XFileObjects* objects) {
        for (const XFileAnimation& source : scene_.animations) {
            Ref<IDirect3DRMAnimationSet2> set;
            if (const HRESULT result = CreateAnimationSetObject(set.put()); result != D3DRM_OK) return result;
            set->SetName(source.name.c_str());
            const double ticks = TicksPerTimeUnit(source.ticksPerSecond);
            for (const XFileChannel& channel : source.channels) {
                const auto target = framesByName_.find(channel.node);
                if (target == framesByName_.end()) continue;   // names no frame of the file
                Ref<IDirect3DRMAnimation2> animation;
                if (const HRESULT result = CreateAnimationObject(animation.put()); result != D3DRM_OK) return result;
                animation->SetName(channel.node.c_str());
                animation->SetOptions(kAnimationOptions);
                // A key the animation refuses is left out; the others still place the frame.
                for (const XFileKey<glm::vec3>& key : channel.positions)
                    animation->AddPositionKey(static_cast<D3DVALUE>(key.time / ticks), key.value.x, key.value.y,
                                              key.value.z);
                for (const XFileKey<glm::quat>& key : channel.rotations) {
                    D3DRMQUATERNION rotation;
                    rotation.s = key.value.w;
                    rotation.v = D3DVECTOR{key.value.x, key.value.y, key.value.z};
                    animation->AddRotateKey(static_cast<D3DVALUE>(key.time / ticks), &rotation);
                }
                for (const XFileKey<glm::vec3>& key : channel.scales)
                    animation->AddScaleKey(static_cast<D3DVALUE>(key.time / ticks), key.value.x, key.value.y,
                                           key.value.z);
                animation->SetFrame(target->second);
                if (const HRESULT result = set->AddAnimation(animation.get()); result != D3DRM_OK) return result;
            }
            objects->animationSets.push_back(std::move(set));
        }
        return D3DRM_OK;
    }

    // Appends the meshes below node `index` to `into`, each placed by its frame's world
    // transform.
    HRESULT Merge(std::uint32_t index, const glm::mat4& parentWorld, int depth, MeshBuilder& into) {
        if (depth > kMaxDepth) return D3DRMERR_BADFILE;
        const XFileNode& node = scene_.nodes[index];
        const glm::mat4 world = parentWorld * node.transform;
        if (const HRESULT result = AppendNodeMeshes(scene_, node, world, false, surfaces_, into); result != D3DRM_OK)
            return result;
        for (const std::uint32_t child : node.children)
            if (const HRESULT result = Merge(child, world, depth + 1, into); result != D3DRM_OK) return result;
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

    HRESULT MakeFrame(std::uint32_t index, const glm::mat4& parentWorld, int depth, Ref<IDirect3DRMFrame3>* out) {
        if (depth > kMaxDepth) return D3DRMERR_BADFILE;
        const XFileNode& node = scene_.nodes[index];
        Ref<IDirect3DRMFrame3> made = Ref<IDirect3DRMFrame3>::Adopt(new Frame());
        Frame& frame = *Frame::From(made.get());
        frame.SetName(node.name.c_str());
        frame.SetLocalTransform(node.transform);
        const glm::mat4 world = parentWorld * node.transform;
        framesByName_.try_emplace(node.name, &frame);
        if (!node.meshes.empty()) {
            Ref<IDirect3DRMMeshBuilder3> builder;
            const bool mirrored = glm::determinant(glm::mat3(world)) < 0.0f;
            if (const HRESULT result = MakeBuilder(node, glm::mat4(1.0f), mirrored, &builder); result != D3DRM_OK)
                return result;
            frame.AddVisual(builder.get());
        }
        for (const std::uint32_t below : node.children) {
            Ref<IDirect3DRMFrame3> child;
            if (const HRESULT result = MakeFrame(below, world, depth + 1, &child); result != D3DRM_OK) return result;
            frame.AddChild(child.get());
        }
        *out = std::move(made);
        return D3DRM_OK;
    }

    // A mesh builder holding a node's meshes, named after the node.
    HRESULT MakeBuilder(const XFileNode& node, const glm::mat4& transform, bool mirrored,
                        Ref<IDirect3DRMMeshBuilder3>* out) {
        Ref<IDirect3DRMMeshBuilder3> made;
        if (const HRESULT result = CreateMeshBuilderObject(made.put()); result != D3DRM_OK) return result;
        MeshBuilder& builder = *MeshBuilder::From(made.get());
        if (const HRESULT result = AppendNodeMeshes(scene_, node, transform, mirrored, surfaces_, builder);
            result != D3DRM_OK)
            return result;
        if (!IsStandIn(node.name)) builder.SetName(node.name.c_str());
        *out = std::move(made);
        return D3DRM_OK;
    }

    const XFileScene& scene_;
    const XFileOrigin& origin_;
    TextureFinder textures_;
    Surfaces surfaces_;
    std::map<std::string, Frame*> framesByName_;   // the first frame of each name
};

}  // namespace

HRESULT BuildXFileObjects(const XFileScene& scene, const XFileOrigin& origin, XFileObjects* objects) {
    if (!objects) return D3DRMERR_BADVALUE;
    XFileObjects made;
    SceneBuilder builder(scene, origin);
    if (const HRESULT result = builder.Frames(&made); result != D3DRM_OK) return result;
    if (const HRESULT result = builder.Animations(&made); result != D3DRM_OK) return result;
    *objects = std::move(made);
    return D3DRM_OK;
}

HRESULT MergeXFileMeshes(const XFileScene& scene, const XFileOrigin& origin, MeshBuilder* builder) {
    if (!builder) return D3DRMERR_BADVALUE;
    if (scene.nodes.empty()) return D3DRMERR_BADFILE;
    // Gathered apart, so that a failure leaves the builder as it was.
    Ref<IDirect3DRMMeshBuilder3> merged;
    if (const HRESULT result = CreateMeshBuilderObject(merged.put()); result != D3DRM_OK) return result;
    SceneBuilder scenes(scene, origin);
    if (const HRESULT result = scenes.Merge(0, glm::mat4(1.0f), 0, *MeshBuilder::From(merged.get()));
        result != D3DRM_OK)
        return result;
    builder->Append(*MeshBuilder::From(merged.get()), glm::mat4(1.0f));
    return D3DRM_OK;
}
