// The device: IDirect3DRMDevice3's Update, SetQuality, SetDither, SetShades,
// SetTextureQuality, and IDirect3DRMWinDevice's HandlePaint (shows the last frame again).
// HandleActivate does nothing.
// Leaves out: shades that are not a power of two and texture qualities past
// D3DRMTEXTURE_LINEAR give D3DRMERR_BADVALUE (no mipmapping).
#include "platform/d3drm/device.h"

#include <epoxy/gl.h>

#include <cstdio>

#include "platform/d3drm/d3drm_test.h"
#include "platform/win32/win32_gl.h"

namespace {

// The window-message side of a device, handed out by QueryInterface; it keeps the device
// alive while it is held.
class WinDevice final : public Object<IDirect3DRMWinDevice> {
public:
    explicit WinDevice(Device* device) : device_(Ref<IDirect3DRMDevice3>::Share(device)) {}
    HRESULT HandlePaint(HDC) override { return Device::From(device_.get())->Repaint(); }
    HRESULT HandleActivate(WORD) override { return D3DRM_OK; }

protected:
    void* Query(REFIID iid) override {
        if (iid == IID_IDirect3DRMWinDevice) return static_cast<IDirect3DRMWinDevice*>(this);
        return Object::Query(iid);
    }

private:
    Ref<IDirect3DRMDevice3> device_;
};

}  // namespace

Device* Device::Create(HWND hwnd, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    Device* device = new Device(hwnd, width, height);
    if (win32gl::Headless()) return device;
    if (!win32gl::MakeCurrent(hwnd)) {
        std::fprintf(stderr, "d3drm: the window has no OpenGL context\n");
        device->Release();
        return nullptr;
    }
    const int version = epoxy_gl_version();
    if (version < 33) {
        const char* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        std::fprintf(stderr, "d3drm: OpenGL 3.3 is needed, the window's context is OpenGL %d.%d (%s)\n", version / 10,
                     version % 10, text ? text : "unknown");
        device->Release();
        return nullptr;
    }
    device->target_ = std::make_unique<RenderTarget>(width, height);
    if (!device->target_->Valid()) {
        std::fprintf(stderr, "d3drm: the driver refused a %d x %d frame texture\n", width, height);
        device->Release();
        return nullptr;
    }
    device->renderer_ = std::make_unique<Renderer>();
    device->keepEachFrame_ = !RenderTarget::PreservesBackBuffer();
    if (!device->renderer_->Valid()) {
        device->Release();
        return nullptr;
    }
    return device;
}

Device::~Device() {
    // Without the window's context the GL names died with it.
    if (target_ && !win32gl::MakeCurrent(hwnd_)) {
        target_->Abandon();
        renderer_->Abandon();
    }
}

HRESULT Device::Render(Viewport& viewport, Frame& scene) {
    if (!BeginDrawing()) return D3DRM_OK;   // the null renderer draws nothing
    renderer_->Draw(viewport, scene, quality_, dither_, textureQuality_);
    return D3DRM_OK;
}

void* Device::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMDevice3) return static_cast<IDirect3DRMDevice3*>(this);
    return Object::Query(iid);
}

HRESULT Device::QueryInterface(REFIID iid, void** out) {
    if (out && iid == IID_IDirect3DRMWinDevice) {
        // A tear-off born with the caller's reference.
        *out = static_cast<IDirect3DRMWinDevice*>(new WinDevice(this));
        return S_OK;
    }
    return Object::QueryInterface(iid, out);
}

bool Device::BeginDrawing() {
    if (!target_ || !win32gl::MakeCurrent(hwnd_)) return false;
    target_->Bind(win32gl::ClientImageBottom(hwnd_, height_));
    drawing_ = true;
    return true;
}

HRESULT Device::Update() {
    if (!target_) {
        win32gl::PresentClientImage(hwnd_, 0, width_, height_);
        return D3DRM_OK;
    }
    if (!win32gl::MakeCurrent(hwnd_)) return D3DRMERR_BADDEVICE;
    // A frame drawn in place is shown as it is; without one since the last present the back
    // buffer holds nothing, and the window shows the kept frame instead.
    using win32gl::ClientImage;
    const bool drawn = drawing_;
    drawing_ = false;
    if (drawn && keepEachFrame_) target_->Keep();
    const ClientImage image = !drawn ? ClientImage::Texture : keepEachFrame_ ? ClientImage::InPlace : ClientImage::InPlaceOnly;
    win32gl::PresentClientImage(hwnd_, target_->KeptTexture(), width_, height_, image);
    return D3DRM_OK;
}

HRESULT Device::Repaint() {
    if (target_) win32gl::Repaint(hwnd_);
    return D3DRM_OK;
}

HRESULT Device::SetQuality(D3DRMRENDERQUALITY quality) {
    if ((quality & D3DRMSHADE_MASK) > D3DRMSHADE_PHONG || (quality & D3DRMFILL_MASK) > D3DRMFILL_SOLID)
        return D3DRMERR_BADVALUE;
    quality_ = quality;
    return D3DRM_OK;
}

HRESULT Device::SetDither(BOOL dither) {
    dither_ = dither ? TRUE : FALSE;
    return D3DRM_OK;
}

HRESULT Device::SetShades(DWORD shades) {
    // A power of two, as the engine's colour ramps need.
    if (shades == 0 || (shades & (shades - 1)) != 0) return D3DRMERR_BADVALUE;
    shades_ = shades;
    return D3DRM_OK;
}

HRESULT Device::SetTextureQuality(D3DRMTEXTUREQUALITY quality) {
    if (quality > D3DRMTEXTURE_LINEAR) return D3DRMERR_BADVALUE;
    textureQuality_ = quality;
    return D3DRM_OK;
}

D3DCOLOR Device::ReadPixel(int x, int y) {
    if (!target_ || !win32gl::MakeCurrent(hwnd_)) return 0;
    // The frame being drawn is in the back buffer, and so is the presented one where the
    // swap keeps it; elsewhere the presented one is in the kept frame.
    unsigned char rgba[4] = {};
    if (drawing_ || !keepEachFrame_) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glReadPixels(x, GlRow(y, 1), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    } else {
        target_->ReadKept(x, height_ - 1 - y, rgba);   // the kept frame's rows run from the bottom
    }
    return (static_cast<D3DCOLOR>(rgba[0]) << 16) | (static_cast<D3DCOLOR>(rgba[1]) << 8) | rgba[2];
}

D3DCOLOR d3drmtest::ReadPixel(IDirect3DRMDevice3* device, int x, int y) { return Device::From(device)->ReadPixel(x, y); }
