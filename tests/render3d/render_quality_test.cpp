// Fill, shade, dithering and filtering changes on the device.
#include "render3d/render_quality.h"
#include "tests/app/headless_show.h"

using RenderQuality = HeadlessShow;

// From solid Gouraud, each change keeps the other parts of the quality and its menu choice.
TEST_F(RenderQuality, FillAndShadeChangeOnlyTheirOwnBits) {
    EXPECT_EQ(appState->device->GetQuality() & D3DRMFILL_MASK, D3DRMFILL_SOLID);
    ASSERT_TRUE(SetShadeMode(window, D3DRMSHADE_PHONG));
    const DWORD lighting = appState->device->GetQuality() & D3DRMLIGHT_MASK;
    ASSERT_TRUE(SetFillMode(window, D3DRMFILL_WIREFRAME));
    EXPECT_EQ(appState->device->GetQuality() & D3DRMSHADE_MASK, D3DRMSHADE_PHONG);
    EXPECT_EQ(appState->device->GetQuality() & D3DRMLIGHT_MASK, lighting);
    EXPECT_EQ(fillChoice, 1);
    ASSERT_TRUE(SetShadeMode(window, D3DRMSHADE_FLAT));
    EXPECT_EQ(appState->device->GetQuality() & D3DRMFILL_MASK, D3DRMFILL_WIREFRAME);
    EXPECT_EQ(shadeChoice, 4);

    EXPECT_FALSE(SetShadeMode(window, 5));   // not a shade mode the device knows
    EXPECT_EQ(shadeChoice, 4);
    ASSERT_EQ(win32test::RecordedMessageBoxes().size(), 1u);
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].text, "Setting the shade mode failed");
}

TEST_F(RenderQuality, TogglesFlipDeviceAndFlagTogether) {
    ASSERT_TRUE(ToggleDither(window));
    EXPECT_EQ(appState->device->GetDither(), FALSE);
    EXPECT_EQ(ditherOn, 0);
    ASSERT_TRUE(ToggleDither(window));
    EXPECT_EQ(appState->device->GetDither(), TRUE);
    EXPECT_EQ(ditherOn, 1);
    ASSERT_TRUE(ToggleFiltering(window));
    EXPECT_EQ(appState->device->GetTextureQuality(), D3DRMTEXTURE_NEAREST);
    EXPECT_EQ(filterOn, 0);
}
