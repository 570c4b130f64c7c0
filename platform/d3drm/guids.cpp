// Interface identifiers. Only their distinctness matters inside this process.
// Implements: the IID_ constants of the engine's interfaces.
#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/direct3d.h"

static constexpr GUID MakeIid(DWORD n) { return GUID{0x5a1d0000u + n, 0x7d3d, 0x11d1, {0x8f, 0x2a, 0, 0, 0, 0, 0, 0}}; }

const IID IID_IUnknown = GUID{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IDirect3DRM = MakeIid(1);
const IID IID_IDirect3DRM3 = MakeIid(2);
const IID IID_IDirect3DRMObject = MakeIid(3);
const IID IID_IDirect3DRMVisual = MakeIid(4);
const IID IID_IDirect3DRMFrame3 = MakeIid(5);
const IID IID_IDirect3DRMDevice3 = MakeIid(6);
const IID IID_IDirect3DRMWinDevice = MakeIid(7);
const IID IID_IDirect3DRMViewport2 = MakeIid(8);
const IID IID_IDirectDrawClipper = MakeIid(100);
const IID IID_IDirect3DRMMeshBuilder3 = MakeIid(9);
const IID IID_IDirect3DRMMesh = MakeIid(10);
const IID IID_IDirect3DRMFace2 = MakeIid(11);
const IID IID_IDirect3DRMLight = MakeIid(12);
const IID IID_IDirect3DRMMaterial2 = MakeIid(13);
const IID IID_IDirect3DRMTexture3 = MakeIid(14);
const IID IID_IDirect3DRMWrap = MakeIid(15);
const IID IID_IDirect3DRMAnimation2 = MakeIid(16);
const IID IID_IDirect3DRMAnimationSet2 = MakeIid(17);
const IID IID_IDirect3D = MakeIid(101);
const IID IID_IDirectDraw = MakeIid(102);
