// FIXME: stub, to be written.
#include "platform/d3drm/factories.h"

HRESULT CreateAnimationSetObject(IDirect3DRMAnimationSet2** set) { if (set) *set = nullptr; return D3DRMERR_NOTDONEYET; }
