// Internal to platform/d3drm: a finished mesh, its triangles in groups that share colour,
// material and texture — the form the renderer draws.
#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

#include "platform/d3drm/object.h"

struct MeshVertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec2 uv{0.0f};
};

struct MeshGroup {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;   // triangles, clockwise seen from the front
    D3DCOLOR color = 0xFFFFFFFF;
    Ref<IDirect3DRMMaterial2> material;
    Ref<IDirect3DRMTexture3> texture;
    D3DRMMAPPING mapping = 0;
    D3DRMRENDERQUALITY quality = D3DRMRENDER_GOURAUD;
};

class Mesh final : public Object<IDirect3DRMMesh> {
public:
    HRESULT SetGroupMapping(D3DRMGROUPINDEX group, D3DRMMAPPING mapping) override;
    D3DRMMAPPING GetGroupMapping(D3DRMGROUPINDEX group) override;
    HRESULT SetGroupColor(D3DRMGROUPINDEX group, D3DCOLOR color) override;
    HRESULT SetGroupMaterial(D3DRMGROUPINDEX group, IDirect3DRMMaterial2* material) override;
    HRESULT SetGroupTexture(D3DRMGROUPINDEX group, IDirect3DRMTexture3* texture) override;
    D3DCOLOR GetGroupColor(D3DRMGROUPINDEX group) override;
    HRESULT GetGroupMaterial(D3DRMGROUPINDEX group, IDirect3DRMMaterial2** material) override;
    DWORD GetGroupCount() override { return static_cast<DWORD>(groups.size()); }
    HRESULT GetBox(D3DRMBOX* box) override;
    HRESULT Scale(D3DVALUE sx, D3DVALUE sy, D3DVALUE sz) override;
    HRESULT Clone(IUnknown* outer, REFIID iid, void** copy) override;

    static Mesh* From(IDirect3DRMMesh* m) { return static_cast<Mesh*>(m); }

    std::vector<MeshGroup> groups;
    unsigned version = 0;   // changes whenever the renderer must upload it again

protected:
    void* Query(REFIID iid) override;
};
