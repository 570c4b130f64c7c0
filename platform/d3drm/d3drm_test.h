// Test hooks of the engine. Set by a test's set-up, never by the program.
#pragma once

#include <string>
#include <vector>

#include "platform/d3drm/direct3d.h"

namespace d3drmtest {

// A device the enumeration reports in place of the real renderer.
struct FakeDevice {
    std::string name;
    bool hardware = false;               // described through its hardware description
    D3DCOLORMODEL colorModel = D3DCOLOR_RGB;
    DWORD renderDepths = DDBD_16 | DDBD_24 | DDBD_32;
};

void SetFakeDevices(std::vector<FakeDevice> devices);

}  // namespace d3drmtest
