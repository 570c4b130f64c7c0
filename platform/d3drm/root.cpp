// The engine's root object, through which every other object is made.
#include <string>
#include <vector>

#include "platform/d3drm/clipper.h"
#include "platform/d3drm/device.h"
#include "platform/d3drm/frame.h"
#include "platform/d3drm/object.h"
#include "platform/d3drm/viewport.h"

namespace {

class Root final : public RefCounted<IDirect3DRM3> {
public:
    HRESULT CreateFrame(IDirect3DRMFrame3* parent, IDirect3DRMFrame3** frame) override {
        if (!frame) return D3DRMERR_BADVALUE;
        Ref<IDirect3DRMFrame3> made = Ref<IDirect3DRMFrame3>::Adopt(new Frame());
        if (parent) parent->AddChild(made.get());
        *frame = made.detach();
        return D3DRM_OK;
    }

    HRESULT CreateDeviceFromClipper(IDirectDrawClipper* clipper, const GUID*, int width, int height,
                                    IDirect3DRMDevice3** device) override {
        if (!device) return D3DRMERR_BADVALUE;
        *device = nullptr;
        HWND hwnd = nullptr;
        if (!clipper || clipper->GetHWnd(&hwnd) != DD_OK || !IsWindow(hwnd)) return D3DRMERR_BADOBJECT;
        Device* made = Device::Create(hwnd, width, height);
        if (!made) return D3DRMERR_BADDEVICE;
        *device = made;
        return D3DRM_OK;
    }

    HRESULT CreateViewport(IDirect3DRMDevice3* device, IDirect3DRMFrame3* camera, DWORD x, DWORD y, DWORD width,
                           DWORD height, IDirect3DRMViewport2** viewport) override {
        if (!viewport) return D3DRMERR_BADVALUE;
        *viewport = nullptr;
        if (!device || !camera) return D3DRMERR_BADOBJECT;
        if (width == 0 || height == 0 || x + width > device->GetWidth() || y + height > device->GetHeight())
            return D3DRMERR_BADVALUE;
        *viewport = new Viewport(device, camera, x, y, width, height);
        return D3DRM_OK;
    }

    HRESULT AddSearchPath(LPCSTR path) override {
        if (!path) return D3DRMERR_BADVALUE;
        searchPath_.emplace_back(path);
        return D3DRM_OK;
    }

    HRESULT SetSearchPath(LPCSTR path) override {
        searchPath_.clear();
        return path && *path ? AddSearchPath(path) : D3DRM_OK;
    }

protected:
    void* Query(REFIID iid) override {
        if (iid == IID_IDirect3DRM3 || iid == IID_IDirect3DRM) return static_cast<IDirect3DRM3*>(this);
        return RefCounted::Query(iid);
    }

private:
    std::vector<std::string> searchPath_;
};

}  // namespace

HRESULT Direct3DRMCreate(IDirect3DRM** root) {
    if (!root) return D3DRMERR_BADVALUE;
    *root = new Root();
    return D3DRM_OK;
}
