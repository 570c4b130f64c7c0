// Internal to platform/d3drm: the rendering device on a window. With a window system it
// renders into the window's client area (RenderTarget), keeps each presented frame for the
// window to show again, and presents; without one it is a null renderer whose frames the
// window layer only counts.
#pragma once

#include <memory>

#include "platform/d3drm/object.h"
#include "platform/d3drm/render_target.h"
#include "platform/d3drm/renderer.h"

class Frame;
class Viewport;

class Device final : public Object<IDirect3DRMDevice3> {
public:
    // Makes a device of width x height on the window; nullptr with a reason on stderr when
    // the window's GL context cannot carry the renderer.
    static Device* Create(HWND hwnd, int width, int height);

    HRESULT QueryInterface(REFIID iid, void** out) override;   // also IID_IDirect3DRMWinDevice

    // IDirect3DRMDevice3 (contracts in d3drm.h)
    HRESULT Update() override;
    DWORD GetWidth() override { return static_cast<DWORD>(width_); }
    DWORD GetHeight() override { return static_cast<DWORD>(height_); }
    HRESULT SetQuality(D3DRMRENDERQUALITY quality) override;
    D3DRMRENDERQUALITY GetQuality() override { return quality_; }
    HRESULT SetDither(BOOL dither) override;
    BOOL GetDither() override { return dither_; }
    HRESULT SetShades(DWORD shades) override;
    DWORD GetShades() override { return shades_; }
    HRESULT SetTextureQuality(D3DRMTEXTUREQUALITY quality) override;
    D3DRMTEXTUREQUALITY GetTextureQuality() override { return textureQuality_; }

    // For the window-message side and the viewport.
    HRESULT Repaint();
    HWND Window() const { return hwnd_; }
    bool Headless() const { return !target_; }
    // Makes the context current and binds the target; false for the null renderer.
    bool BeginDrawing();
    // The row of the bound framebuffer (from its bottom) where device row `y + height - 1`
    // lies: device rows run from the top, GL rows from the bottom.
    int GlRow(int y, int height) const { return (target_ ? target_->Bottom() : 0) + height_ - (y + height); }
    // Draws the scene through the viewport into the target.
    HRESULT Render(Viewport& viewport, Frame& scene);
    // The pixel (x, y) of the frame being drawn, or of the last presented one (test hook).
    D3DCOLOR ReadPixel(int x, int y);
    static Device* From(IDirect3DRMDevice3* device) { return static_cast<Device*>(device); }

protected:
    ~Device() override;
    void* Query(REFIID iid) override;

private:
    Device(HWND hwnd, int width, int height) : hwnd_(hwnd), width_(width), height_(height) {}

    HWND hwnd_;
    int width_;
    int height_;
    std::unique_ptr<RenderTarget> target_;
    std::unique_ptr<Renderer> renderer_;
    bool drawing_ = false;       // drawn into the back buffer since the last present
    bool keepEachFrame_ = true;  // the back buffer is lost at a swap: copy every frame
    D3DRMRENDERQUALITY quality_ = D3DRMRENDER_FLAT;
    BOOL dither_ = TRUE;
    DWORD shades_ = 32;
    D3DRMTEXTUREQUALITY textureQuality_ = D3DRMTEXTURE_NEAREST;
};
