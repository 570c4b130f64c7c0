// Engine objects: reference counting, destroy callbacks, the device and viewport without GL.
#include "tests/platform/d3drm_fixture.h"

namespace {

void CountDestroy(IDirect3DRMObject*, void* arg) { ++*static_cast<int*>(arg); }

using Objects = EngineScene;

TEST_F(Objects, DestroyCallbacksRunOnceWhenTheLastReferenceGoes) {
    int destroyed = 0;
    auto frame = Make(scene.get());
    frame->AddDestroyCallback(CountDestroy, &destroyed);
    Ref<IDirect3DRMFrame3> copy = frame;   // a copy adds a reference
    frame.reset();
    copy.reset();
    EXPECT_EQ(destroyed, 0);   // the scene holds it
    scene.reset();
    EXPECT_EQ(destroyed, 1);
}

TEST_F(Objects, ADeviceNeedsABoundClipperAndItsWindowSideKeepsItAlive) {
    ASSERT_NO_FATAL_FAILURE(MakeClipper());
    Ref<IDirect3DRMDevice3> device;
    Ref<IDirectDrawClipper> unbound;
    DirectDrawCreateClipper(0, unbound.put(), nullptr);
    EXPECT_NE(root->CreateDeviceFromClipper(unbound.get(), nullptr, 320, 240, device.put()), D3DRM_OK);
    EXPECT_NE(root->CreateDeviceFromClipper(clipper.get(), nullptr, 0, 240, device.put()), D3DRM_OK);
    EXPECT_FALSE(device);
    ASSERT_EQ(root->CreateDeviceFromClipper(clipper.get(), nullptr, 320, 240, device.put()), D3DRM_OK);

    int destroyed = 0;
    device->AddDestroyCallback(CountDestroy, &destroyed);
    Ref<IDirect3DRMWinDevice> winDevice;
    ASSERT_EQ(device->QueryInterface(IID_IDirect3DRMWinDevice, reinterpret_cast<void**>(winDevice.put())), S_OK);
    device.reset();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(winDevice->HandlePaint(nullptr), D3DRM_OK);
    winDevice.reset();
    EXPECT_EQ(destroyed, 1);
}

}  // namespace
