// The Add Light Box: OK needs a type, then hangs a light of the chosen colour above the
// scene's centre; the type is kept by OK and forgotten by Cancel, new scenes, Cut and Delete.
#include "ui/add_light_box.h"
#include "tests/ui/box_fixture.h"

using AddLightBox = Boxes;

namespace {

constexpr int kTypeButtons[] = {IDC_LIG_DIRECTIONAL, IDC_LIG_PARALLEL_POINT, IDC_LIG_POINT, IDC_LIG_SPOT,
                                IDC_LIG_AMBIENT};

int CheckedTypes(HWND box) {
    int checked = 0;
    for (int id : kTypeButtons) checked += IsDlgButtonChecked(box, id) == BST_CHECKED;
    return checked;
}

}  // namespace

TEST_F(AddLightBox, OkNeedsATypeThenHangsTheLightAboveTheCentrePointingDown) {
    Settle();
    const size_t children = SceneChildren().size();
    Open(IDM_LIGHT, "LigBox", [&](HWND box) {
        EXPECT_EQ(CheckedTypes(box), 0);
        EXPECT_EQ(Text(box, IDC_LIG_GREEN_TEXT), "0.50");
        EXPECT_TRUE(win32test::ClickControl(box, IDOK));
        EXPECT_EQ(Reports(box, "Please define light type."), 1);
        EXPECT_EQ(SceneChildren().size(), children);

        win32test::Scroll(box, IDC_LIG_RED, SB_THUMBTRACK, 37);
        EXPECT_EQ(Text(box, IDC_LIG_RED_TEXT), "0.37");
        win32test::Scroll(box, IDC_LIG_GREEN, SB_PAGELEFT);
        EXPECT_EQ(Position(box, IDC_LIG_GREEN), 39);
        win32test::Scroll(box, IDC_LIG_BLUE, SB_RIGHT);
        EXPECT_EQ(Text(box, IDC_LIG_BLUE_TEXT), "1.00");
        win32test::ClickControl(box, IDC_LIG_SPOT);
        danceActive = 1;
        EXPECT_TRUE(win32test::ClickControl(box, IDOK));   // the box was still open
    });
    ASSERT_EQ(win32test::RecordedDialogs().size(), 1u);
    EXPECT_EQ(win32test::RecordedDialogs()[0].result, 0);
    EXPECT_EQ(danceActive, 0);
    ASSERT_EQ(SceneChildren().size(), children + 1);
    Ref<IDirect3DRMFrame3> frame = LastChild();
    Ref<IDirect3DRMLightArray> lights;
    frame->GetLights(lights.put());
    ASSERT_EQ(lights->GetSize(), 1u);
    Ref<IDirect3DRMLight> light;
    lights->GetElement(0, light.put());
    EXPECT_EQ(light->GetType(), D3DRMLIGHT_SPOT);
    EXPECT_EQ(light->GetColor() & 0xFFFFFF, D3DRMCreateColorRGB(0.37f, 0.39f, 1.0f) & 0xFFFFFF);
    EXPECT_EQ(VisualCount(frame.get()), 1);   // its lamp model
    D3DVECTOR at, dir, up;
    frame->GetPosition(appState->scene.get(), &at);
    frame->GetOrientation(appState->scene.get(), &dir, &up);
    EXPECT_TRUE(at.x == 0.0f && at.y == 15.0f && at.z == -5.0f);
    EXPECT_NEAR(dir.y, -1.0f, 1e-6f);

    // OK keeps the type and the colour; Cancel forgets the type only.
    Open(IDM_LIGHT, "LigBox", [](HWND box) {
        EXPECT_TRUE(Checked(box, IDC_LIG_SPOT));
        EXPECT_EQ(CheckedTypes(box), 1);
        EXPECT_EQ(Position(box, IDC_LIG_BLUE), 100);
        win32test::ClickControl(box, IDCANCEL);
    });
    EXPECT_EQ(addLightKind, 0);
    Open(IDM_LIGHT, "LigBox", [](HWND box) {
        EXPECT_EQ(CheckedTypes(box), 0);
        EXPECT_EQ(Text(box, IDC_LIG_RED_TEXT), "0.37");
    });
    EXPECT_EQ(SceneChildren().size(), children + 1);
}

TEST_F(AddLightBox, AbienteRecoloursTheAmbientLampAndNewScenesCutAndDeleteForgetTheType) {
    Settle();
    const size_t children = SceneChildren().size();
    Open(IDM_LIGHT, "LigBox", [](HWND box) {
        win32test::ClickControl(box, IDC_LIG_AMBIENT);
        win32test::Scroll(box, IDC_LIG_RED, SB_LEFT);
        win32test::ClickControl(box, IDOK);
    });
    EXPECT_EQ(SceneChildren().size(), children);
    EXPECT_EQ(lampLights[3]->GetColor() & 0xFFFFFF, D3DRMCreateColorRGB(0.0f, 0.5f, 0.5f) & 0xFFFFFF);
    EXPECT_EQ(addLightKind, 5);

    win32test::ChooseMenuItem(window, IDM_SCENE_WITH_LIGHTS);
    Settle();
    EXPECT_EQ(addLightKind, 0);
    for (WORD command : {IDM_CUT, IDM_DELETE}) {
        addLightKind = 2;
        selectedFrame = LastChild().get();
        win32test::ChooseMenuItem(window, command);
        Settle();
        EXPECT_EQ(addLightKind, 0) << command;
    }
}
