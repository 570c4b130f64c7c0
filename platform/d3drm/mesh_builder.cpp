// Mesh builders: geometry being built (positions, normals, texture coordinates and faces
// with their colours, materials and textures), and the meshes made from it for drawing.
// Implements IDirect3DRMMeshBuilder3 (Load, Scale, Translate, GetBox, SetColor(RGB),
// SetMaterial, SetTexture, SetQuality, SetPerspective, AddFaces, AddFrame, AddMeshBuilder,
// GetFaces, GetVertex, Set/GetTextureCoordinates, CreateMesh, Clone) and IDirect3DRMFace2.
// Leaves out: AddMeshBuilder's flags and Clone's outer object are ignored.
#include "platform/d3drm/mesh_builder.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cstdint>
#include <map>
#include <tuple>
#include <unordered_map>

#include "platform/d3drm/array.h"
#include "platform/d3drm/factories.h"
#include "platform/d3drm/frame.h"
#include "platform/d3drm/mesh.h"
#include "platform/d3drm/scene_walk.h"

namespace {

D3DVECTOR ToVector(const glm::vec3& v) { return D3DVECTOR{v.x, v.y, v.z}; }
glm::vec3 ToGlm(const D3DVECTOR& v) { return glm::vec3(v.x, v.y, v.z); }

// A normal carried through `normalTransform`, of unit length again; a normal that the
// transform flattens to nothing stays as it was.
glm::vec3 CarryNormal(const glm::mat3& normalTransform, const glm::vec3& n) {
    const glm::vec3 t = normalTransform * n;
    const float length = glm::length(t);
    return length > 0.0f ? t / length : n;
}

// The unit normal of the plane through three corners given clockwise from the front (the
// cross product of the first two edges points out of the front in left-handed
// coordinates); zero for corners on a line.
glm::vec3 PlaneNormal(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c) {
    const glm::vec3 n = glm::cross(b - a, c - a);
    const float length = glm::length(n);
    return length > 0.0f ? n / length : glm::vec3(0.0f);
}

// Adds the triangles of a mesh, placed by `transform`, to a builder as faces.
void AppendMesh(MeshBuilder& builder, const Mesh& mesh, const glm::mat4& transform) {
    const glm::mat3 normalTransform = MeshBuilder::NormalTransform(transform);
    for (const MeshGroup& group : mesh.groups) {
        builder.texcoords.resize(builder.positions.size());
        const auto basePosition = static_cast<DWORD>(builder.positions.size());
        const auto baseNormal = static_cast<DWORD>(builder.normals.size());
        for (const MeshVertex& v : group.vertices) {
            builder.positions.push_back(glm::vec3(transform * glm::vec4(v.position, 1.0f)));
            builder.normals.push_back(CarryNormal(normalTransform, v.normal));
            builder.texcoords.push_back(v.uv);
        }
        const auto count = group.vertices.size();
        for (size_t i = 0; i + 2 < group.indices.size(); i += 3) {
            const std::uint32_t a = group.indices[i], b = group.indices[i + 1], c = group.indices[i + 2];
            if (a >= count || b >= count || c >= count) continue;
            Face* face = builder.NewFace({basePosition + a, basePosition + b, basePosition + c},
                                         {baseNormal + a, baseNormal + b, baseNormal + c});
            face->color = group.color;
            face->material = group.material;
            face->texture = group.texture;
        }
    }
}

// Collects the geometry of the mesh builders and meshes the scene walk meets below a frame,
// in the coordinates the walk starts from. Frames shown as visuals are not collected.
struct GeometryCollector {
    MeshBuilder& into;
    void Visual(const SceneNode& node, IDirect3DRMVisual* visual) {
        Ref<IDirect3DRMMeshBuilder3> builder;
        Ref<IDirect3DRMMesh> mesh;
        if (visual->QueryInterface(IID_IDirect3DRMMeshBuilder3, reinterpret_cast<void**>(builder.put())) == S_OK)
            into.Append(*MeshBuilder::From(builder.get()), node.world);
        else if (visual->QueryInterface(IID_IDirect3DRMMesh, reinterpret_cast<void**>(mesh.put())) == S_OK)
            AppendMesh(into, *Mesh::From(mesh.get()), node.world);
    }
};

}  // namespace

// ---- Faces -------------------------------------------------------------------------------

HRESULT Face::SetColor(D3DCOLOR value) {
    color = value;
    if (owner) ++owner->version;
    return D3DRM_OK;
}

HRESULT Face::SetColorRGB(D3DVALUE r, D3DVALUE g, D3DVALUE b) { return SetColor(D3DRMCreateColorRGB(r, g, b)); }

HRESULT Face::GetMaterial(IDirect3DRMMaterial2** out) {
    if (!out) return D3DRMERR_BADVALUE;
    *out = material.get();
    if (*out) (*out)->AddRef();
    return D3DRM_OK;
}

HRESULT Face::GetTexture(IDirect3DRMTexture3** out) {
    if (!out) return D3DRMERR_BADVALUE;
    *out = texture.get();
    if (*out) (*out)->AddRef();
    return D3DRM_OK;
}

HRESULT Face::GetNormal(D3DVECTOR* normal) {
    if (!normal) return D3DRMERR_BADVALUE;
    if (!owner || vertices.size() < 3) return D3DRMERR_BADOBJECT;
    const auto& p = owner->positions;
    if (vertices[0] >= p.size() || vertices[1] >= p.size() || vertices[2] >= p.size()) return D3DRMERR_BADOBJECT;
    *normal = ToVector(PlaneNormal(p[vertices[0]], p[vertices[1]], p[vertices[2]]));
    return D3DRM_OK;
}

void* Face::Query(REFIID iid) {
    return iid == IID_IDirect3DRMFace2 ? static_cast<IDirect3DRMFace2*>(this) : Object::Query(iid);
}

// ---- Mesh builder: the geometry's helpers ------------------------------------------------

MeshBuilder::~MeshBuilder() {
    for (const auto& face : faces) Face::From(face.get())->owner = nullptr;
}

void* MeshBuilder::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMMeshBuilder3 || iid == IID_IDirect3DRMVisual)
        return static_cast<IDirect3DRMMeshBuilder3*>(this);
    return Object::Query(iid);
}

glm::mat3 MeshBuilder::NormalTransform(const glm::mat4& m) {
    // The cofactor matrix is det(m) times the inverse transpose; its sign is put right so
    // that a mirroring transform mirrors the normals too instead of turning them over.
    const glm::mat3 a(m);
    const glm::mat3 cofactors(glm::cross(a[1], a[2]), glm::cross(a[2], a[0]), glm::cross(a[0], a[1]));
    return glm::determinant(a) < 0.0f ? -cofactors : cofactors;
}

Face* MeshBuilder::NewFace(std::vector<DWORD> vertexIndices, std::vector<DWORD> normalIndices) {
    Ref<IDirect3DRMFace2> made = Ref<IDirect3DRMFace2>::Adopt(new Face(this));
    Face* face = Face::From(made.get());
    face->vertices = std::move(vertexIndices);
    face->normals = std::move(normalIndices);
    faces.push_back(std::move(made));
    ++version;
    return face;
}

void MeshBuilder::Append(const MeshBuilder& other, const glm::mat4& transform) {
    if (&other == this) {
        // The arrays grow while they are read: append from a copy.
        Ref<IDirect3DRMMeshBuilder3> copy = Ref<IDirect3DRMMeshBuilder3>::Adopt(new MeshBuilder());
        From(copy.get())->Append(other, glm::mat4(1.0f));
        Append(*From(copy.get()), transform);
        return;
    }
    texcoords.resize(positions.size());
    const auto basePosition = static_cast<DWORD>(positions.size());
    const auto baseNormal = static_cast<DWORD>(normals.size());
    const glm::mat3 normalTransform = NormalTransform(transform);
    positions.reserve(positions.size() + other.positions.size());
    for (const glm::vec3& p : other.positions) positions.push_back(glm::vec3(transform * glm::vec4(p, 1.0f)));
    for (size_t i = 0; i < other.positions.size(); ++i)
        texcoords.push_back(i < other.texcoords.size() ? other.texcoords[i] : glm::vec2(0.0f));
    normals.reserve(normals.size() + other.normals.size());
    for (const glm::vec3& n : other.normals) normals.push_back(CarryNormal(normalTransform, n));
    faces.reserve(faces.size() + other.faces.size());
    for (const auto& f : other.faces) {
        const Face& source = *Face::From(f.get());
        std::vector<DWORD> v(source.vertices), n(source.normals);
        for (DWORD& index : v) index += basePosition;
        for (DWORD& index : n) index += baseNormal;
        Face* face = NewFace(std::move(v), std::move(n));
        face->color = source.color;
        face->material = source.material;
        face->texture = source.texture;
    }
    ++version;
}

// ---- Mesh builder: the interface ---------------------------------------------------------

HRESULT MeshBuilder::Load(const void* source, const void*, D3DRMLOADOPTIONS options,
                          D3DRMLOADTEXTURE3CALLBACK textureCallback, void* arg) {
    // Only files: the low bits name where the data comes from, and 0 is a file.
    if (!source || (options & 0x0F) != D3DRMLOAD_FROMFILE) return D3DRMERR_BADVALUE;
    return LoadXFileIntoBuilder(this, static_cast<const char*>(source), textureCallback, arg);
}

HRESULT MeshBuilder::Scale(D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) {
    const glm::mat4 scale = glm::scale(glm::mat4(1.0f), glm::vec3(sx, sy, sz));
    const glm::mat3 normalTransform = NormalTransform(scale);
    for (glm::vec3& p : positions) p *= glm::vec3(sx, sy, sz);
    for (glm::vec3& n : normals) n = CarryNormal(normalTransform, n);
    ++version;
    return D3DRM_OK;
}

HRESULT MeshBuilder::Translate(D3DVALUE tx, D3DVALUE ty, D3DVALUE tz) {
    for (glm::vec3& p : positions) p += glm::vec3(tx, ty, tz);
    ++version;
    return D3DRM_OK;
}

HRESULT MeshBuilder::GetBox(D3DRMBOX* box) {
    if (!box || positions.empty()) return D3DRMERR_BADVALUE;
    glm::vec3 low = positions.front(), high = positions.front();
    for (const glm::vec3& p : positions) {
        low = glm::min(low, p);
        high = glm::max(high, p);
    }
    box->min = ToVector(low);
    box->max = ToVector(high);
    return D3DRM_OK;
}

HRESULT MeshBuilder::SetColorRGB(D3DVALUE r, D3DVALUE g, D3DVALUE b) { return SetColor(D3DRMCreateColorRGB(r, g, b)); }

HRESULT MeshBuilder::SetColor(D3DCOLOR color) {
    for (const auto& face : faces) Face::From(face.get())->color = color;
    ++version;
    return D3DRM_OK;
}

HRESULT MeshBuilder::SetMaterial(IDirect3DRMMaterial2* material) {
    for (const auto& face : faces) Face::From(face.get())->material = Ref<IDirect3DRMMaterial2>::Share(material);
    ++version;
    return D3DRM_OK;
}

HRESULT MeshBuilder::SetTexture(IDirect3DRMTexture3* texture) {
    for (const auto& face : faces) Face::From(face.get())->texture = Ref<IDirect3DRMTexture3>::Share(texture);
    ++version;
    return D3DRM_OK;
}

HRESULT MeshBuilder::SetQuality(D3DRMRENDERQUALITY value) {
    quality = value;
    ++version;
    return D3DRM_OK;
}

HRESULT MeshBuilder::SetPerspective(BOOL value) {
    perspective = value ? TRUE : FALSE;
    ++version;
    return D3DRM_OK;
}

HRESULT MeshBuilder::AddFaces(DWORD vertexCount, const D3DVECTOR* newVertices, DWORD normalCount,
                              const D3DVECTOR* newNormals, const DWORD* faceData, IDirect3DRMFaceArray** faceArray) {
    if (faceArray) *faceArray = nullptr;
    if (!faceData || (vertexCount > 0 && !newVertices) || (normalCount > 0 && !newNormals)) return D3DRMERR_BADVALUE;
    // Each corner is a (vertex, normal) pair; without normals it is the vertex index alone.
    // The whole list is read and checked before anything is added.
    const bool withNormals = normalCount > 0;
    const auto basePosition = static_cast<DWORD>(positions.size());
    const auto baseNormal = static_cast<DWORD>(normals.size());
    std::vector<std::pair<std::vector<DWORD>, std::vector<DWORD>>> parsed;
    for (const DWORD* p = faceData; *p != 0;) {
        const DWORD corners = *p++;
        if (corners < 3) return D3DRMERR_BADVALUE;
        std::vector<DWORD> v, n;
        v.reserve(corners);
        for (DWORD k = 0; k < corners; ++k) {
            const DWORD vertex = *p++;
            if (vertex >= vertexCount) return D3DRMERR_BADVALUE;
            v.push_back(basePosition + vertex);
            if (withNormals) {
                const DWORD normal = *p++;
                if (normal >= normalCount) return D3DRMERR_BADVALUE;
                n.push_back(baseNormal + normal);
            }
        }
        parsed.emplace_back(std::move(v), std::move(n));
    }

    texcoords.resize(positions.size());
    for (DWORD i = 0; i < vertexCount; ++i) positions.push_back(ToGlm(newVertices[i]));
    texcoords.resize(positions.size(), glm::vec2(0.0f));
    for (DWORD i = 0; i < normalCount; ++i) {
        const glm::vec3 n = ToGlm(newNormals[i]);
        const float length = glm::length(n);
        normals.push_back(length > 0.0f ? n / length : n);
    }
    std::vector<Ref<IDirect3DRMFace2>> added;
    added.reserve(parsed.size());
    for (auto& [v, n] : parsed) {
        NewFace(std::move(v), std::move(n));
        added.push_back(faces.back());
    }
    ++version;
    if (faceArray) *faceArray = new FaceArray(std::move(added));
    return D3DRM_OK;
}

HRESULT MeshBuilder::AddFrame(IDirect3DRMFrame3* frame) {
    if (!frame) return D3DRMERR_BADOBJECT;
    // Collected apart first: this builder may itself be one of the frame's visuals.
    Ref<IDirect3DRMMeshBuilder3> collected = Ref<IDirect3DRMMeshBuilder3>::Adopt(new MeshBuilder());
    GeometryCollector collector{*From(collected.get())};
    SceneWalk(false).Run(*Frame::From(frame), glm::mat4(1.0f), nullptr, collector);
    Append(*From(collected.get()), glm::mat4(1.0f));
    return D3DRM_OK;
}

HRESULT MeshBuilder::AddMeshBuilder(IDirect3DRMMeshBuilder3* builder, DWORD) {
    if (!builder) return D3DRMERR_BADOBJECT;
    Append(*From(builder), glm::mat4(1.0f));
    return D3DRM_OK;
}

HRESULT MeshBuilder::GetFaces(IDirect3DRMFaceArray** out) {
    if (!out) return D3DRMERR_BADVALUE;
    *out = new FaceArray(faces);
    return D3DRM_OK;
}

HRESULT MeshBuilder::GetVertex(DWORD index, D3DVECTOR* position, D3DVECTOR* normal) {
    if (index >= positions.size()) return D3DRMERR_BADVALUE;
    if (position) *position = ToVector(positions[index]);
    if (normal) {
        // Normals are indexed apart from positions: the vertex's normal is the one its
        // first face corner uses.
        *normal = D3DVECTOR{};
        for (const auto& f : faces) {
            const Face& face = *Face::From(f.get());
            bool found = false;
            for (size_t k = 0; k < face.vertices.size() && k < face.normals.size(); ++k)
                if (face.vertices[k] == index && face.normals[k] < normals.size()) {
                    *normal = ToVector(normals[face.normals[k]]);
                    found = true;
                    break;
                }
            if (found) break;
        }
    }
    return D3DRM_OK;
}

HRESULT MeshBuilder::SetTextureCoordinates(DWORD index, D3DVALUE u, D3DVALUE v) {
    if (index >= positions.size()) return D3DRMERR_BADVALUE;
    texcoords.resize(positions.size());
    texcoords[index] = glm::vec2(u, v);
    ++version;
    return D3DRM_OK;
}

HRESULT MeshBuilder::GetTextureCoordinates(DWORD index, D3DVALUE* u, D3DVALUE* v) {
    if (!u || !v || index >= positions.size()) return D3DRMERR_BADVALUE;
    const glm::vec2 uv = index < texcoords.size() ? texcoords[index] : glm::vec2(0.0f);
    *u = uv.x;
    *v = uv.y;
    return D3DRM_OK;
}

HRESULT MeshBuilder::CreateMesh(IDirect3DRMMesh** out) {
    if (!out) return D3DRMERR_BADVALUE;
    *out = nullptr;
    Ref<IDirect3DRMMesh> made = Ref<IDirect3DRMMesh>::Adopt(new Mesh());
    Mesh& mesh = *Mesh::From(made.get());

    // One group per (colour, material, texture), in the order the faces first use them.
    using Key = std::tuple<D3DCOLOR, IDirect3DRMMaterial2*, IDirect3DRMTexture3*>;
    std::map<Key, size_t> groupOf;
    // Within a group, corners with the same position and normal share a vertex.
    std::vector<std::unordered_map<std::uint64_t, std::uint32_t>> shared;

    for (const auto& f : faces) {
        const Face& face = *Face::From(f.get());
        const size_t corners = face.vertices.size();
        if (corners < 3) continue;
        const bool indexedNormals = face.normals.size() == corners;
        bool valid = true;
        for (size_t k = 0; k < corners; ++k)
            if (face.vertices[k] >= positions.size() || (indexedNormals && face.normals[k] >= normals.size()))
                valid = false;
        if (!valid) continue;

        const Key key{face.color, face.material.get(), face.texture.get()};
        auto [it, isNew] = groupOf.try_emplace(key, mesh.groups.size());
        if (isNew) {
            MeshGroup group;
            group.color = face.color;
            group.material = face.material;
            group.texture = face.texture;
            group.mapping = perspective ? D3DRMMAP_PERSPCORRECT : 0;
            group.quality = quality;
            mesh.groups.push_back(std::move(group));
            shared.emplace_back();
        }
        MeshGroup& group = mesh.groups[it->second];
        auto& sharedVertices = shared[it->second];

        const glm::vec3 plane =
            PlaneNormal(positions[face.vertices[0]], positions[face.vertices[1]], positions[face.vertices[2]]);
        std::vector<std::uint32_t> vertexOf(corners);
        for (size_t k = 0; k < corners; ++k) {
            const DWORD p = face.vertices[k];
            MeshVertex vertex;
            vertex.position = positions[p];
            vertex.uv = p < texcoords.size() ? texcoords[p] : glm::vec2(0.0f);
            if (indexedNormals) {
                const std::uint64_t corner = (std::uint64_t{p} << 32) | face.normals[k];
                auto [slot, added] = sharedVertices.try_emplace(corner, static_cast<std::uint32_t>(group.vertices.size()));
                if (added) {
                    vertex.normal = normals[face.normals[k]];
                    group.vertices.push_back(vertex);
                }
                vertexOf[k] = slot->second;
            } else {
                vertex.normal = plane;
                vertexOf[k] = static_cast<std::uint32_t>(group.vertices.size());
                group.vertices.push_back(vertex);
            }
        }
        // A fan from the first corner keeps the clockwise order of the polygon.
        for (size_t k = 1; k + 1 < corners; ++k) {
            group.indices.push_back(vertexOf[0]);
            group.indices.push_back(vertexOf[k]);
            group.indices.push_back(vertexOf[k + 1]);
        }
    }
    *out = made.detach();
    return D3DRM_OK;
}

HRESULT MeshBuilder::Clone(IUnknown*, REFIID iid, void** copy) {
    if (!copy) return D3DRMERR_BADVALUE;
    *copy = nullptr;
    Ref<IDirect3DRMMeshBuilder3> made = Ref<IDirect3DRMMeshBuilder3>::Adopt(new MeshBuilder());
    MeshBuilder& clone = *From(made.get());
    clone.Append(*this, glm::mat4(1.0f));
    clone.quality = quality;
    clone.perspective = perspective;
    clone.SetName(Name().c_str());
    clone.SetAppData(GetAppData());
    return made->QueryInterface(iid, copy);
}

HRESULT CreateMeshBuilderObject(IDirect3DRMMeshBuilder3** builder) {
    if (!builder) return D3DRMERR_BADVALUE;
    *builder = new MeshBuilder();
    return D3DRM_OK;
}
