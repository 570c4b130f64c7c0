// FIXME: stub, to be written.
#include "platform/d3drm/factories.h"

HRESULT CreateWrapObject(D3DRMWRAPTYPE, IDirect3DRMFrame3*, D3DVECTOR, D3DVECTOR, D3DVECTOR, D3DVALUE, D3DVALUE, D3DVALUE, D3DVALUE, IDirect3DRMWrap** wrap) { if (wrap) *wrap = nullptr; return D3DRMERR_NOTDONEYET; }
