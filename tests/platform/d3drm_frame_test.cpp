// Frames: hierarchy, placement through reference frames, motion per Move.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/d3drm/d3drm.h"

namespace {

class Frames : public ::testing::Test {
protected:
    void SetUp() override {
        Ref<IDirect3DRM> first;
        Direct3DRMCreate(first.put());
        first->QueryInterface(IID_IDirect3DRM3, reinterpret_cast<void**>(root.put()));
        root->CreateFrame(nullptr, scene.put());
    }
    Ref<IDirect3DRMFrame3> Make(IDirect3DRMFrame3* parent) {
        Ref<IDirect3DRMFrame3> f;
        root->CreateFrame(parent, f.put());
        return f;
    }
    static D3DVECTOR Position(IDirect3DRMFrame3* f, IDirect3DRMFrame3* reference) {
        D3DVECTOR p;
        f->GetPosition(reference, &p);
        return p;
    }

    Ref<IDirect3DRM3> root;
    Ref<IDirect3DRMFrame3> scene;
};

#define EXPECT_VEC(v, X, Y, Z)        \
    do {                              \
        EXPECT_NEAR((v).x, X, 1e-4f); \
        EXPECT_NEAR((v).y, Y, 1e-4f); \
        EXPECT_NEAR((v).z, Z, 1e-4f); \
    } while (0)

}  // namespace

TEST_F(Frames, ParentSceneAndReparenting) {
    auto a = Make(scene.get());
    auto b = Make(a.get());
    Ref<IDirect3DRMFrame3> got;
    b->GetParent(got.put());
    EXPECT_EQ(got.get(), a.get());
    b->GetScene(got.put());
    EXPECT_EQ(got.get(), scene.get());
    scene->GetParent(got.put());
    EXPECT_FALSE(got);
    // Moving b under the scene keeps its local placement.
    a->SetPosition(scene.get(), 10, 0, 0);
    b->SetPosition(a.get(), 1, 2, 3);
    scene->AddChild(b.get());
    EXPECT_VEC(Position(b.get(), scene.get()), 1, 2, 3);
    b->GetParent(got.put());
    EXPECT_EQ(got.get(), scene.get());
    EXPECT_EQ(a->DeleteChild(b.get()), D3DRMERR_NOTFOUND);
    EXPECT_EQ(b->AddChild(scene.get()), D3DRMERR_BADVALUE);   // no cycles
}

TEST_F(Frames, PositionsRoundTripThroughReferenceFrames) {
    auto a = Make(scene.get());
    auto b = Make(a.get());
    a->SetPosition(scene.get(), 5, 0, 0);
    a->SetOrientation(scene.get(), 1, 0, 0, 0, 1, 0);   // a looks along the scene's +x
    b->SetPosition(scene.get(), 5, 0, 7);
    EXPECT_VEC(Position(b.get(), scene.get()), 5, 0, 7);
    // In a's coordinates the point 7 along the scene's +z lies to a's left.
    EXPECT_VEC(Position(b.get(), a.get()), -7, 0, 0);
    b->SetPosition(nullptr, 0, 0, 2);   // nullptr: the parent, a
    EXPECT_VEC(Position(b.get(), scene.get()), 7, 0, 0);
}

TEST_F(Frames, OrientationRoundTripsAndRefusesParallelVectors) {
    auto f = Make(scene.get());
    EXPECT_EQ(f->SetOrientation(scene.get(), 0, 0, 1, 0, 0, 1), D3DRMERR_BADVALUE);
    ASSERT_EQ(f->SetOrientation(scene.get(), 0, -1, 1, 0, 1, 1), D3DRM_OK);
    D3DVECTOR dir, up, right;
    f->GetOrientation(scene.get(), &dir, &up);
    EXPECT_VEC(dir, 0, -0.70710677f, 0.70710677f);
    EXPECT_VEC(up, 0, 0.70710677f, 0.70710677f);
    D3DRMVectorCrossProduct(&right, &up, &dir);
    EXPECT_VEC(right, 1, 0, 0);   // up x dir is the frame's right in a left-handed system
}

TEST_F(Frames, AChildMovesWithItsParent) {
    auto parent = Make(scene.get());
    auto child = Make(parent.get());
    child->SetPosition(parent.get(), 0, 1, 0);
    parent->SetVelocity(scene.get(), 2, 0, 0, FALSE);
    scene->Move(1.0f);
    scene->Move(1.0f);
    EXPECT_VEC(Position(parent.get(), scene.get()), 4, 0, 0);
    EXPECT_VEC(Position(child.get(), scene.get()), 4, 1, 0);
}

TEST_F(Frames, MoveAppliesRotationAndVelocityOncePerCall) {
    auto f = Make(scene.get());
    f->SetRotation(scene.get(), 0, 1, 0, 0.1f);
    scene->Move(1.0f);
    D3DVECTOR dir, up;
    f->GetOrientation(scene.get(), &dir, &up);
    EXPECT_NEAR(dir.x, std::sin(0.1f), 1e-5f);
    EXPECT_NEAR(dir.z, std::cos(0.1f), 1e-5f);
    f->SetRotation(scene.get(), 0, 1, 0, 0.0f);
    scene->Move(1.0f);
    D3DVECTOR again;
    f->GetOrientation(scene.get(), &again, &up);
    EXPECT_VEC(again, dir.x, dir.y, dir.z);
}

TEST_F(Frames, VelocityWithRotationTurnsWithTheFrame) {
    auto plain = Make(scene.get());
    auto turning = Make(scene.get());
    for (auto* f : {plain.get(), turning.get()}) f->SetRotation(scene.get(), 0, 1, 0, 1.5707964f);
    plain->SetVelocity(scene.get(), 0, 0, 1, FALSE);
    turning->SetVelocity(scene.get(), 0, 0, 1, TRUE);
    scene->Move(1.0f);
    scene->Move(1.0f);
    EXPECT_VEC(Position(plain.get(), scene.get()), 0, 0, 2);
    // The turning frame's velocity follows each quarter turn: +x, then -z.
    EXPECT_VEC(Position(turning.get(), scene.get()), 1, 0, -1);
}

TEST_F(Frames, MoveCallbacksRunAfterTheFramesOwnMotionInTheOrderAdded) {
    struct Log {
        std::vector<int> order;
        float seenZ = 0;
    } log;
    auto f = Make(scene.get());
    f->SetVelocity(scene.get(), 0, 0, 3, FALSE);
    auto first = [](IDirect3DRMFrame3* frame, void* arg, D3DVALUE) {
        auto* l = static_cast<Log*>(arg);
        l->order.push_back(1);
        D3DVECTOR p;
        frame->GetPosition(nullptr, &p);
        l->seenZ = p.z;
    };
    auto second = [](IDirect3DRMFrame3*, void* arg, D3DVALUE delta) {
        static_cast<Log*>(arg)->order.push_back(delta == 0.5f ? 2 : -2);
    };
    f->AddMoveCallback(first, &log, 0);
    f->AddMoveCallback(second, &log, 0);
    scene->Move(0.5f);
    EXPECT_EQ(log.order, (std::vector<int>{1, 2}));
    EXPECT_FLOAT_EQ(log.seenZ, 1.5f);
    f->DeleteMoveCallback(first, &log);
    scene->Move(0.5f);
    EXPECT_EQ(log.order, (std::vector<int>{1, 2, 2}));
}

TEST_F(Frames, SceneSettingsAreKeptOnTheRoot) {
    scene->SetSceneBackgroundRGB(0.0f, 0.0f, 0.4f);
    EXPECT_EQ(scene->GetSceneBackground(), 0xFF000066u);
    scene->SetSceneFogEnable(TRUE);
    scene->SetSceneFogParams(30.0f, 100.0f, 1.0f);
    D3DVALUE start, end, density;
    scene->GetSceneFogParams(&start, &end, &density);
    EXPECT_EQ(scene->GetSceneFogEnable(), TRUE);
    EXPECT_FLOAT_EQ(start, 30.0f);
    EXPECT_FLOAT_EQ(end, 100.0f);
    EXPECT_EQ(scene->SetSceneFogMode(7), D3DRMERR_BADVALUE);
}
