// FIXME: stub, to be written.
#include "platform/d3drm/factories.h"

HRESULT LoadXFile(const char*, D3DRMLOADCALLBACK, void*, D3DRMLOADTEXTURE3CALLBACK, void*, IDirect3DRMFrame3*) { return D3DRMERR_NOTDONEYET; }
HRESULT LoadXFileIntoBuilder(MeshBuilder*, const char*, D3DRMLOADTEXTURE3CALLBACK, void*) { return D3DRMERR_NOTDONEYET; }
