// Test hooks of the engine. Set by a test's set-up, never by the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3drm/d3drm.h"

namespace d3drmtest {

// A root of the version the program uses, made as the program makes it: Direct3DRMCreate,
// then the version-3 interface. Null when either step fails.
Ref<IDirect3DRM3> CreateRoot();

// A device the enumeration reports in place of the real renderer.
struct FakeDevice {
    std::string name;
    bool hardware = false;               // described through its hardware description
    D3DCOLORMODEL colorModel = D3DCOLOR_RGB;
    DWORD renderDepths = DDBD_16 | DDBD_24 | DDBD_32;
    std::string unusable;                // why it renders at no depth; reported as its description
};

void SetFakeDevices(std::vector<FakeDevice> devices);

// The colour the device rendered at (x, y) from its top left, as 0x00RRGGBB; 0 without GL.
D3DCOLOR ReadPixel(IDirect3DRMDevice3* device, int x, int y);

}  // namespace d3drmtest
