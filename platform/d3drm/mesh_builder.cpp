// FIXME: stub, to be written.
#include "platform/d3drm/mesh_builder.h"

#include "platform/d3drm/factories.h"

HRESULT Face::SetColor(D3DCOLOR value) { color = value; return D3DRM_OK; }
HRESULT Face::SetColorRGB(D3DVALUE r, D3DVALUE g, D3DVALUE b) { return SetColor(D3DRMCreateColorRGB(r, g, b)); }
HRESULT Face::GetMaterial(IDirect3DRMMaterial2**) { return D3DRMERR_NOTDONEYET; }
HRESULT Face::GetTexture(IDirect3DRMTexture3**) { return D3DRMERR_NOTDONEYET; }
HRESULT Face::GetNormal(D3DVECTOR*) { return D3DRMERR_NOTDONEYET; }
void* Face::Query(REFIID iid) { return iid == IID_IDirect3DRMFace2 ? static_cast<IDirect3DRMFace2*>(this) : Object::Query(iid); }

HRESULT MeshBuilder::Load(const void*, const void*, D3DRMLOADOPTIONS, D3DRMLOADTEXTURE3CALLBACK, void*) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::Scale(D3DVALUE, D3DVALUE, D3DVALUE) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::Translate(D3DVALUE, D3DVALUE, D3DVALUE) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::GetBox(D3DRMBOX*) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::SetColorRGB(D3DVALUE, D3DVALUE, D3DVALUE) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::SetColor(D3DCOLOR) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::SetMaterial(IDirect3DRMMaterial2*) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::SetTexture(IDirect3DRMTexture3*) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::SetQuality(D3DRMRENDERQUALITY) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::SetPerspective(BOOL) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::AddFaces(DWORD, const D3DVECTOR*, DWORD, const D3DVECTOR*, const DWORD*, IDirect3DRMFaceArray**) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::AddFrame(IDirect3DRMFrame3*) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::AddMeshBuilder(IDirect3DRMMeshBuilder3*, DWORD) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::GetFaces(IDirect3DRMFaceArray**) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::GetVertex(DWORD, D3DVECTOR*, D3DVECTOR*) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::SetTextureCoordinates(DWORD, D3DVALUE, D3DVALUE) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::GetTextureCoordinates(DWORD, D3DVALUE*, D3DVALUE*) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::CreateMesh(IDirect3DRMMesh**) { return D3DRMERR_NOTDONEYET; }
HRESULT MeshBuilder::Clone(IUnknown*, REFIID, void**) { return D3DRMERR_NOTDONEYET; }
void MeshBuilder::Append(const MeshBuilder&, const glm::mat4&) {}
Face* MeshBuilder::NewFace(std::vector<DWORD>, std::vector<DWORD>) { return nullptr; }
void* MeshBuilder::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMMeshBuilder3 || iid == IID_IDirect3DRMVisual) return static_cast<IDirect3DRMMeshBuilder3*>(this);
    return Object::Query(iid);
}
HRESULT CreateMeshBuilderObject(IDirect3DRMMeshBuilder3** builder) {
    if (!builder) return D3DRMERR_BADVALUE;
    *builder = new MeshBuilder();
    return D3DRM_OK;
}
