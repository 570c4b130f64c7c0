// Flights: where the paths put the camera and the flock, what the camera looks at, and how a
// scene rebuild ends them.
#include <cmath>

#include "fly/fly_movement.h"
#include "tests/content/content_fixture.h"

namespace {

constexpr const char* kCube = "xda\\bas\\cube.x";

#define EXPECT_AT(v, X, Y, Z)             \
    do {                                  \
        EXPECT_NEAR((v).x, (X), 1e-3f);   \
        EXPECT_NEAR((v).y, (Y), 1e-3f);   \
        EXPECT_NEAR((v).z, (Z), 1e-3f);   \
    } while (0)

class Flights : public EmptyScene {
protected:
    static void Step() { appState->scene->Move(1.0f); }
    static D3DVECTOR At(IDirect3DRMFrame3* frame) {
        D3DVECTOR p;
        frame->GetPosition(appState->scene.get(), &p);
        return p;
    }
    // The frame's z axis points at the target's origin.
    static void ExpectLooksAt(IDirect3DRMFrame3* frame, IDirect3DRMFrame3* target) {
        const D3DVECTOR from = At(frame), to = At(target);
        const D3DVECTOR d{to.x - from.x, to.y - from.y, to.z - from.z};
        const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        D3DVECTOR dir, up;
        frame->GetOrientation(appState->scene.get(), &dir, &up);
        EXPECT_AT(dir, d.x / length, d.y / length, d.z / length);
    }
    // Counts the object's destruction into `count`.
    static void CountDestruction(IDirect3DRMObject* object, int* count) {
        object->AddDestroyCallback([](IDirect3DRMObject*, void* n) { ++*static_cast<int*>(n); }, count);
    }
    IDirect3DRMFrame3* camera() const { return appState->camera.get(); }
};

TEST_F(Flights, CameraPathsStartAtTheirFirstKeyAroundDanceBaseLookingAtTheOrigin) {
    pathSpeed = 0.0f;   // the camera stays at path time 0: key 0
    Ref<IDirect3DRMFrame3> origin;
    d3drm->CreateFrame(appState->scene.get(), origin.put());
    const struct {
        int path;
        D3DVECTOR base, key0;
    } cases[] = {
        {0, {0, 0, 0}, {-14, 4, 27.5f}}, {3, {0, 0, 0}, {-15, 4, -20}},  {0, {1, 2, 3}, {-13, 6, 30.5f}},
        {1, {1, 2, 3}, {-29, 6, -27}},   {2, {1, 2, 3}, {-39, 9, -27}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        danceBase = c.base;
        StartCameraPath(c.path);
        Step();
        EXPECT_AT(At(camera()), c.key0.x, c.key0.y, c.key0.z);
        ExpectLooksAt(camera(), origin.get());
    }
}

TEST_F(Flights, EachCameraPathStartAddsAStepAndReleasesThePathItReplaces) {
    StartCameraPath(0);
    int released = 0;
    CountDestruction(pathAnimation.get(), &released);
    Step();
    EXPECT_FLOAT_EQ(pathTime, 0.005f);
    StartCameraPath(1);
    EXPECT_EQ(released, 1);
    Step();
    EXPECT_FLOAT_EQ(pathTime, 0.015f);
}

TEST_F(Flights, TheFlockFliesBehindItsLeadAtFixedLagsOnASqueezedPath) {
    EXPECT_FALSE(StartFlock(kCube, kCube, kCube, 2));
    flockSpeed = 0.0f;
    flockTime = 1.0f;
    ASSERT_TRUE(StartFlock(kCube, kCube, kCube, 0));
    for (int i = 0; i < 3; ++i) Step();   // the frames outlive the steps that attach them
    EXPECT_AT(At(flockFrames[0]), -10, 8, -5);   // wave key 1, a quarter of its z
    Ref<IDirect3DRMFrame3> probe;
    d3drm->CreateFrame(appState->scene.get(), probe.put());
    const float lags[kFlockSize] = {0.0f, 0.10f, 0.15f, 0.20f, 0.25f};
    for (int i = 0; i < kFlockSize; ++i) {
        SCOPED_TRACE(i);
        pathAnimation->SetFrame(probe.get());
        pathAnimation->SetTime(1.0f - lags[i]);
        const D3DVECTOR expected = At(probe.get());
        EXPECT_AT(At(flockFrames[i]), expected.x, expected.y, expected.z);
    }
}

TEST_F(Flights, TheCameraChasesTheModelOnTheBuiltInPathOrTheScriptsWithTheLight) {
    animationStep = 0.0f;   // all stays at path time 2
    flyState.time = 2.0f;
    ASSERT_TRUE(StartFollowFly(kCube));
    Step();
    EXPECT_AT(At(camera()), 13, 2, -30);   // key 2 of the built-in path
    EXPECT_EQ(VisualCount(flyState.objectFrame.get()), 1);
    ExpectLooksAt(camera(), flyState.objectFrame.get());

    for (int k = 0; k < 16; ++k) flyPathPoints[k] = D3DVECTOR{float(k), 1.0f, -float(k)};
    flyPathCount = 16;
    flyLight = 1;
    ASSERT_TRUE(StartFollowFly(""));
    Step();
    EXPECT_AT(At(camera()), 2, 1, -2);
    EXPECT_AT(At(flyState.objectFrame.get()), 2.5f, 1, -2.5f);   // half a time unit ahead
    ASSERT_EQ(flyState.lightOn, 1);
    ExpectLooksAt(camera(), flyState.lightFrame.get());
}

TEST_F(Flights, ASceneRebuildEndsEveryFlightAndReleasesItsPaths) {
    flyLight = 1;
    ASSERT_TRUE(StartFollowFly(kCube));
    StartCameraPath(2);
    ASSERT_TRUE(StartFlock(kCube, kCube, kCube, 1));
    Step();
    int released = 0;
    CountDestruction(flyState.animation.get(), &released);
    CountDestruction(pathAnimation.get(), &released);
    TearDownScene();
    ASSERT_TRUE(CreateScene(window, ""));
    EXPECT_EQ(released, 2);
    EXPECT_FALSE(flyState.objectFrame || flyState.aimFrame || flyState.lightFrame || pathAnimation);
    EXPECT_EQ(flyState.lightOn, 0);
    const float times[] = {flyState.time, pathTime, flockTime};
    Step();
    EXPECT_EQ(flyState.time, times[0]);
    EXPECT_EQ(pathTime, times[1]);
    EXPECT_EQ(flockTime, times[2]);
}

TEST_F(Flights, AMissingFollowModelIsReportedTwiceAndFliesNothing) {
    EXPECT_FALSE(StartFollowFly("xda\\missing.x"));
    const auto& boxes = win32test::RecordedMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Failed to load Fly-Mesh");
    EXPECT_EQ(boxes[1].text, "Failed to Created Fly-Animation.");
    Step();
    EXPECT_EQ(flyState.time, 0.0f);
}

}  // namespace
