// The sound on the show: lamp colours, the frame fade, the fog tint and the camera's dance, on
// the main scene of a headless show. The colour bytes are set by hand, as the capture thread
// would set them.
#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "sound/sound_frame.h"
#include "tests/app/headless_show.h"

namespace {

class SoundOnTheShow : public HeadlessShow {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(HeadlessShow::SetUp());
        ASSERT_TRUE(lampLights[0] && lampLights[1] && lampLights[2] && lampLights[3]);
        fadeStep1 = fadeStep2 = 0;
        danceActive = 0;
        fogEnable = 1;
        fogColor[0] = fogColor[1] = fogColor[2] = 128;
    }
    static void Hear(BYTE r, BYTE g, BYTE b) {
        soundColor[0].store(r);
        soundColor[1].store(g);
        soundColor[2].store(b);
    }
    static std::vector<int> Heard() { return {soundColor[0].load(), soundColor[1].load(), soundColor[2].load()}; }
    static D3DCOLOR Lamp(int i) { return lampLights[i]->GetColor() & 0x00FFFFFFu; }
    D3DVECTOR Camera() const {
        D3DVECTOR v{};
        appState->camera->GetPosition(appState->scene.get(), &v);
        return v;
    }
};

TEST_F(SoundOnTheShow, EachLampShowsTwoBandsAndTheFourthIsLeftAlone) {
    const D3DCOLOR fourth = lampLights[3]->GetColor();
    Hear(200, 100, 50);
    SoundFrame();
    EXPECT_EQ(Lamp(0), 0x00C86400u);   // red and green
    EXPECT_EQ(Lamp(1), 0x00006432u);   // green and blue
    EXPECT_EQ(Lamp(2), 0x00C80032u);   // red and blue
    EXPECT_EQ(lampLights[3]->GetColor(), fourth);

    // At rest the lamps are practically dark.
    Hear(1, 1, 1);
    SoundFrame();
    EXPECT_EQ(Lamp(0), 0x00010100u);
    EXPECT_EQ(Lamp(1), 0x00000101u);
    EXPECT_EQ(Lamp(2), 0x00010001u);

    // A scene without one of the lamps: the others still take the colours.
    Ref<IDirect3DRMLight> second = lampLights[1];
    lampLights[1] = {};
    Hear(9, 8, 7);
    SoundFrame();
    EXPECT_EQ(Lamp(0), 0x00090800u);
    EXPECT_EQ(second->GetColor() & 0x00FFFFFFu, 0x00000101u);
    EXPECT_EQ(Lamp(2), 0x00090007u);
    lampLights[1] = second;

    // Only a running capture colours the lamps each frame.
    recording.store(0);
    Hear(200, 100, 50);
    FrameTick();
    EXPECT_EQ(Lamp(0), 0x00090800u) << "the lamps keep their last colours while capture is stopped";
    recording.store(1);
    FrameTick();
    EXPECT_EQ(Lamp(0), 0x00C86400u);
}

TEST_F(SoundOnTheShow, TheFrameFadeLowersEachBandAndTheFogTakesTheFadedBands) {
    // The lamps show the bands as they were; the fade comes after.
    fadeStep1 = 1;
    Hear(5, 1, 2);
    SoundFrame();
    EXPECT_EQ(Lamp(0), 0x00050100u);
    EXPECT_EQ(Heard(), (std::vector<int>{4, 1, 1}));

    fadeStep2 = 1;
    Hear(5, 2, 0);
    SoundFrame();
    EXPECT_EQ(Heard(), (std::vector<int>{3, 1, 0})) << "the fade never raises a band";

    // The second step alone fades nothing.
    fadeStep1 = 0;
    Hear(5, 2, 9);
    SoundFrame();
    EXPECT_EQ(Heard(), (std::vector<int>{5, 2, 9}));

    // The fog takes half its colour plus the faded bands.
    Hear(1, 1, 1);
    SoundFrame();
    EXPECT_EQ(appState->scene->GetSceneFogColor() & 0x00FFFFFFu, 0x00414141u);   // 64 + 1 each

    fogColor[0] = 255, fogColor[1] = 0, fogColor[2] = 7;
    fadeStep1 = 1;
    fadeStep2 = 0;
    Hear(11, 21, 31);
    SoundFrame();
    EXPECT_EQ(appState->scene->GetSceneFogColor() & 0x00FFFFFFu, (127u + 10) << 16 | 20u << 8 | (3u + 30));

    // A component that would pass 255 is held there and does not run into the next one.
    fadeStep1 = 0;
    Hear(200, 255, 1);
    SoundFrame();
    EXPECT_EQ(appState->scene->GetSceneFogColor() & 0x00FFFFFFu, 0x00FFFF04u);

    // Without fog the fog colour is left alone.
    fogEnable = 0;
    Hear(2, 2, 2);
    SoundFrame();
    EXPECT_EQ(appState->scene->GetSceneFogColor() & 0x00FFFFFFu, 0x00FFFF04u);
}

TEST_F(SoundOnTheShow, TheCameraDancesWithTheBeatAndSinksBackInSilence) {
    appState->camera->SetPosition(appState->scene.get(), 0, 1, -50);
    danceBase = Camera();
    danceActive = 1;

    // A beat: hz = (G + B) / 30 = 5 and hy = (R + B) / 50 = 4, less one fall each.
    Hear(100, 50, 100);
    SoundFrame();
    D3DVECTOR at = Camera();
    EXPECT_FLOAT_EQ(at.x, 0.0f);
    EXPECT_NEAR(at.y, -(1 + 4 - 0.04f), 1e-4);
    EXPECT_NEAR(at.z, -50 + 5 - 0.04f, 1e-4);

    // Silence: the depth goes straight back to the base, the height sinks by the fall per
    // frame and comes to rest just below the base.
    Hear(0, 0, 0);
    for (int frame = 0; frame < 10; ++frame) SoundFrame();
    at = Camera();
    EXPECT_NEAR(at.y, -(4.96f - 10 * 0.04f), 1e-4);
    EXPECT_FLOAT_EQ(at.z, -50.0f);
    for (int frame = 0; frame < 200; ++frame) SoundFrame();
    at = Camera();
    EXPECT_TRUE(-at.y > 0.96f && -at.y <= 1.0f) << at.y;

    // Stopped, the dance leaves the camera where it is.
    danceActive = 0;
    Hear(100, 50, 100);
    SoundFrame();
    const D3DVECTOR still = Camera();
    EXPECT_FLOAT_EQ(still.y, at.y);
    EXPECT_FLOAT_EQ(still.z, at.z);
}

}  // namespace
