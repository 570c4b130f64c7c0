// FIXME: stub, to be written.
#include "platform/d3drm/mesh.h"

HRESULT Mesh::SetGroupMapping(D3DRMGROUPINDEX, D3DRMMAPPING) { return D3DRMERR_NOTDONEYET; }
D3DRMMAPPING Mesh::GetGroupMapping(D3DRMGROUPINDEX) { return 0; }
HRESULT Mesh::SetGroupColor(D3DRMGROUPINDEX, D3DCOLOR) { return D3DRMERR_NOTDONEYET; }
HRESULT Mesh::SetGroupMaterial(D3DRMGROUPINDEX, IDirect3DRMMaterial2*) { return D3DRMERR_NOTDONEYET; }
HRESULT Mesh::SetGroupTexture(D3DRMGROUPINDEX, IDirect3DRMTexture3*) { return D3DRMERR_NOTDONEYET; }
HRESULT Mesh::GetBox(D3DRMBOX*) { return D3DRMERR_NOTDONEYET; }
HRESULT Mesh::Scale(D3DVALUE, D3DVALUE, D3DVALUE) { return D3DRMERR_NOTDONEYET; }
HRESULT Mesh::Clone(IUnknown*, REFIID, void**) { return D3DRMERR_NOTDONEYET; }
void* Mesh::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMMesh || iid == IID_IDirect3DRMVisual) return static_cast<IDirect3DRMMesh*>(this);
    return Object::Query(iid);
}
