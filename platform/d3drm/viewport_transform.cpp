// FIXME: stub, to be written.
#include "platform/d3drm/viewport.h"

HRESULT Viewport::Transform(D3DRMVECTOR4D*, const D3DVECTOR*) { return D3DRMERR_NOTDONEYET; }
HRESULT Viewport::InverseTransform(D3DVECTOR*, const D3DRMVECTOR4D*) { return D3DRMERR_NOTDONEYET; }
