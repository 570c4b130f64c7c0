// FIXME: stub, to be written.
#include "platform/d3drm/frame.h"

HRESULT Frame::RayPick(IDirect3DRMFrame3*, const D3DRMRAY*, DWORD, IDirect3DRMPicked2Array** picks) { if (picks) *picks = nullptr; return D3DRMERR_NOTDONEYET; }
