// FIXME: stub, to be written.
#include "platform/d3drm/texture.h"

#include "platform/d3drm/factories.h"

HRESULT Texture::SetDecalOrigin(LONG, LONG) { return D3DRMERR_NOTDONEYET; }
HRESULT Texture::GetDecalOrigin(LONG*, LONG*) { return D3DRMERR_NOTDONEYET; }
HRESULT Texture::SetDecalScale(DWORD) { return D3DRMERR_NOTDONEYET; }
HRESULT Texture::SetDecalSize(D3DVALUE, D3DVALUE) { return D3DRMERR_NOTDONEYET; }
HRESULT Texture::GetDecalSize(D3DVALUE*, D3DVALUE*) { return D3DRMERR_NOTDONEYET; }
HRESULT Texture::SetDecalTransparency(BOOL) { return D3DRMERR_NOTDONEYET; }
HRESULT Texture::SetDecalTransparentColor(D3DCOLOR) { return D3DRMERR_NOTDONEYET; }
D3DCOLOR Texture::Texel(int, int) const { return 0; }
void* Texture::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMTexture3 || iid == IID_IDirect3DRMVisual) return static_cast<IDirect3DRMTexture3*>(this);
    return Object::Query(iid);
}
HRESULT LoadTextureFile(const char*, IDirect3DRMTexture3** texture) { if (texture) *texture = nullptr; return D3DRMERR_NOTDONEYET; }
