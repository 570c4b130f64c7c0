// Driver enumeration. The one real device is the main window's OpenGL renderer: a
// hardware device when GL_RENDERER names a GPU, a software one for Mesa's llvmpipe and
// softpipe (and for the null renderer without a window system). A context older than
// OpenGL 3.3 gives a device that renders at no depth, its description saying why.
// Implements: DirectDrawCreate and IDirect3D::EnumDevices.
// Leaves out: DirectDrawCreate's driver GUID is ignored (one display); modes and surfaces.
#include "platform/d3drm/direct3d.h"

#include <epoxy/gl.h>

#include <cstring>
#include <optional>
#include <string>

#include "platform/d3drm/d3drm_test.h"
#include "platform/d3drm/object.h"
#include "platform/win32/win32_gl.h"

namespace {

std::optional<std::vector<d3drmtest::FakeDevice>>& FakeDevices() {
    static std::optional<std::vector<d3drmtest::FakeDevice>> devices;
    return devices;
}

// The devices to report: the fakes a test installed, or the real renderer.
std::vector<d3drmtest::FakeDevice> Devices() {
    if (FakeDevices()) return *FakeDevices();
    d3drmtest::FakeDevice device;
    device.name = "Null renderer";
    if (!win32gl::Headless() && win32gl::MakeCurrent(win32gl::MainWindow())) {
        const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        device.name = renderer ? renderer : "OpenGL";
        const bool software = std::strstr(device.name.c_str(), "llvmpipe") || std::strstr(device.name.c_str(), "softpipe") ||
                              std::strstr(device.name.c_str(), "Software Rasterizer");
        device.hardware = !software;
        // The renderer needs OpenGL 3.3; an older context renders at no depth and says why.
        const int version = epoxy_gl_version();
        if (version < 33) {
            const char* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
            device.renderDepths = 0;
            device.unusable = "OpenGL 3.3 is needed; this display offers OpenGL " + std::to_string(version / 10) + "." +
                              std::to_string(version % 10) + " (" + (text ? text : "unknown") + ", " + device.name + ").";
        }
    }
    return {device};
}

class Direct3D final : public RefCounted<IDirect3D> {
public:
    HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK callback, void* context) override {
        if (!callback) return E_INVALIDARG;
        DWORD index = 0;
        for (const d3drmtest::FakeDevice& d : Devices()) {
            GUID guid{0x6f70656e, 0x676c, 0x0000, {0, 0, 0, 0, 0, 0, 0, static_cast<BYTE>(index++)}};
            D3DDEVICEDESC hardware, software;
            D3DDEVICEDESC& described = d.hardware ? hardware : software;
            described.dcmColorModel = d.colorModel;
            described.dwDeviceRenderBitDepth = d.renderDepths;
            std::string description = !d.unusable.empty() ? d.unusable
                                      : d.hardware         ? "OpenGL hardware renderer"
                                                           : "OpenGL software renderer";
            std::string name = d.name;
            if (callback(&guid, description.data(), name.data(), &hardware, &software, context) != D3DENUMRET_OK) break;
        }
        return S_OK;
    }

protected:
    void* Query(REFIID iid) override {
        if (iid == IID_IDirect3D) return static_cast<IDirect3D*>(this);
        return RefCounted::Query(iid);
    }
};

class DirectDraw final : public RefCounted<IDirectDraw> {
protected:
    void* Query(REFIID iid) override {
        if (iid == IID_IDirectDraw) return static_cast<IDirectDraw*>(this);
        return RefCounted::Query(iid);
    }

public:
    HRESULT QueryInterface(REFIID iid, void** out) override {
        if (out && iid == IID_IDirect3D) {
            *out = static_cast<IDirect3D*>(new Direct3D());
            return S_OK;
        }
        return RefCounted::QueryInterface(iid, out);
    }
};

}  // namespace

HRESULT DirectDrawCreate(GUID*, IDirectDraw** directDraw, IUnknown* outer) {
    if (!directDraw || outer) return E_INVALIDARG;
    *directDraw = new DirectDraw();
    return S_OK;
}

void d3drmtest::SetFakeDevices(std::vector<FakeDevice> devices) { FakeDevices() = std::move(devices); }
