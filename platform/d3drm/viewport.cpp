// Viewports: IDirect3DRMViewport2's Clear (D3DRMCLEAR_TARGET, D3DRMCLEAR_ZBUFFER), Render,
// SetBack, SetFront, SetField, SetCamera, GetCamera.
#include "platform/d3drm/viewport.h"

#include <epoxy/gl.h>

#include "platform/d3drm/device.h"
#include "platform/d3drm/frame.h"

Viewport::Viewport(IDirect3DRMDevice3* device, IDirect3DRMFrame3* camera, DWORD x, DWORD y, DWORD width, DWORD height)
    : device_(Ref<IDirect3DRMDevice3>::Share(device)),
      camera_(Ref<IDirect3DRMFrame3>::Share(camera)),
      x_(x),
      y_(y),
      width_(width),
      height_(height) {}

void* Viewport::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMViewport2) return static_cast<IDirect3DRMViewport2*>(this);
    return Object::Query(iid);
}

HRESULT Viewport::Clear(DWORD flags) {
    Device* device = Device::From(device_.get());
    if (!device->BeginDrawing()) return D3DRM_OK;   // the null renderer has nothing to clear
    const D3DCOLOR background = camera_ ? Frame::From(camera_.get())->Root()->GetSceneBackground() : 0;
    GLbitfield mask = 0;
    if (flags & D3DRMCLEAR_TARGET) {
        glClearColor(D3DRMColorGetRed(background), D3DRMColorGetGreen(background), D3DRMColorGetBlue(background), 1.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DRMCLEAR_ZBUFFER) {
        glDepthMask(GL_TRUE);
        glClearDepth(1.0);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    // A viewport over the whole device clears the whole window framebuffer: a clear limited by
    // a scissor is drawn as a full-window pass by software rasterisers, a whole one is a fill.
    // The menu bar and what lies outside the device are drawn over at the present.
    const bool whole = x_ == 0 && y_ == 0 && width_ >= device->GetWidth() && height_ >= device->GetHeight();
    if (!whole) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(static_cast<GLint>(x_), device->GlRow(static_cast<int>(y_), static_cast<int>(height_)),
                  static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
    }
    glClear(mask);
    glDisable(GL_SCISSOR_TEST);
    return D3DRM_OK;
}

HRESULT Viewport::Render(IDirect3DRMFrame3* scene) {
    if (!scene) return D3DRMERR_BADOBJECT;
    return Device::From(device_.get())->Render(*this, *Frame::From(scene));
}

HRESULT Viewport::SetBack(D3DVALUE back) {
    if (back <= front_) return D3DRMERR_BADVALUE;
    back_ = back;
    return D3DRM_OK;
}

HRESULT Viewport::SetFront(D3DVALUE front) {
    if (front <= 0.0f || front >= back_) return D3DRMERR_BADVALUE;
    front_ = front;
    return D3DRM_OK;
}

HRESULT Viewport::SetField(D3DVALUE field) {
    if (field <= 0.0f) return D3DRMERR_BADVALUE;
    field_ = field;
    return D3DRM_OK;
}

HRESULT Viewport::SetCamera(IDirect3DRMFrame3* camera) {
    if (!camera) return D3DRMERR_BADOBJECT;
    camera_ = Ref<IDirect3DRMFrame3>::Share(camera);
    return D3DRM_OK;
}

HRESULT Viewport::GetCamera(IDirect3DRMFrame3** camera) {
    if (!camera) return D3DRMERR_BADVALUE;
    *camera = camera_.get();
    if (*camera) (*camera)->AddRef();
    return D3DRM_OK;
}
