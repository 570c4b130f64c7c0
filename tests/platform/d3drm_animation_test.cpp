// Animations: keys that place a frame over time, closed spline paths, animation sets.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/d3drm/d3drm.h"

namespace {

constexpr DWORD kFlightPath = D3DRMANIMATION_CLOSED | D3DRMANIMATION_SPLINEPOSITION | D3DRMANIMATION_POSITION;

struct Vec {
    float x, y, z;
};

// A closed flight path: the last key repeats the first.
const std::vector<Vec> kPath = {{-15, 4, -40}, {-14, 4.5f, -35}, {13, 2, -30}, {-12, 1.5f, 25}, {11, 2, 10},
                                {-10, 2.5f, -15}, {9, 1, 10},    {2, 2.5f, 8},   {-2, 1, -8},    {9, 1.5f, -10},
                                {-10, 2, 15},   {11, 2.5f, -20}, {12, 3, 25},    {13, 4, -30},   {-14, 5.5f, -35},
                                {-15, 4, -40}};

#define EXPECT_VEC(v, X, Y, Z)        \
    do {                              \
        EXPECT_NEAR((v).x, X, 1e-3f); \
        EXPECT_NEAR((v).y, Y, 1e-3f); \
        EXPECT_NEAR((v).z, Z, 1e-3f); \
    } while (0)

class Animations : public ::testing::Test {
protected:
    void SetUp() override {
        Ref<IDirect3DRM> first;
        Direct3DRMCreate(first.put());
        first->QueryInterface(IID_IDirect3DRM3, reinterpret_cast<void**>(root.put()));
        root->CreateFrame(nullptr, scene.put());
        root->CreateFrame(scene.get(), frame.put());
        ASSERT_EQ(root->CreateAnimation(animation.put()), D3DRM_OK);
    }
    Ref<IDirect3DRMAnimation2> MakeAnimation() {
        Ref<IDirect3DRMAnimation2> a;
        root->CreateAnimation(a.put());
        return a;
    }
    // Where the animation puts the frame at `time`, in its parent's coordinates.
    D3DVECTOR At(IDirect3DRMAnimation2* a, float time) {
        a->SetTime(time);
        D3DVECTOR p;
        frame->GetPosition(nullptr, &p);
        return p;
    }
    static D3DRMQUATERNION AboutY(float angle) {
        D3DRMQUATERNION q;
        q.s = std::cos(angle / 2);
        q.v = D3DVECTOR{0, std::sin(angle / 2), 0};
        return q;
    }

    Ref<IDirect3DRM3> root;
    Ref<IDirect3DRMFrame3> scene, frame;
    Ref<IDirect3DRMAnimation2> animation;
};

}  // namespace

TEST_F(Animations, ClosedSplinePassesThroughEveryKeyAndLoopsWithThePeriodOfItsKeys) {
    ASSERT_EQ(animation->SetOptions(kFlightPath), D3DRM_OK);
    EXPECT_EQ(animation->GetOptions(), kFlightPath);
    for (size_t k = 0; k < kPath.size(); ++k)
        animation->AddPositionKey(static_cast<float>(k), kPath[k].x, kPath[k].y, kPath[k].z);
    animation->SetFrame(frame.get());
    for (size_t k = 0; k < kPath.size(); ++k) {
        SCOPED_TRACE(k);
        const D3DVECTOR p = At(animation.get(), static_cast<float>(k));
        EXPECT_VEC(p, kPath[k].x, kPath[k].y, kPath[k].z);
    }
    // Halfway between evenly spaced keys a Catmull-Rom spline lies at (-P0 + 9 P1 + 9 P2 - P3) / 16,
    // away from the straight line; at the start the closed path takes the key before the last
    // as its neighbour.
    auto midpoint = [](const Vec& p0, const Vec& p1, const Vec& p2, const Vec& p3) {
        return Vec{(-p0.x + 9 * p1.x + 9 * p2.x - p3.x) / 16, (-p0.y + 9 * p1.y + 9 * p2.y - p3.y) / 16,
                   (-p0.z + 9 * p1.z + 9 * p2.z - p3.z) / 16};
    };
    Vec m = midpoint(kPath[0], kPath[1], kPath[2], kPath[3]);
    EXPECT_VEC(At(animation.get(), 1.5f), m.x, m.y, m.z);
    m = midpoint(kPath[14], kPath[0], kPath[1], kPath[2]);
    EXPECT_VEC(At(animation.get(), 0.5f), m.x, m.y, m.z);
    m = midpoint(kPath[13], kPath[14], kPath[15], kPath[1]);
    EXPECT_VEC(At(animation.get(), 14.5f), m.x, m.y, m.z);
    // The period is 15: times a period apart, before and after the keys, place alike.
    for (float t : {0.25f, 3.7f, 14.9f}) {
        SCOPED_TRACE(t);
        const D3DVECTOR p = At(animation.get(), t);
        EXPECT_VEC(At(animation.get(), t + 15.0f), p.x, p.y, p.z);
        EXPECT_VEC(At(animation.get(), t + 45.0f), p.x, p.y, p.z);
        EXPECT_VEC(At(animation.get(), t - 15.0f), p.x, p.y, p.z);
    }
}

TEST_F(Animations, TheClosedPeriodRunsFromTheFirstKeyTimeAndTheJoinIsSmooth) {
    // Five keys at uneven times starting at 1: period 4, a square whose last key repeats the first.
    animation->SetOptions(kFlightPath);
    const float times[] = {1, 2, 3.5f, 4, 5};
    const Vec keys[] = {{0, 0, 0}, {10, 0, 0}, {10, 0, 10}, {0, 0, 10}, {0, 0, 0}};
    for (int k = 0; k < 5; ++k) animation->AddPositionKey(times[k], keys[k].x, keys[k].y, keys[k].z);
    animation->SetFrame(frame.get());
    const D3DVECTOR early = At(animation.get(), 1.3f);
    EXPECT_VEC(At(animation.get(), 5.3f), early.x, early.y, early.z);
    EXPECT_VEC(At(animation.get(), -2.7f), early.x, early.y, early.z);
    EXPECT_VEC(At(animation.get(), 7.5f), 10, 0, 10);   // 3.5 + 4
    // The path leaves the first key with the speed it arrives at the last one.
    const float e = 1e-3f;
    const D3DVECTOR a = At(animation.get(), 5 - e), b = At(animation.get(), 5), c = At(animation.get(), 1 + e);
    EXPECT_NEAR((b.x - a.x) / e, (c.x - b.x) / e, 0.05f);
    EXPECT_NEAR((b.z - a.z) / e, (c.z - b.z) / e, 0.05f);
    EXPECT_GT(std::abs(c.z - b.z) / e, 1.0f);   // and that speed is not zero
}

TEST_F(Animations, LinearKeysInterpolateAndAnOpenAnimationHoldsItsEnds) {
    animation->SetOptions(D3DRMANIMATION_OPEN | D3DRMANIMATION_LINEARPOSITION);
    animation->AddPositionKey(0, 0, 0, 0);
    animation->AddPositionKey(2, 4, 0, 0);
    animation->AddPositionKey(3, 4, 6, 0);
    animation->SetFrame(frame.get());
    EXPECT_VEC(At(animation.get(), 1.0f), 2, 0, 0);
    EXPECT_VEC(At(animation.get(), 2.5f), 4, 3, 0);
    EXPECT_VEC(At(animation.get(), -5.0f), 0, 0, 0);
    EXPECT_VEC(At(animation.get(), 10.0f), 4, 6, 0);

    animation->SetOptions(D3DRMANIMATION_OPEN | D3DRMANIMATION_SPLINEPOSITION);
    EXPECT_VEC(At(animation.get(), 2.0f), 4, 0, 0);
    EXPECT_VEC(At(animation.get(), 10.0f), 4, 6, 0);

    animation->SetOptions(D3DRMANIMATION_CLOSED | D3DRMANIMATION_LINEARPOSITION);
    EXPECT_VEC(At(animation.get(), 4.0f), 2, 0, 0);   // 3 + 1 wraps to 1
}

TEST_F(Animations, RotationAndScaleKeysApplyUnlessOnlyThePositionIsAnimated) {
    animation->SetOptions(D3DRMANIMATION_OPEN | D3DRMANIMATION_LINEARPOSITION | D3DRMANIMATION_SCALEANDROTATION);
    const D3DRMQUATERNION none = AboutY(0), quarter = AboutY(1.5707964f);
    animation->AddRotateKey(0, &none);
    animation->AddRotateKey(2, &quarter);
    frame->SetPosition(scene.get(), 1, 2, 3);
    animation->SetFrame(frame.get());
    animation->SetTime(1.0f);
    D3DVECTOR dir, up, position;
    frame->GetOrientation(nullptr, &dir, &up);
    // Halfway is an eighth turn, the same way round as a frame's own rotation about +y.
    EXPECT_VEC(dir, std::sin(0.7853982f), 0, std::cos(0.7853982f));
    EXPECT_VEC(up, 0, 1, 0);
    Ref<IDirect3DRMFrame3> spun;
    root->CreateFrame(scene.get(), spun.put());
    spun->SetRotation(scene.get(), 0, 1, 0, 0.7853982f);
    spun->Move(1.0f);
    D3DVECTOR spunDir;
    spun->GetOrientation(nullptr, &spunDir, &up);
    EXPECT_VEC(dir, spunDir.x, spunDir.y, spunDir.z);
    // Without position keys the frame stays where it was.
    frame->GetPosition(nullptr, &position);
    EXPECT_VEC(position, 1, 2, 3);

    animation->AddScaleKey(0, 1, 1, 1);
    animation->AddScaleKey(2, 3, 1, 1);
    animation->SetTime(2.0f);
    frame->GetOrientation(nullptr, &dir, &up);
    EXPECT_VEC(dir, 1, 0, 0);
    const D3DVECTOR unitX{1, 0, 0};
    D3DVECTOR world;
    frame->Transform(&world, &unitX);
    EXPECT_VEC(world, 1, 2, 3 - 3);   // x scaled by 3, then turned to -z
    animation->SetTime(1.0f);
    frame->Transform(&world, &unitX);
    EXPECT_NEAR(std::hypot(world.x - 1, world.z - 3), 2.0f, 1e-4f);

    // Position only: the keys' rotation and scale are left out.
    animation->AddPositionKey(0, 5, 5, 5);
    animation->SetOptions(D3DRMANIMATION_CLOSED | D3DRMANIMATION_LINEARPOSITION | D3DRMANIMATION_POSITION);
    frame->SetOrientation(scene.get(), 0, 0, -1, 0, 1, 0);
    animation->SetTime(0.5f);
    frame->GetOrientation(nullptr, &dir, &up);
    EXPECT_VEC(dir, 0, 0, -1);
    frame->GetPosition(nullptr, &position);
    EXPECT_VEC(position, 5, 5, 5);
}

TEST_F(Animations, AKeyAtTheTimeOfAnotherReplacesItAndDeleteKeyRemovesEveryKind) {
    animation->SetOptions(D3DRMANIMATION_OPEN | D3DRMANIMATION_SPLINEPOSITION);
    animation->AddPositionKey(0, 0, 0, 0);
    animation->AddPositionKey(1, 1, 0, 0);
    animation->AddPositionKey(1, 2, 0, 0);   // replaces the key at 1
    animation->AddPositionKey(2, 3, 0, 0);
    const D3DRMQUATERNION q = AboutY(1.0f);
    animation->AddRotateKey(1, &q);
    EXPECT_EQ(animation->GetKeyCount(), 4u);
    animation->SetFrame(frame.get());
    EXPECT_VEC(At(animation.get(), 1.0f), 2, 0, 0);
    EXPECT_EQ(animation->DeleteKey(1), D3DRM_OK);
    EXPECT_EQ(animation->GetKeyCount(), 2u);
    EXPECT_EQ(animation->DeleteKey(1), D3DRMERR_NOTFOUND);
    EXPECT_VEC(At(animation.get(), 1.0f), 1.5f, 0, 0);
    EXPECT_EQ(animation->SetOptions(D3DRMANIMATION_OPEN | D3DRMANIMATION_CLOSED), D3DRMERR_BADVALUE);
}

TEST_F(Animations, TheFrameIsNotHeldAndItsDestructionLeavesTheAnimationHarmless) {
    animation->AddPositionKey(0, 1, 1, 1);
    animation->AddPositionKey(1, 2, 2, 2);
    EXPECT_EQ(animation->SetTime(0.5f), D3DRM_OK);   // no frame yet

    Ref<IDirect3DRMFrame3> first, second;
    root->CreateFrame(nullptr, first.put());
    root->CreateFrame(nullptr, second.put());
    animation->SetFrame(first.get());
    animation->SetFrame(second.get());   // leaves the first frame for good
    int destroyed = 0;
    second->AddDestroyCallback([](IDirect3DRMObject*, void* n) { ++*static_cast<int*>(n); }, &destroyed);
    first.reset();
    second.reset();
    EXPECT_EQ(destroyed, 1);   // the animation held no reference
    Ref<IDirect3DRMFrame3> got;
    animation->GetFrame(got.put());
    EXPECT_FALSE(got);
    EXPECT_EQ(animation->SetTime(0.25f), D3DRM_OK);

    // An animation that goes first leaves nothing behind on its frame.
    root->CreateFrame(nullptr, first.put());
    animation->SetFrame(first.get());
    animation.reset();
    first.reset();
}

TEST_F(Animations, AFrameDestroyCallbackMayReleaseTheAnimationAttachedToIt) {
    // A flight's end callback on the camera releases the path animation still attached to
    // the camera; the animation's own callback, registered later, must then not run.
    Ref<IDirect3DRMFrame3> camera;
    root->CreateFrame(nullptr, camera.put());
    IDirect3DRMAnimation2* owned = animation.detach();
    camera->AddDestroyCallback(
        [](IDirect3DRMObject*, void* arg) {
            auto** a = static_cast<IDirect3DRMAnimation2**>(arg);
            (*a)->Release();
            *a = nullptr;
        },
        &owned);
    owned->AddPositionKey(0, 1, 2, 3);
    owned->SetFrame(camera.get());
    camera.reset();
    EXPECT_EQ(owned, nullptr);
}

TEST_F(Animations, ASetHoldsItsAnimationsAndDrivesThemAll) {
    Ref<IDirect3DRMAnimationSet2> set;
    ASSERT_EQ(root->CreateAnimationSet(set.put()), D3DRM_OK);
    Ref<IDirect3DRMAnimationSet2> asSet;
    ASSERT_EQ(set->QueryInterface(IID_IDirect3DRMAnimationSet2, reinterpret_cast<void**>(asSet.put())), S_OK);
    Ref<IDirect3DRMFrame3> second;
    root->CreateFrame(scene.get(), second.put());
    int destroyed = 0;
    {
        auto a = MakeAnimation();
        auto b = MakeAnimation();
        a->SetOptions(D3DRMANIMATION_CLOSED | D3DRMANIMATION_LINEARPOSITION);
        a->AddPositionKey(0, 0, 0, 0);
        a->AddPositionKey(10, 10, 0, 0);
        a->SetFrame(frame.get());
        b->AddPositionKey(0, 0, 0, 0);
        b->AddPositionKey(10, 0, 20, 0);
        b->SetFrame(second.get());
        b->AddDestroyCallback([](IDirect3DRMObject*, void* n) { ++*static_cast<int*>(n); }, &destroyed);
        set->AddAnimation(a.get());
        set->AddAnimation(b.get());
        set->AddAnimation(b.get());
    }
    EXPECT_EQ(set->GetAnimationCount(), 2u);
    EXPECT_EQ(set->SetTime(2.5f), D3DRM_OK);
    D3DVECTOR p;
    frame->GetPosition(nullptr, &p);
    EXPECT_VEC(p, 2.5f, 0, 0);
    second->GetPosition(nullptr, &p);
    EXPECT_VEC(p, 0, 5, 0);

    Ref<IDirect3DRMAnimation2> b;
    ASSERT_EQ(set->GetAnimation(1, b.put()), D3DRM_OK);
    EXPECT_EQ(set->DeleteAnimation(b.get()), D3DRM_OK);
    EXPECT_EQ(set->DeleteAnimation(b.get()), D3DRMERR_NOTFOUND);
    EXPECT_EQ(set->GetAnimationCount(), 1u);
    set->SetTime(5.0f);
    second->GetPosition(nullptr, &p);
    EXPECT_VEC(p, 0, 5, 0);   // no longer driven
    EXPECT_EQ(destroyed, 0);
    b.reset();
    EXPECT_EQ(destroyed, 1);
}
