// Animations: keys that place a frame over time, closed spline paths, animation sets.
#include <cmath>
#include <vector>

#include "tests/platform/d3drm_fixture.h"

namespace {

constexpr DWORD kFlightPath = D3DRMANIMATION_CLOSED | D3DRMANIMATION_SPLINEPOSITION | D3DRMANIMATION_POSITION;

struct Vec {
    float x, y, z;
};

class Animations : public EngineScene {
protected:
    void SetUp() override {
        EngineScene::SetUp();
        frame = Make(scene.get());
        ASSERT_EQ(root->CreateAnimation(animation.put()), D3DRM_OK);
        animation->SetFrame(frame.get());
    }
    // Where the animation puts the frame at `time`, in its parent's coordinates.
    D3DVECTOR At(float time) {
        animation->SetTime(time);
        return Position(frame.get(), nullptr);
    }
    static D3DRMQUATERNION AboutY(float angle) { return {std::cos(angle / 2), D3DVECTOR{0, std::sin(angle / 2), 0}}; }

    Ref<IDirect3DRMFrame3> frame;
    Ref<IDirect3DRMAnimation2> animation;
};

TEST_F(Animations, AClosedSplinePassesThroughEveryKeyAndLoopsSmoothlyFromTheFirstKeyTime) {
    // Five keys at uneven times starting at 1: period 4, a square whose last key repeats the first.
    ASSERT_EQ(animation->SetOptions(kFlightPath), D3DRM_OK);
    const float times[] = {1, 2, 3.5f, 4, 5};
    const Vec keys[] = {{0, 0, 0}, {10, 0, 0}, {10, 0, 10}, {0, 0, 10}, {0, 0, 0}};
    for (int k = 0; k < 5; ++k) animation->AddPositionKey(times[k], keys[k].x, keys[k].y, keys[k].z);
    for (int k = 0; k < 5; ++k) EXPECT_VEC(At(times[k]), keys[k].x, keys[k].y, keys[k].z);
    EXPECT_VEC(At(7.5f), 10, 0, 10);   // 3.5 + 4
    for (float t : {1.3f, 2.7f, 4.9f}) {
        const D3DVECTOR p = At(t);
        EXPECT_VEC(At(t + 4), p.x, p.y, p.z);
        EXPECT_VEC(At(t - 8), p.x, p.y, p.z);
    }
    // The path leaves the first key with the speed it arrives at the last one.
    const float e = 1e-3f;
    const D3DVECTOR a = At(5 - e), b = At(5), c = At(1 + e);
    EXPECT_NEAR((b.x - a.x) / e, (c.x - b.x) / e, 0.05f);
    EXPECT_NEAR((b.z - a.z) / e, (c.z - b.z) / e, 0.05f);
    EXPECT_GT(std::abs(c.z - b.z) / e, 1.0f);
}

// The options the .x loader gives its animations: closed, linear.
TEST_F(Animations, LinearClosedAnimationsAndKeysThatReplace) {
    animation->SetOptions(D3DRMANIMATION_CLOSED | D3DRMANIMATION_LINEARPOSITION);
    animation->AddPositionKey(0, 0, 0, 0);
    animation->AddPositionKey(2, 9, 0, 0);
    animation->AddPositionKey(2, 4, 0, 0);   // replaces the key at 2
    animation->AddPositionKey(3, 4, 6, 0);
    EXPECT_VEC(At(1.0f), 2, 0, 0);
    EXPECT_VEC(At(2.5f), 4, 3, 0);
    EXPECT_VEC(At(4.0f), 2, 0, 0);   // 3 + 1 wraps to 1
    EXPECT_EQ(animation->SetOptions(D3DRMANIMATION_OPEN | D3DRMANIMATION_CLOSED), D3DRMERR_BADVALUE);
    // The frame is not held: it may go first, leaving the animation nothing to place.
    scene->DeleteChild(frame.get());
    frame.reset();
    EXPECT_EQ(animation->SetTime(0.5f), D3DRM_OK);
}

TEST_F(Animations, RotationAndScaleKeysApplyUnlessOnlyThePositionIsAnimated) {
    animation->SetOptions(D3DRMANIMATION_OPEN | D3DRMANIMATION_LINEARPOSITION | D3DRMANIMATION_SCALEANDROTATION);
    const D3DRMQUATERNION none = AboutY(0), quarter = AboutY(1.5707964f);
    animation->AddRotateKey(0, &none);
    animation->AddRotateKey(2, &quarter);
    frame->SetPosition(scene.get(), 1, 2, 3);
    animation->SetTime(1.0f);
    // Halfway is an eighth turn, the same way round as a frame's own rotation about +y.
    D3DVECTOR dir, up;
    frame->GetOrientation(nullptr, &dir, &up);
    EXPECT_VEC(dir, std::sin(0.7853982f), 0, std::cos(0.7853982f));
    EXPECT_VEC(Position(frame.get(), nullptr), 1, 2, 3);   // no position keys: it stays

    animation->AddScaleKey(0, 1, 1, 1);
    animation->AddScaleKey(2, 3, 1, 1);
    animation->SetTime(2.0f);
    const D3DVECTOR unitX{1, 0, 0};
    D3DVECTOR world;
    frame->Transform(&world, &unitX);
    EXPECT_VEC(world, 1, 2, 0);   // x scaled by 3, then turned to -z

    // Position only: the keys' rotation and scale are left out.
    animation->AddPositionKey(0, 5, 5, 5);
    animation->SetOptions(D3DRMANIMATION_CLOSED | D3DRMANIMATION_LINEARPOSITION | D3DRMANIMATION_POSITION);
    frame->SetOrientation(scene.get(), 0, 0, -1, 0, 1, 0);
    animation->SetTime(0.5f);
    frame->GetOrientation(nullptr, &dir, &up);
    EXPECT_VEC(dir, 0, 0, -1);
    EXPECT_VEC(Position(frame.get(), nullptr), 5, 5, 5);
}

}  // namespace
