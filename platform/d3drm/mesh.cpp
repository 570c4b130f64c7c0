// Meshes: finished geometry in groups that share colour, material and texture.
// Implements IDirect3DRMMesh: Set/GetGroupMapping, SetGroupColor, SetGroupMaterial,
// SetGroupTexture, GetGroupColor, GetGroupMaterial, GetBox, Scale, Clone.
// Leaves out: adding groups or vertices to a mesh (meshes come from a builder); Clone's
// outer object is ignored.
#include "platform/d3drm/mesh.h"

#include "platform/d3drm/mesh_builder.h"

namespace {

// Runs `change` on one group, or on every group for D3DRMGROUP_ALLGROUPS.
template <class Change>
HRESULT ChangeGroups(Mesh& mesh, D3DRMGROUPINDEX group, Change change) {
    if (group == D3DRMGROUP_ALLGROUPS) {
        for (MeshGroup& g : mesh.groups) change(g);
    } else if (group >= 0 && static_cast<size_t>(group) < mesh.groups.size()) {
        change(mesh.groups[static_cast<size_t>(group)]);
    } else {
        return D3DRMERR_BADVALUE;
    }
    ++mesh.version;
    return D3DRM_OK;
}

}  // namespace

HRESULT Mesh::SetGroupMapping(D3DRMGROUPINDEX group, D3DRMMAPPING mapping) {
    return ChangeGroups(*this, group, [mapping](MeshGroup& g) { g.mapping = mapping; });
}

D3DRMMAPPING Mesh::GetGroupMapping(D3DRMGROUPINDEX group) {
    if (group == D3DRMGROUP_ALLGROUPS) return groups.empty() ? 0 : groups.front().mapping;
    if (group < 0 || static_cast<size_t>(group) >= groups.size()) return 0;
    return groups[static_cast<size_t>(group)].mapping;
}

HRESULT Mesh::SetGroupColor(D3DRMGROUPINDEX group, D3DCOLOR color) {
    return ChangeGroups(*this, group, [color](MeshGroup& g) { g.color = color; });
}

HRESULT Mesh::SetGroupMaterial(D3DRMGROUPINDEX group, IDirect3DRMMaterial2* material) {
    return ChangeGroups(*this, group,
                        [material](MeshGroup& g) { g.material = Ref<IDirect3DRMMaterial2>::Share(material); });
}

HRESULT Mesh::SetGroupTexture(D3DRMGROUPINDEX group, IDirect3DRMTexture3* texture) {
    return ChangeGroups(*this, group,
                        [texture](MeshGroup& g) { g.texture = Ref<IDirect3DRMTexture3>::Share(texture); });
}

HRESULT Mesh::GetBox(D3DRMBOX* box) {
    if (!box) return D3DRMERR_BADVALUE;
    bool any = false;
    glm::vec3 low(0.0f), high(0.0f);
    for (const MeshGroup& g : groups)
        for (const MeshVertex& v : g.vertices) {
            low = any ? glm::min(low, v.position) : v.position;
            high = any ? glm::max(high, v.position) : v.position;
            any = true;
        }
    if (!any) return D3DRMERR_BADVALUE;
    box->min = D3DVECTOR{low.x, low.y, low.z};
    box->max = D3DVECTOR{high.x, high.y, high.z};
    return D3DRM_OK;
}

HRESULT Mesh::Scale(D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) {
    const glm::vec3 scale(sx, sy, sz);
    const glm::mat3 normalTransform = MeshBuilder::NormalTransform(glm::mat4(glm::mat3(sx, 0, 0, 0, sy, 0, 0, 0, sz)));
    for (MeshGroup& g : groups)
        for (MeshVertex& v : g.vertices) {
            v.position *= scale;
            const glm::vec3 n = normalTransform * v.normal;
            if (glm::length(n) > 0.0f) v.normal = glm::normalize(n);
        }
    ++version;
    return D3DRM_OK;
}

HRESULT Mesh::Clone(IUnknown*, REFIID iid, void** copy) {
    if (!copy) return D3DRMERR_BADVALUE;
    *copy = nullptr;
    Ref<IDirect3DRMMesh> made = Ref<IDirect3DRMMesh>::Adopt(new Mesh());
    Mesh& clone = *From(made.get());
    clone.groups = groups;   // the vertices are copied; materials and textures are shared
    clone.SetName(Name().c_str());
    clone.SetAppData(GetAppData());
    return made->QueryInterface(iid, copy);
}

void* Mesh::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMMesh || iid == IID_IDirect3DRMVisual) return static_cast<IDirect3DRMMesh*>(this);
    return Object::Query(iid);
}

D3DCOLOR Mesh::GetGroupColor(D3DRMGROUPINDEX group) {
    if (group < 0 || static_cast<size_t>(group) >= groups.size()) return 0;
    return groups[static_cast<size_t>(group)].color;
}

HRESULT Mesh::GetGroupMaterial(D3DRMGROUPINDEX group, IDirect3DRMMaterial2** material) {
    if (!material) return D3DRMERR_BADVALUE;
    *material = nullptr;
    if (group < 0 || static_cast<size_t>(group) >= groups.size()) return D3DRMERR_BADVALUE;
    *material = groups[static_cast<size_t>(group)].material.get();
    if (*material) (*material)->AddRef();
    return D3DRM_OK;
}
