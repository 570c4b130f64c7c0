// The window procedure's size, close and paint handling (the menu's driver tick is checked
// with the driver switch).
#include "render3d/driver.h"
#include "tests/app/headless_show.h"

using WindowProcedure = HeadlessShow;

TEST_F(WindowProcedure, AZeroSizeMinimisesWithoutTouchingTheViewportAndCloseKeepsTheWindow) {
    Settle();
    const Ref<IDirect3DRMViewport2> before = appState->viewport;   // held: a rebuilt one cannot take its address
    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(appState->minimized, 1);
    EXPECT_EQ(appState->viewport.get(), before.get());
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 301));
    EXPECT_EQ(appState->minimized, 0);
    EXPECT_EQ(appState->viewport.get(), before.get());   // same size: no rebuild

    // A close sets the quit flag and posts the stop, but keeps the window.
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(appState->quitRequested, 1);
    EXPECT_TRUE(IsWindow(window));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_COMMAND);
    EXPECT_EQ(LOWORD(msg.wParam), IDM_STOP_CAPTURE);
}

TEST_F(WindowProcedure, AResizeRebuildsDeviceAndViewportKeepingRenderSettingsAndFog) {
    Settle();
    appState->device->SetDither(FALSE);
    appState->device->SetShades(16);
    appState->device->SetQuality(D3DRMRENDER_FLAT);
    appState->device->SetTextureQuality(D3DRMTEXTURE_LINEAR);
    // The fog switch is read from the scene; the range is put back from the shared settings.
    appState->scene->SetSceneFogEnable(FALSE);
    appState->scene->SetSceneFogParams(5.0f, 7.0f, 1.0f);
    fogStart = 10.0f;
    fogEnd = 60.0f;
    IDirect3DRMDevice3* oldDevice = appState->device.get();
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(500, 381));
    ASSERT_NE(appState->device.get(), oldDevice);
    EXPECT_EQ(appState->device->GetWidth(), 500u);
    EXPECT_EQ(appState->viewport->GetHeight(), 381u);
    EXPECT_FLOAT_EQ(appState->viewport->GetBack(), 5000.0f);
    EXPECT_EQ(appState->device->GetDither(), FALSE);
    EXPECT_EQ(appState->device->GetShades(), 16u);
    EXPECT_EQ(appState->device->GetQuality(), D3DRMRENDER_FLAT);
    EXPECT_EQ(appState->device->GetTextureQuality(), D3DRMTEXTURE_LINEAR);
    EXPECT_EQ(appState->scene->GetSceneFogEnable(), FALSE);
    EXPECT_EQ(fogEnable, FALSE);
    D3DVALUE start, end;
    appState->scene->GetSceneFogParams(&start, &end, nullptr);
    EXPECT_FLOAT_EQ(start, 10.0f);
    EXPECT_FLOAT_EQ(end, 60.0f);
}

TEST_F(WindowProcedure, PaintShowsTheLastFrameAgainAndValidates) {
    Settle();
    InvalidateRect(window, nullptr, FALSE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    ASSERT_EQ(msg.message, WM_PAINT);
    DispatchMessageA(&msg);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);   // reaches the device quietly
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
    // A paint that finds nothing invalid is an error the procedure reports.
    SendMessageA(window, WM_PAINT, 0, 0);
    ASSERT_EQ(win32test::RecordedMessageBoxes().size(), 1u);
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].text, "Failed to handle WM_PAINT.");
}
