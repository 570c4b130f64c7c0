// Texture wraps: texture coordinates for every vertex of a mesh builder or mesh, computed
// from the vertex's place in the wrap's own coordinate system.
// Implements: IDirect3DRM3::CreateWrap's object and IDirect3DRMWrap::Apply (on mesh builders
// and meshes), for flat, cylinder, sphere and chrome wraps.
//
// The wrap's axes: z along the direction vector d, y along the up vector u made
// perpendicular to d, x = y × z (left-handed, as a frame's axes), with its origin at o. A
// vertex p has wrap coordinates p' = (x', y', z') relative to o along those axes. Each kind
// gives a pair (u0, v0):
//   flat      u0 = x',  v0 = y'                      (a projection along z)
//   cylinder  u0 = θ/2π, v0 = z'                     (the cylinder's axis is z)
//   sphere    u0 = θ/2π, v0 = φ/π                    (the sphere's poles lie on z)
//   chrome    u0 = (1 + n'x)/2, v0 = (1 − n'y)/2     (n' the unit vertex normal)
// where θ = atan2(x', y') taken in [0, 2π) is the angle about z measured from the up vector
// (u0 = 0 where the up vector points, 0.25 towards +x'), and φ = angle between p' and +z.
// Chrome is the sphere map of a viewer looking along the wrap's z: the normal facing that
// viewer gives the picture's centre, one turned towards +y' its top edge. Then origin and
// scale apply:  u = su·u0 − ou,  v = sv·v0 − ov.
//
// A wrap with a reference frame takes o, d and u in that frame's coordinates; Apply has no
// frame for the object, so its vertices are then taken as world coordinates (an object
// placed at the scene's root). Without a reference frame everything is in the object's own
// coordinates.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/d3drm/factories.h"
#include "platform/d3drm/frame.h"
#include "platform/d3drm/mesh.h"
#include "platform/d3drm/mesh_builder.h"

namespace {

class Wrap final : public Object<IDirect3DRMWrap> {
public:
    Wrap(D3DRMWRAPTYPE type, IDirect3DRMFrame3* reference, const glm::mat4& basis, float ou, float ov, float su, float sv)
        : type_(type),
          reference_(Ref<IDirect3DRMFrame3>::Share(reference)),
          basis_(basis),
          ou_(ou),
          ov_(ov),
          su_(su),
          sv_(sv) {}

    HRESULT Apply(IDirect3DRMObject* object) override;

protected:
    void* Query(REFIID iid) override {
        if (iid == IID_IDirect3DRMWrap) return static_cast<IDirect3DRMWrap*>(this);
        return Object::Query(iid);
    }

private:
    // Object (or world) coordinates -> wrap coordinates, as things stand now.
    glm::mat4 ToWrap() const {
        glm::mat4 toReference(1.0f);
        if (reference_) toReference = glm::inverse(Frame::From(reference_.get())->WorldTransform());
        return glm::inverse(basis_) * toReference;
    }
    glm::vec2 Map(const glm::mat4& toWrap, const glm::mat3& normalToWrap, const glm::vec3& position,
                  const glm::vec3& normal) const;

    D3DRMWRAPTYPE type_;
    Ref<IDirect3DRMFrame3> reference_;
    glm::mat4 basis_;   // wrap coordinates -> reference (or object) coordinates
    float ou_, ov_, su_, sv_;
};

glm::vec2 Wrap::Map(const glm::mat4& toWrap, const glm::mat3& normalToWrap, const glm::vec3& position,
                    const glm::vec3& normal) const {
    constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
    const glm::vec3 p(toWrap * glm::vec4(position, 1.0f));
    float u0 = 0.0f, v0 = 0.0f;
    auto around = [&] {
        float theta = std::atan2(p.x, p.y);
        if (theta < 0.0f) theta += kTwoPi;
        return theta / kTwoPi;
    };
    switch (type_) {
    case D3DRMWRAP_FLAT:
        u0 = p.x;
        v0 = p.y;
        break;
    case D3DRMWRAP_CYLINDER:
        u0 = around();
        v0 = p.z;
        break;
    case D3DRMWRAP_SPHERE: {
        u0 = around();
        const float r = glm::length(p);
        v0 = r > 0.0f ? std::acos(std::clamp(p.z / r, -1.0f, 1.0f)) / std::numbers::pi_v<float> : 0.0f;
        break;
    }
    default: {   // D3DRMWRAP_CHROME
        glm::vec3 n = normalToWrap * normal;
        const float length = glm::length(n);
        n = length > 0.0f ? n / length : glm::vec3(0.0f);
        u0 = 0.5f + 0.5f * n.x;
        v0 = 0.5f - 0.5f * n.y;
        break;
    }
    }
    return glm::vec2(su_ * u0 - ou_, sv_ * v0 - ov_);
}

// The normal at each position of a builder: the mean of the normals its face corners name
// (a corner without one uses its face's plane).
std::vector<glm::vec3> VertexNormals(const MeshBuilder& builder) {
    std::vector<glm::vec3> sum(builder.positions.size(), glm::vec3(0.0f));
    for (const auto& faceRef : builder.faces) {
        const Face* face = Face::From(faceRef.get());
        glm::vec3 plane(0.0f);
        if (face->vertices.size() >= 3 && face->vertices[0] < builder.positions.size() &&
            face->vertices[1] < builder.positions.size() && face->vertices[2] < builder.positions.size()) {
            const glm::vec3& a = builder.positions[face->vertices[0]];
            plane = glm::cross(builder.positions[face->vertices[1]] - a, builder.positions[face->vertices[2]] - a);
            if (glm::length(plane) > 0.0f) plane = glm::normalize(plane);
        }
        for (std::size_t corner = 0; corner < face->vertices.size(); ++corner) {
            const DWORD vertex = face->vertices[corner];
            if (vertex >= sum.size()) continue;
            const bool named = corner < face->normals.size() && face->normals[corner] < builder.normals.size();
            sum[vertex] += named ? builder.normals[face->normals[corner]] : plane;
        }
    }
    return sum;   // Map normalises
}

HRESULT Wrap::Apply(IDirect3DRMObject* object) {
    if (!object) return D3DRMERR_BADOBJECT;
    const glm::mat4 toWrap = ToWrap();
    const glm::mat3 normalToWrap = glm::transpose(glm::inverse(glm::mat3(toWrap)));

    Ref<IDirect3DRMMeshBuilder3> builderRef;
    if (object->QueryInterface(IID_IDirect3DRMMeshBuilder3, reinterpret_cast<void**>(builderRef.put())) == S_OK) {
        MeshBuilder& builder = *MeshBuilder::From(builderRef.get());
        std::vector<glm::vec3> normals;
        if (type_ == D3DRMWRAP_CHROME) normals = VertexNormals(builder);
        builder.texcoords.resize(builder.positions.size(), glm::vec2(0.0f));
        for (std::size_t i = 0; i < builder.positions.size(); ++i)
            builder.texcoords[i] =
                Map(toWrap, normalToWrap, builder.positions[i], normals.empty() ? glm::vec3(0.0f) : normals[i]);
        ++builder.version;
        return D3DRM_OK;
    }

    Ref<IDirect3DRMMesh> meshRef;
    if (object->QueryInterface(IID_IDirect3DRMMesh, reinterpret_cast<void**>(meshRef.put())) == S_OK) {
        Mesh& mesh = *Mesh::From(meshRef.get());
        for (MeshGroup& group : mesh.groups)
            for (MeshVertex& vertex : group.vertices)
                vertex.uv = Map(toWrap, normalToWrap, vertex.position, vertex.normal);
        ++mesh.version;
        return D3DRM_OK;
    }
    return D3DRMERR_BADOBJECT;
}

}  // namespace

HRESULT CreateWrapObject(D3DRMWRAPTYPE type, IDirect3DRMFrame3* reference, D3DVECTOR origin, D3DVECTOR dir, D3DVECTOR up,
                         D3DVALUE ou, D3DVALUE ov, D3DVALUE su, D3DVALUE sv, IDirect3DRMWrap** wrap) {
    if (!wrap) return D3DRMERR_BADVALUE;
    *wrap = nullptr;
    if (type > D3DRMWRAP_CHROME) return D3DRMERR_BADVALUE;
    const glm::vec3 d(dir.x, dir.y, dir.z);
    const glm::vec3 u(up.x, up.y, up.z);
    if (!(glm::length(d) > 0.0f)) return D3DRMERR_BADVALUE;
    const glm::vec3 z = glm::normalize(d);
    const glm::vec3 yRaw = u - glm::dot(u, z) * z;
    if (!(glm::length(yRaw) > 1e-6f * std::max(glm::length(u), 1.0f))) return D3DRMERR_BADVALUE;   // up along dir
    const glm::vec3 y = glm::normalize(yRaw);
    const glm::vec3 x = glm::cross(y, z);
    const glm::mat4 basis(glm::vec4(x, 0.0f), glm::vec4(y, 0.0f), glm::vec4(z, 0.0f),
                          glm::vec4(origin.x, origin.y, origin.z, 1.0f));
    *wrap = new Wrap(type, reference, basis, ou, ov, su, sv);
    return D3DRM_OK;
}
