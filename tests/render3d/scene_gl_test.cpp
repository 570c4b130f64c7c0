// Scenes of the show on a real window: what the first pixels show.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "app/main_loop.h"
#include "platform/d3drm/d3drm_test.h"
#include "render3d/scene.h"
#include "tests/app/headless_show.h"
#include "tests/support/xvfb_server.h"

namespace {

// The show's start-up on a private X server instead of without a window system.
class ShownScene : public ::testing::Test {
protected:
    void SetUp() override {
        xvfb = std::make_unique<vlx_test::XvfbServer>();
        setenv("DISPLAY", xvfb->Display().c_str(), 1);
        win32test::EnableRecordedInteraction();
        fs::SetInstallationFolder(VLX_INSTALL_DIR);
        InstallQuietSoundCard();
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WinClassDef classDef(instance);
        classDef.Register();
        WinCreateDef createDef(instance, "Virelux");
        ASSERT_TRUE(createDef.Create());
        window = createDef.Window();
        ASSERT_TRUE(InitDisplay(window, SW_SHOWDEFAULT));
    }
    D3DCOLOR CentreAfterAFrame() {
        RenderFrame(false);
        return d3drmtest::ReadPixel(appState->device.get(), static_cast<int>(appState->device->GetWidth() / 2),
                                    static_cast<int>(appState->device->GetHeight() - 5));
    }
    std::unique_ptr<vlx_test::XvfbServer> xvfb;
    HWND window = nullptr;
};

}  // namespace

TEST_F(ShownScene, AnEmptyBackgroundNameShowsDarkBlue) {
    TearDownScene();
    ASSERT_TRUE(CreateScene(window, ""));
    EXPECT_EQ(CentreAfterAFrame(), 0x000066u);
}

TEST_F(ShownScene, AMissingPictureIsReportedAndShowsBlack) {
    TearDownScene();
    ASSERT_TRUE(CreateScene(window, "bgr\\nowhere.bmp"));
    EXPECT_EQ(CentreAfterAFrame(), 0x000000u);
    ASSERT_EQ(win32test::RecordedMessageBoxes().size(), 1u);
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].text, "Failed to load Background Image.");
}

TEST_F(ShownScene, TheMainSceneShowsItsPicture) {
    // Near the bottom edge nothing stands in front of the picture: its violet horizon.
    const D3DCOLOR c = CentreAfterAFrame();
    EXPECT_GT((c >> 16) & 0xFF, (c >> 8) & 0xFF);   // more red than green
    EXPECT_GT(c & 0xFF, 60u);                       // and clearly blue
}
