// Picking with the mouse, the selection marker's geometry, and the rotate and move drags, on
// the main scene with two cubes of the test's own on one line of sight.
#include <cmath>

#include "render3d/scene.h"
#include "tests/app/headless_show.h"
#include "ui/highlight_box.h"
#include "ui/selection.h"

namespace {

struct Point {
    float x, y, depth;
};

class Selection : public HeadlessShow {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(HeadlessShow::SetUp());
        Settle();
        // The near cube sits two frames below the scene, the far one straight behind it as the
        // camera (at 0, 1, −50) sees it.
        Ref<IDirect3DRMFrame3> group;
        d3drm->CreateFrame(appState->scene.get(), group.put());
        group->SetPosition(appState->scene.get(), 15.0f, 10.0f, 0.0f);
        near = AddCube(group.get(), 0.0f, 0.0f, 0.0f, 2.0f, &nearMesh);
        far = AddCube(appState->scene.get(), 22.5f, 14.5f, 25.0f, 4.0f, nullptr);
        win32test::ClearRecordedMessageBoxes();
    }
    void TearDown() override { boxEnabled = 0; }

    static Ref<IDirect3DRMFrame3> AddCube(IDirect3DRMFrame3* parent, float x, float y, float z, float half,
                                          Ref<IDirect3DRMMeshBuilder3>* meshOut) {
        Ref<IDirect3DRMFrame3> frame;
        Ref<IDirect3DRMMeshBuilder3> mesh;
        d3drm->CreateFrame(parent, frame.put());
        frame->SetPosition(parent, x, y, z);
        d3drm->CreateMeshBuilder(mesh.put());
        EXPECT_EQ(mesh->Load("xda\\bas\\cube.x", nullptr, D3DRMLOAD_FROMFILE, nullptr, nullptr), D3DRM_OK);
        mesh->Scale(half, half, half);
        frame->AddVisual(mesh.get());
        if (meshOut) *meshOut = mesh;
        return frame;
    }
    // Where a frame's origin shows in the client area, and its depth.
    static Point OnScreen(IDirect3DRMFrame3* frame) {
        D3DVECTOR at;
        frame->GetPosition(appState->scene.get(), &at);
        D3DRMVECTOR4D s;
        appState->viewport->Transform(&s, &at);
        return Point{s.x / s.w, s.y / s.w, s.z / s.w};
    }
    void Mouse(UINT message, const Point& p, int dx = 0, int dy = 0, WPARAM keys = 0) {
        const auto x = static_cast<WORD>(std::lround(p.x) + dx), y = static_cast<WORD>(std::lround(p.y) + dy);
        SendMessageA(window, message, keys, MAKELPARAM(x, y));
    }

    Ref<IDirect3DRMFrame3> near, far;
    Ref<IDirect3DRMMeshBuilder3> nearMesh;
};

TEST_F(Selection, APressPicksTheNearestObjectsOwnFrameThroughItsMarkerAndAMissEmptiesIt) {
    SetSelectBox(1);
    for (int press = 0; press < 2; ++press) {   // the second press meets the first one's marker first
        Mouse(WM_LBUTTONDOWN, OnScreen(near.get()));
        Mouse(WM_LBUTTONUP, {0, 0, 0});
        EXPECT_TRUE(selectedFrame == near.get() && selectedVisual == nearMesh.get()) << "press " << press;
        EXPECT_EQ(VisualCount(near.get()), 2) << "the cube and one marker";
    }
    EXPECT_EQ(ToggleSelectBox(), 0);   // the marker goes at once, the selection stays
    EXPECT_EQ(VisualCount(near.get()), 1);
    EXPECT_EQ(ToggleSelectBox(), 1);
    EXPECT_EQ(VisualCount(near.get()), 2);
    Mouse(WM_RBUTTONDOWN, {2, 2, 0});   // the sky in the top left corner
    EXPECT_TRUE(selectedFrame == nullptr && selectedVisual == nullptr && highlightBox == nullptr);
    EXPECT_EQ(VisualCount(near.get()), 1);
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
}

TEST_F(Selection, TheMarkerFramesTheBoxWithGreenTubesAndAnArrowAlongZ) {
    Ref<IDirect3DRMMeshBuilder3> marker = BuildHighlightBox(D3DRMBOX{{-1.0f, -2.0f, -3.0f}, {1.0f, 2.0f, 3.0f}});
    EXPECT_EQ(marker->GetFaceCount(), 13 * 10 + 9);   // 13 cylinders, one cone
    EXPECT_EQ(marker->GetVertexCount(), 13 * 16 + 9);
    D3DRMBOX box;
    marker->GetBox(&box);
    EXPECT_NEAR(box.min.x, -1.05f, 1e-5f);
    EXPECT_NEAR(box.min.y, -2.05f, 1e-5f);
    EXPECT_NEAR(box.min.z, -3.05f, 1e-5f);
    EXPECT_NEAR(box.max.z, 3.0f + 1.0f + 0.6f, 1e-5f);   // the arrow's tip
    Ref<IDirect3DRMFaceArray> faces;
    Ref<IDirect3DRMFace2> last;
    marker->GetFaces(faces.put());
    faces->GetElement(faces->GetSize() - 1, last.put());
    EXPECT_EQ(last->GetColor(), D3DRMCreateColorRGB(0.0f, 1.0f, 0.0f));
    // A flat box keeps all its edges; the arrow head's base ring lies exactly 1.0 above it.
    Ref<IDirect3DRMMeshBuilder3> flat = BuildHighlightBox(D3DRMBOX{{-1.0f, -1.0f, 0.0f}, {1.0f, 1.0f, 0.0f}});
    EXPECT_EQ(flat->GetFaceCount(), 139);
    D3DVECTOR ring;
    flat->GetVertex(16, &ring, nullptr);
    EXPECT_FLOAT_EQ(ring.z, 1.0f);

    // Along x the cross axis u is (0, 0, 1), along z (0, 1, 0): corner 0 is u + c·v, finite.
    const float c = std::sqrt(2.0f) - 1.0f, r = 0.5f;
    for (const auto& [b, corner] : {std::pair{D3DVECTOR{2, 0, 0}, D3DVECTOR{0, -c * r, r}},
                                    std::pair{D3DVECTOR{0, 0, 2}, D3DVECTOR{-c * r, r, 0}}}) {
        Ref<IDirect3DRMMeshBuilder3> mb;
        d3drm->CreateMeshBuilder(mb.put());
        AddTube(kTubeCylinder, mb.get(), r, D3DVECTOR{}, b);
        AddTube(kTubeCone, mb.get(), r, D3DVECTOR{}, b);
        AddTube(3, mb.get(), r, D3DVECTOR{}, b);   // no such kind: nothing
        ASSERT_EQ(mb->GetFaceCount(), 10 + 9);
        D3DVECTOR v, tip;
        mb->GetVertex(0, &v, nullptr);
        mb->GetVertex(16 + 8, &tip, nullptr);
        EXPECT_TRUE(std::abs(v.x - corner.x) < 1e-5f && std::abs(v.y - corner.y) < 1e-5f && std::abs(v.z - corner.z) < 1e-5f)
            << v.x << ", " << v.y << ", " << v.z;
        EXPECT_TRUE(tip.x == b.x && tip.y == b.y && tip.z == b.z);
    }
}

TEST_F(Selection, ALeftDragTurnsSquareToTheMotionAndARightDragMovesThePictureByTheMotion) {
    const Point p = OnScreen(near.get());
    Mouse(WM_LBUTTONDOWN, p);
    EXPECT_EQ(GetCapture(), window);
    // 30 right and 40 up: the axis (0.8, −0.6, 0) in the camera's frame, 50 / √5000 radians.
    Mouse(WM_MOUSEMOVE, p, 30, -40, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, p, 30, -40, MK_LBUTTON);   // no motion: no change
    D3DVECTOR axis;
    D3DVALUE theta;
    near->GetRotation(appState->camera.get(), &axis, &theta);
    EXPECT_NEAR(axis.x, 0.8f, 1e-5f);
    EXPECT_NEAR(axis.y, -0.6f, 1e-5f);
    EXPECT_NEAR(theta, 50.0f / std::sqrt(5000.0f), 1e-5f);
    Mouse(WM_LBUTTONUP, p);
    EXPECT_TRUE(leftDragging == 0 && GetCapture() == nullptr);

    Mouse(WM_RBUTTONDOWN, p);
    Mouse(WM_MOUSEMOVE, p, 25, -15, MK_RBUTTON);
    const Point moved = OnScreen(near.get());
    EXPECT_NEAR(moved.x, p.x + 25.0f, 1e-3f);
    EXPECT_NEAR(moved.y, p.y - 15.0f, 1e-3f);
    EXPECT_NEAR(moved.depth, p.depth, 1e-6f);
    Mouse(WM_RBUTTONUP, p);
}

TEST_F(Selection, BadMouseInputNeverCrashesNorLeavesASelectionBehind) {
    const Point p = OnScreen(near.get());
    // During a flight a press does nothing, not even capture; its release still lets go.
    flyActive = 1;
    SetCapture(window);
    Mouse(WM_LBUTTONDOWN, p);
    EXPECT_TRUE(selectedFrame == nullptr && leftDragging == 0);
    Mouse(WM_LBUTTONUP, p);
    EXPECT_EQ(GetCapture(), nullptr);
    flyActive = 0;
    // Both buttons: left wins the move; after both releases the arrow is back.
    Mouse(WM_LBUTTONDOWN, p);
    Mouse(WM_RBUTTONDOWN, p);
    Mouse(WM_MOUSEMOVE, p, 10, 0, MK_LBUTTON | MK_RBUTTON);
    EXPECT_NEAR(OnScreen(near.get()).x, p.x, 1e-3f);
    Mouse(WM_LBUTTONUP, p);
    Mouse(WM_MOUSEMOVE, p, 20, 0, MK_RBUTTON);
    EXPECT_NEAR(OnScreen(near.get()).x, p.x + 10.0f, 1e-3f);
    Mouse(WM_RBUTTONUP, p);
    HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW));
    EXPECT_EQ(SetCursor(arrow), arrow);
    // Left of and below the client area: nothing there.
    Mouse(WM_LBUTTONDOWN, {-20, 400, 0});
    Mouse(WM_LBUTTONUP, {-20, 400, 0});
    EXPECT_EQ(selectedFrame, nullptr);
    // A selection, then the scene rebuilt under a running drag: the drag moves nothing.
    SetSelectBox(1);
    Mouse(WM_LBUTTONDOWN, OnScreen(near.get()));
    ASSERT_EQ(selectedFrame, near.get());
    near.reset();
    nearMesh.reset();
    far.reset();
    SendMessageA(window, WM_COMMAND, IDM_MAIN_SCENE, 0);
    EXPECT_TRUE(selectedFrame == nullptr && selectedVisual == nullptr && highlightBox == nullptr);
    Mouse(WM_MOUSEMOVE, p, 5, 5, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, p);
    SetSelectBox(0);
    // No scene at all.
    TearDownScene();
    Mouse(WM_RBUTTONDOWN, p);
    Mouse(WM_MOUSEMOVE, p, 10, 0, MK_RBUTTON);
    Mouse(WM_RBUTTONUP, p);
    EXPECT_EQ(selectedFrame, nullptr);
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
}

}  // namespace
