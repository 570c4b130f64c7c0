// FIXME: stub, to be written.
#include "platform/d3drm/factories.h"

HRESULT CreateAnimationObject(IDirect3DRMAnimation2** animation) { if (animation) *animation = nullptr; return D3DRMERR_NOTDONEYET; }
