// The lamp set of every scene and the lights added to it.
#include "content/object_loading.h"
#include "render3d/lights.h"
#include "render3d/scene.h"
#include "tests/app/headless_show.h"

using Lights = HeadlessShow;

// (Whether the lamps show their models is checked with the scene commands.)
TEST_F(Lights, TheLampSetHasFourLights) {
    TearDownScene();
    ASSERT_TRUE(CreateScene(window, ""));
    int lights = 0;
    for (const Ref<IDirect3DRMFrame3>& f : SceneChildren()) {
        Ref<IDirect3DRMLightArray> held;
        f->GetLights(held.put());
        lights += static_cast<int>(held->GetSize());
    }
    EXPECT_EQ(lights, 4);
    EXPECT_EQ(lampLights[3]->GetType(), D3DRMLIGHT_AMBIENT);
    EXPECT_EQ(lampLights[0]->GetType(), D3DRMLIGHT_DIRECTIONAL);
    EXPECT_EQ(lampLights[1]->GetColor() & 0xFFFFFF, D3DRMCreateColorRGB(0, 0.2f, 0) & 0xFFFFFF);
}

TEST_F(Lights, EachKindAddsItsLightTypeWithAGlowingModelAndItsTurn) {
    const D3DRMLIGHTTYPE types[] = {D3DRMLIGHT_DIRECTIONAL, D3DRMLIGHT_PARALLELPOINT, D3DRMLIGHT_POINT, D3DRMLIGHT_SPOT};
    for (int kind = 1; kind <= 4; ++kind) {
        SetPlacement(0.5f, 0.25f, 1.0f, 1, 2, 3, 1, 1, 1, 0, 0, 1, 0);
        ASSERT_TRUE(AddLight(kind));
        Ref<IDirect3DRMFrame3> frame = LastChild();
        Ref<IDirect3DRMLightArray> held;
        frame->GetLights(held.put());
        Ref<IDirect3DRMLight> light;
        held->GetElement(0, light.put());
        EXPECT_EQ(light->GetType(), types[kind - 1]);
        EXPECT_EQ(VisualCount(frame.get()), 1);
        D3DVECTOR p;
        frame->GetPosition(appState->scene.get(), &p);
        EXPECT_FLOAT_EQ(p.y, 2.0f);
    }
    EXPECT_FALSE(AddLight(6));

    // A still light faces its axis; a spinning one turns.
    SetPlacement(1, 1, 1, 0, 0, 0, 1, 1, 1, 0, -1, 1, 0);
    ASSERT_TRUE(AddLight(4));
    D3DVECTOR dir, up, axis;
    LastChild()->GetOrientation(appState->scene.get(), &dir, &up);
    EXPECT_NEAR(dir.y, -0.70710677f, 1e-5f);
    EXPECT_NEAR(dir.z, 0.70710677f, 1e-5f);
    SetPlacement(1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 1, 0, 0.01f);
    ASSERT_TRUE(AddLight(4));
    D3DVALUE theta = 0;
    LastChild()->GetRotation(appState->scene.get(), &axis, &theta);
    EXPECT_FLOAT_EQ(theta, 0.01f);
}

// Kind 5 adds nothing and only recolours the ambient lamp; a scale with a zero keeps the
// model's file size (here twice the half-scaled one).
TEST_F(Lights, KindFiveRecoloursTheAmbientLampAndAZeroScaleKeepsTheFileSize) {
    const size_t before = SceneChildren().size();
    SetPlacement(0.5f, 0.5f, 0.5f, 0, 0, 0, 1, 1, 1, 0, 1, 0, 0);
    ASSERT_TRUE(AddLight(5));
    EXPECT_EQ(SceneChildren().size(), before);
    EXPECT_EQ(lampLights[3]->GetColor() & 0xFFFFFF, D3DRMCreateColorRGB(0.5f, 0.5f, 0.5f) & 0xFFFFFF);

    D3DRMBOX boxes[2];
    const float xScales[2] = {0.5f, 0.0f};
    for (int i = 0; i < 2; ++i) {
        SetPlacement(1, 1, 1, 0, 0, 0, xScales[i], i ? 1.0f : 0.5f, i ? 1.0f : 0.5f, 0, 0, 1, 0);
        ASSERT_TRUE(AddLight(3));
        FirstVisual<IDirect3DRMMeshBuilder3>(LastChild().get(), IID_IDirect3DRMMeshBuilder3)->GetBox(&boxes[i]);
    }
    EXPECT_NEAR(boxes[1].max.y - boxes[1].min.y, 2.0f * (boxes[0].max.y - boxes[0].min.y), 1e-4f);
}
