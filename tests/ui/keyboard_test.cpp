// The keys on the main window: camera flight and turns, the selected object's keys, the dance
// guard and F5.
#include "tests/app/headless_show.h"
#include "ui/selection.h"

namespace {

class Keyboard : public HeadlessShow {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(HeadlessShow::SetUp());
        Settle();
        camera = appState->camera.get();
        scene = appState->scene.get();
        // Turned so that forward, up and right differ in every part: dir (0.6, 0, 0.8), right (0.8, 0, −0.6).
        camera->SetOrientation(scene, 0.6f, 0.0f, 0.8f, 0.0f, 1.0f, 0.0f);
        win32test::ClearRecordedMessageBoxes();
    }
    void Key(WORD vk, bool down = true) { SendMessageA(window, down ? WM_KEYDOWN : WM_KEYUP, vk, 0); }
    D3DVECTOR Velocity(IDirect3DRMFrame3* frame, BOOL withRotation = FALSE) {
        D3DVECTOR v;
        frame->GetVelocity(scene, &v, withRotation);
        return v;
    }
    // The spin as axis times angle, so that (−a, θ) and (a, −θ) compare equal.
    static D3DVECTOR Spin(IDirect3DRMFrame3* frame, IDirect3DRMFrame3* reference) {
        D3DVECTOR axis;
        D3DVALUE theta;
        frame->GetRotation(reference, &axis, &theta);
        return D3DVECTOR{axis.x * theta, axis.y * theta, axis.z * theta};
    }
    IDirect3DRMFrame3* camera = nullptr;
    IDirect3DRMFrame3* scene = nullptr;
};

void ExpectNear(const D3DVECTOR& got, const D3DVECTOR& want, const char* what) {
    EXPECT_TRUE(std::abs(got.x - want.x) < 1e-5f && std::abs(got.y - want.y) < 1e-5f && std::abs(got.z - want.z) < 1e-5f)
        << what << ": (" << got.x << ", " << got.y << ", " << got.z << ")";
}

TEST_F(Keyboard, CameraKeysSetVelocityOrSpinAndAReleaseStopsBoth) {
    struct Flight {
        WORD vk;
        D3DVECTOR velocity;
        bool turnsWithCamera;
    };
    const Flight flights[] = {{VK_PRIOR, {-0.6f, 0, -0.8f}, false},  {VK_NEXT, {0.6f, 0, 0.8f}, false},
                              {VK_LEFT, {0.08f, 0, -0.06f}, true},    {VK_UP, {0, -0.1f, 0}, true},
                              {VK_RIGHT, {-0.08f, 0, 0.06f}, true},   {VK_DOWN, {0, 0.1f, 0}, true},
                              {VK_NUMPAD3, {0.03f, 0, 0.04f}, false}, {VK_NUMPAD9, {-0.03f, 0, -0.04f}, false}};
    for (const Flight& f : flights) {
        Key(f.vk);
        Key(f.vk);   // auto-repeat sets the same again
        ExpectNear(Velocity(camera), f.velocity, "velocity");
        // The flag shows once the camera spins: a velocity that turns with it turns one step further.
        camera->SetRotation(scene, 0.0f, 0.0f, 1.0f, 0.5f);
        const D3DVECTOR turned = Velocity(camera, TRUE), plain = Velocity(camera);
        EXPECT_EQ(turned.x != plain.x || turned.y != plain.y, f.turnsWithCamera) << "key " << f.vk;
    }
    const std::pair<WORD, D3DVECTOR> turns[] = {{VK_NUMPAD2, {-0.001f, 0, 0}}, {VK_NUMPAD4, {0, 0.001f, 0}},
                                                {VK_NUMPAD6, {0, -0.001f, 0}}, {VK_NUMPAD8, {0.001f, 0, 0}},
                                                {VK_NUMPAD5, {0, 0, 0}}};
    for (const auto& [vk, spin] : turns) {
        Key(vk);
        Key(vk, false);   // the pad keys have no release action
        ExpectNear(Spin(camera, scene), spin, "pad spin");
    }
    // One release of an arrow stops flight and spin alike.
    Key(VK_NUMPAD4);
    Key(VK_LEFT);
    Key(VK_LEFT, false);
    ExpectNear(Velocity(camera), {0, 0, 0}, "after the release");
    ExpectNear(Spin(camera, scene), {0, 0, 0}, "after the release");
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
}

TEST_F(Keyboard, ObjectKeysNeedASelectionAndActOnIt) {
    for (WORD vk : {VK_END, VK_HOME, VK_INSERT, VK_DELETE, VK_ADD}) Key(vk);
    ASSERT_EQ(win32test::RecordedMessageBoxes().size(), 4u);   // pad + quietly does nothing
    for (const auto& box : win32test::RecordedMessageBoxes()) EXPECT_EQ(box.text, "No key function.");

    Ref<IDirect3DRMFrame3> logo = LastChild();
    Ref<IDirect3DRMMeshBuilder3> mesh = FirstVisual<IDirect3DRMMeshBuilder3>(logo.get(), IID_IDirect3DRMMeshBuilder3);
    ASSERT_TRUE(mesh);
    SetSelectBox(1);
    SetSelection(mesh.get(), logo.get());
    Key(VK_END);
    ExpectNear(Velocity(logo.get()), {-0.6f, 0, -0.8f}, "End");
    Key(VK_HOME, false);
    ExpectNear(Velocity(logo.get()), {0, 0, 0}, "Home released");
    Key(VK_DELETE);
    ExpectNear(Spin(logo.get(), camera), {0, -0.01f, 0}, "Delete: about the camera's up axis");
    Key(VK_INSERT, false);
    ExpectNear(Spin(logo.get(), camera), {0, 0, 0}, "Insert released");

    // Pad + grows the mesh by a tenth and the one marker is rebuilt to fit.
    D3DRMBOX small, large, marker;
    mesh->GetBox(&small);
    Key(VK_ADD);
    mesh->GetBox(&large);
    EXPECT_NEAR(large.max.x - large.min.x, 1.1f * (small.max.x - small.min.x), 1e-4f);
    EXPECT_EQ(VisualCount(logo.get()), 2);
    ASSERT_NE(highlightBox, nullptr);
    highlightBox->GetBox(&marker);
    EXPECT_NEAR(marker.max.x, large.max.x + 0.05f, 1e-4f);
    SetSelection(nullptr, logo.get());   // a frame without mesh: pad − leaves it alone
    Key(VK_SUBTRACT);
    SetSelectBox(0);
    EXPECT_EQ(win32test::RecordedMessageBoxes().size(), 4u);
}

TEST_F(Keyboard, WhileDancingOnlyEscWorksAndF5StartsTheDanceOnlyWhileRecording) {
    D3DVECTOR start;
    camera->GetPosition(scene, &start);
    SendMessageA(window, WM_COMMAND, IDM_STOP_CAPTURE, 0);
    Key(VK_F5);
    EXPECT_EQ(danceActive, 0);
    SendMessageA(window, WM_COMMAND, IDM_START_CAPTURE, 0);
    ASSERT_EQ(recording, 1);
    win32test::ClearRecordedMessageBoxes();   // what stopping the capture said
    Key(VK_F5);
    EXPECT_EQ(danceActive, 1);
    ExpectNear(danceBase, start, "the dance's base");

    camera->SetPosition(scene, 5.0f, 5.0f, 5.0f);
    cycleScenes = 1;
    for (WORD vk : {VK_F5, VK_LEFT}) Key(vk);
    ASSERT_EQ(win32test::RecordedMessageBoxes().size(), 2u);
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].text, "Please Key -ESC- !");
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].owner, window);
    ExpectNear(danceBase, start, "F5 while dancing");
    ExpectNear(Velocity(camera), {0, 0, 0}, "an arrow while dancing");
    Key(VK_ESCAPE);
    EXPECT_EQ(danceActive, 1);   // the press passes the guard and does nothing
    Key(VK_ESCAPE, false);
    EXPECT_TRUE(danceActive == 0 && cycleScenes == 0);
    EXPECT_EQ(win32test::RecordedMessageBoxes().size(), 2u);
}

}  // namespace
