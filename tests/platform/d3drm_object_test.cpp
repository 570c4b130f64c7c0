// Engine objects: reference counting, destroy callbacks, the device and viewport without GL.
#include <gtest/gtest.h>

#include "platform/d3drm/d3drm.h"
#include "platform/win32/win32_test.h"

namespace {

Ref<IDirect3DRM3> MakeRoot() {
    Ref<IDirect3DRM> first;
    EXPECT_EQ(Direct3DRMCreate(first.put()), D3DRM_OK);
    Ref<IDirect3DRM3> root;
    EXPECT_EQ(first->QueryInterface(IID_IDirect3DRM3, reinterpret_cast<void**>(root.put())), S_OK);
    return root;
}

void CountDestroy(IDirect3DRMObject*, void* arg) { ++*static_cast<int*>(arg); }

}  // namespace

TEST(Objects, DestroyCallbacksRunOnceWhenTheLastReferenceGoes) {
    Ref<IDirect3DRM3> root = MakeRoot();
    int destroyed = 0;
    Ref<IDirect3DRMFrame3> frame;
    ASSERT_EQ(root->CreateFrame(nullptr, frame.put()), D3DRM_OK);
    frame->AddDestroyCallback(CountDestroy, &destroyed);
    Ref<IDirect3DRMFrame3> second = frame;   // a copy adds a reference
    frame.reset();
    EXPECT_EQ(destroyed, 0);
    second.reset();
    EXPECT_EQ(destroyed, 1);
}

TEST(Objects, AFrameKeepsItsChildrenAlive) {
    Ref<IDirect3DRM3> root = MakeRoot();
    Ref<IDirect3DRMFrame3> scene, child;
    root->CreateFrame(nullptr, scene.put());
    root->CreateFrame(scene.get(), child.put());
    int destroyed = 0;
    child->AddDestroyCallback(CountDestroy, &destroyed);
    child.reset();
    EXPECT_EQ(destroyed, 0);   // the scene holds it
    scene.reset();
    EXPECT_EQ(destroyed, 1);
}

TEST(Objects, DeletedDestroyCallbacksDoNotRun) {
    Ref<IDirect3DRM3> root = MakeRoot();
    int destroyed = 0;
    Ref<IDirect3DRMFrame3> frame;
    root->CreateFrame(nullptr, frame.put());
    frame->AddDestroyCallback(CountDestroy, &destroyed);
    EXPECT_EQ(frame->DeleteDestroyCallback(CountDestroy, &destroyed), D3DRM_OK);
    EXPECT_EQ(frame->DeleteDestroyCallback(CountDestroy, &destroyed), D3DRMERR_NOTFOUND);
    frame.reset();
    EXPECT_EQ(destroyed, 0);
}

TEST(Objects, QueryInterfaceRefusesWhatAnObjectIsNot) {
    Ref<IDirect3DRM3> root = MakeRoot();
    Ref<IDirect3DRMFrame3> frame;
    root->CreateFrame(nullptr, frame.put());
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(frame->QueryInterface(IID_IDirect3DRMDevice3, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    Ref<IDirect3DRMVisual> visual;
    EXPECT_EQ(frame->QueryInterface(IID_IDirect3DRMVisual, reinterpret_cast<void**>(visual.put())), S_OK);
}

class HeadlessDevice : public ::testing::Test {
protected:
    void SetUp() override {
        win32test::EnableNoWindowSystem();
        WNDCLASSEXA wc;
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "DeviceTest";
        RegisterClassExA(&wc);
        hwnd = CreateWindowExA(0, "DeviceTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr, nullptr, nullptr);
        ASSERT_EQ(DirectDrawCreateClipper(0, clipper.put(), nullptr), DD_OK);
        ASSERT_EQ(clipper->SetHWnd(0, hwnd), DD_OK);
        root = MakeRoot();
    }
    HWND hwnd = nullptr;
    Ref<IDirectDrawClipper> clipper;
    Ref<IDirect3DRM3> root;
};

TEST_F(HeadlessDevice, TheNullRendererCountsPresentedFrames) {
    Ref<IDirect3DRMDevice3> device;
    ASSERT_EQ(root->CreateDeviceFromClipper(clipper.get(), nullptr, 320, 240, device.put()), D3DRM_OK);
    EXPECT_EQ(device->GetWidth(), 320u);
    EXPECT_EQ(device->GetHeight(), 240u);
    const auto before = win32test::PresentedFrames();
    device->Update();
    device->Update();
    EXPECT_EQ(win32test::PresentedFrames(), before + 2);
}

TEST_F(HeadlessDevice, NeedsAClipperBoundToAWindowAndASize) {
    Ref<IDirect3DRMDevice3> device;
    Ref<IDirectDrawClipper> unbound;
    DirectDrawCreateClipper(0, unbound.put(), nullptr);
    EXPECT_NE(root->CreateDeviceFromClipper(unbound.get(), nullptr, 320, 240, device.put()), D3DRM_OK);
    EXPECT_NE(root->CreateDeviceFromClipper(clipper.get(), nullptr, 0, 240, device.put()), D3DRM_OK);
    EXPECT_FALSE(device);
    EXPECT_NE(unbound->SetHWnd(0, nullptr), DD_OK);
}

TEST_F(HeadlessDevice, RenderStateIsKeptAndBadValuesAreRefused) {
    Ref<IDirect3DRMDevice3> device;
    root->CreateDeviceFromClipper(clipper.get(), nullptr, 64, 64, device.put());
    EXPECT_EQ(device->SetQuality(D3DRMRENDER_GOURAUD), D3DRM_OK);
    EXPECT_EQ(device->GetQuality(), D3DRMRENDER_GOURAUD);
    EXPECT_EQ(device->SetShades(7), D3DRMERR_BADVALUE);
    EXPECT_EQ(device->SetShades(16), D3DRM_OK);
    EXPECT_EQ(device->GetShades(), 16u);
    EXPECT_EQ(device->SetTextureQuality(9), D3DRMERR_BADVALUE);
    EXPECT_EQ(device->SetDither(FALSE), D3DRM_OK);
    EXPECT_EQ(device->GetDither(), FALSE);
}

TEST_F(HeadlessDevice, TheWindowDeviceSideKeepsTheDeviceAlive) {
    Ref<IDirect3DRMDevice3> device;
    root->CreateDeviceFromClipper(clipper.get(), nullptr, 64, 64, device.put());
    int destroyed = 0;
    device->AddDestroyCallback(CountDestroy, &destroyed);
    Ref<IDirect3DRMWinDevice> winDevice;
    ASSERT_EQ(device->QueryInterface(IID_IDirect3DRMWinDevice, reinterpret_cast<void**>(winDevice.put())), S_OK);
    device.reset();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(winDevice->HandleActivate(WA_ACTIVE), D3DRM_OK);
    EXPECT_EQ(winDevice->HandlePaint(nullptr), D3DRM_OK);
    winDevice.reset();
    EXPECT_EQ(destroyed, 1);
}

TEST_F(HeadlessDevice, AViewportCoversPartOfItsDeviceWithTheEngineDefaults) {
    Ref<IDirect3DRMDevice3> device;
    root->CreateDeviceFromClipper(clipper.get(), nullptr, 200, 100, device.put());
    Ref<IDirect3DRMFrame3> scene, camera;
    root->CreateFrame(nullptr, scene.put());
    root->CreateFrame(scene.get(), camera.put());
    Ref<IDirect3DRMViewport2> viewport;
    EXPECT_NE(root->CreateViewport(device.get(), camera.get(), 0, 0, 201, 100, viewport.put()), D3DRM_OK);
    ASSERT_EQ(root->CreateViewport(device.get(), camera.get(), 0, 0, 200, 100, viewport.put()), D3DRM_OK);
    EXPECT_FLOAT_EQ(viewport->GetField(), 0.5f);
    EXPECT_FLOAT_EQ(viewport->GetFront(), 1.0f);
    EXPECT_FLOAT_EQ(viewport->GetBack(), 100.0f);
    EXPECT_EQ(viewport->SetBack(5000.0f), D3DRM_OK);
    EXPECT_EQ(viewport->SetBack(0.5f), D3DRMERR_BADVALUE);   // not beyond the front plane
    EXPECT_FLOAT_EQ(viewport->GetBack(), 5000.0f);
    Ref<IDirect3DRMFrame3> seen;
    viewport->GetCamera(seen.put());
    EXPECT_EQ(seen.get(), camera.get());
    EXPECT_EQ(viewport->Clear(D3DRMCLEAR_ALL), D3DRM_OK);
    EXPECT_EQ(viewport->Render(scene.get()), D3DRM_OK);
}
