// Internal to platform/d3drm: a camera's view of a scene on a device.
#pragma once

#include "platform/d3drm/object.h"

class Viewport final : public Object<IDirect3DRMViewport2> {
public:
    Viewport(IDirect3DRMDevice3* device, IDirect3DRMFrame3* camera, DWORD x, DWORD y, DWORD width, DWORD height);

    // IDirect3DRMViewport2 (contracts in d3drm.h)
    HRESULT Clear(DWORD flags) override;
    HRESULT Render(IDirect3DRMFrame3* scene) override;
    HRESULT SetBack(D3DVALUE back) override;
    D3DVALUE GetBack() override { return back_; }
    HRESULT SetFront(D3DVALUE front) override;
    D3DVALUE GetFront() override { return front_; }
    HRESULT SetField(D3DVALUE field) override;
    D3DVALUE GetField() override { return field_; }
    DWORD GetWidth() override { return width_; }
    DWORD GetHeight() override { return height_; }
    HRESULT SetCamera(IDirect3DRMFrame3* camera) override;
    HRESULT GetCamera(IDirect3DRMFrame3** camera) override;
    HRESULT Transform(D3DRMVECTOR4D* screen, const D3DVECTOR* world) override;          // viewport_transform.cpp
    HRESULT InverseTransform(D3DVECTOR* world, const D3DRMVECTOR4D* screen) override;   // viewport_transform.cpp

    static Viewport* From(IDirect3DRMViewport2* v) { return static_cast<Viewport*>(v); }
    IDirect3DRMFrame3* CameraFrame() const { return camera_.get(); }
    IDirect3DRMDevice3* DeviceObject() const { return device_.get(); }
    DWORD X() const { return x_; }
    DWORD Y() const { return y_; }

protected:
    void* Query(REFIID iid) override;

private:
    Ref<IDirect3DRMDevice3> device_;
    Ref<IDirect3DRMFrame3> camera_;
    DWORD x_, y_, width_, height_;
    D3DVALUE field_ = 0.5f;
    D3DVALUE front_ = 1.0f;
    D3DVALUE back_ = 100.0f;
};
