// Building scenes: the main scene, backgrounds, fog and tearing down.
#include "content/object_loading.h"
#include "render3d/scene.h"
#include "tests/app/headless_show.h"

using Scenes = HeadlessShow;

TEST_F(Scenes, TheMainSceneHasItsPictureLampsSpotLightAndTurningLogo) {
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
    // Camera, empty frame, four lamp frames, the spot light, the logo.
    EXPECT_EQ(SceneChildren().size(), 8u);
    for (const auto& lamp : lampLights) EXPECT_TRUE(lamp);
    // The first scene keeps the initial grey fog; the settings for the next one changed.
    EXPECT_EQ(appState->scene->GetSceneFogColor() & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(fogColor[0], 32);
    EXPECT_EQ(fogColor[2], 128);
    EXPECT_FLOAT_EQ(defaultMaterial.power, 80.0f);
    // The main scene again takes the new fog colour.
    TearDownScene();
    ASSERT_TRUE(CreateMainScene(window));
    EXPECT_EQ(appState->scene->GetSceneFogColor() & 0xFFFFFF, 0x204080u);
}

// A name of under two characters means no picture: dark blue. A picture that cannot be
// loaded is reported and leaves black.
TEST_F(Scenes, TheBackgroundIsDarkBlueWithoutAPictureAndBlackWithAMissingOne) {
    for (const char* name : {"", "x"}) {
        TearDownScene();
        ASSERT_TRUE(CreateScene(window, name));
        EXPECT_EQ(appState->scene->GetSceneBackground(), D3DRMCreateColorRGB(0.0f, 0.0f, 0.4f)) << name;
    }
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
    TearDownScene();
    ASSERT_TRUE(CreateScene(window, "bgr\\missing.bmp"));
    EXPECT_EQ(appState->scene->GetSceneBackground() & 0xFFFFFF, 0u);
    ASSERT_EQ(win32test::RecordedMessageBoxes().size(), 1u);
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].text, "Failed to load Background Image.");
}

TEST_F(Scenes, TearingDownTwiceDoesNothingTheSecondTime) {
    TearDownScene();
    EXPECT_FALSE(appState->scene);
    EXPECT_FALSE(lampLights[0]);
    TearDownScene();
    EXPECT_FALSE(appState->viewport);
}
