// Frames: hierarchy, placement through reference frames, motion per Move.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
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

TEST_F(Frames, ACallbackRemovedByAnEarlierOneInTheSameMoveDoesNotRun) {
    struct Pair {
        IDirect3DRMFrame3* frame;
        D3DRMFRAME3MOVECALLBACK second;
        int secondRuns = 0;
    } pair;
    auto second = [](IDirect3DRMFrame3*, void* arg, D3DVALUE) { ++static_cast<Pair*>(arg)->secondRuns; };
    auto first = [](IDirect3DRMFrame3*, void* arg, D3DVALUE) {
        auto* p = static_cast<Pair*>(arg);
        p->frame->DeleteMoveCallback(p->second, p);
    };
    auto f = Make(scene.get());
    pair.frame = f.get();
    pair.second = second;
    f->AddMoveCallback(first, &pair, 0);
    f->AddMoveCallback(second, &pair, 0);
    scene->Move(1.0f);
    EXPECT_EQ(pair.secondRuns, 0);
}

TEST_F(Frames, VelocityWithTheRotationIsWhatTheNextMoveApplies) {
    auto f = Make(scene.get());
    f->SetRotation(scene.get(), 0, 1, 0, 1.5707964f);
    f->SetVelocity(scene.get(), 0, 0, 1, TRUE);
    D3DVECTOR plain, turned;
    f->GetVelocity(scene.get(), &plain, FALSE);
    f->GetVelocity(scene.get(), &turned, TRUE);
    EXPECT_VEC(plain, 0, 0, 1);
    EXPECT_VEC(turned, 1, 0, 0);
    scene->Move(1.0f);
    EXPECT_VEC(Position(f.get(), scene.get()), turned.x, turned.y, turned.z);
}

TEST_F(Frames, ACloneKeepsNameAndApplicationData) {
    auto f = Make(scene.get());
    f->SetName("lamp");
    f->SetAppData(42);
    Ref<IDirect3DRMFrame3> copy;
    ASSERT_EQ(f->Clone(nullptr, IID_IDirect3DRMFrame3, reinterpret_cast<void**>(copy.put())), D3DRM_OK);
    char name[16] = "";
    DWORD size = sizeof name;
    copy->GetName(&size, name);
    EXPECT_STREQ(name, "lamp");
    EXPECT_EQ(copy->GetAppData(), 42u);
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

namespace {

D3DVECTOR Cross(D3DVECTOR a, D3DVECTOR b) {
    D3DVECTOR c;
    D3DRMVectorCrossProduct(&c, &a, &b);
    return c;
}
float Dot(D3DVECTOR a, D3DVECTOR b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3DVECTOR Normalized(D3DVECTOR v) {
    D3DRMVectorNormalize(&v);
    return v;
}
struct Axes {
    D3DVECTOR right, up, dir;
};
Axes AxesOf(IDirect3DRMFrame3* f, IDirect3DRMFrame3* reference) {
    Axes a;
    f->GetOrientation(reference, &a.dir, &a.up);
    a.right = Cross(a.up, a.dir);
    return a;
}
D3DVECTOR Apply(IDirect3DRMFrame3* f, D3DVECTOR local) {
    D3DVECTOR world;
    f->Transform(&world, &local);
    return world;
}

}  // namespace

TEST_F(Frames, LookAtWithoutRollKeepsUpInThePlaneOfTheReferencesUp) {
    auto f = Make(scene.get());
    auto target = Make(scene.get());
    f->SetPosition(scene.get(), 1, 1, 1);
    f->SetOrientation(scene.get(), 1, 1, 0, 0, 0, 1);   // start rolled and tilted
    target->SetPosition(scene.get(), 4, 5, 13);
    ASSERT_EQ(f->LookAt(target.get(), scene.get(), D3DRMCONSTRAIN_Z), D3DRM_OK);
    Axes a = AxesOf(f.get(), scene.get());
    EXPECT_VEC(a.dir, 3 / 13.0f, 4 / 13.0f, 12 / 13.0f);
    EXPECT_NEAR(a.right.y, 0, 1e-5f);   // the right axis stays level: no roll
    EXPECT_GT(a.up.y, 0);

    // The reference, not the parent, says where "up" is.
    auto tilted = Make(scene.get());
    tilted->SetOrientation(scene.get(), 0, 0, 1, 1, 1, 0);   // its y leans towards +x
    f->LookAt(target.get(), tilted.get(), D3DRMCONSTRAIN_Z);
    a = AxesOf(f.get(), tilted.get());
    EXPECT_NEAR(a.right.y, 0, 1e-5f);
    a = AxesOf(f.get(), scene.get());
    EXPECT_VEC(a.dir, 3 / 13.0f, 4 / 13.0f, 12 / 13.0f);

    // Straight up from a frame whose own y points there too: it pitches over.
    auto g = Make(scene.get());
    target->SetPosition(scene.get(), 0, 10, 0);
    ASSERT_EQ(g->LookAt(target.get(), scene.get(), D3DRMCONSTRAIN_Z), D3DRM_OK);
    a = AxesOf(g.get(), scene.get());
    EXPECT_VEC(a.dir, 0, 1, 0);
    EXPECT_VEC(a.up, 0, 0, -1);
}

TEST_F(Frames, LookAtWithAnAxisConstraintTurnsOnlyAboutThatAxis) {
    auto target = Make(scene.get());
    target->SetPosition(scene.get(), 6, 9, -2);
    for (D3DRMFRAMECONSTRAINT constraint : {D3DRMCONSTRAIN_Y, D3DRMCONSTRAIN_X}) {
        SCOPED_TRACE(constraint);
        auto parent = Make(scene.get());
        parent->SetOrientation(scene.get(), 0, 1, 1, 0, 1, -1);
        parent->SetPosition(scene.get(), 0, 2, 0);
        auto f = Make(parent.get());
        f->SetOrientation(scene.get(), 1, 0, 2, 1, 3, -1);
        const Axes before = AxesOf(f.get(), scene.get());
        ASSERT_EQ(f->LookAt(target.get(), scene.get(), constraint), D3DRM_OK);
        const Axes after = AxesOf(f.get(), scene.get());
        const D3DVECTOR kept = constraint == D3DRMCONSTRAIN_Y ? before.up : before.right;
        const D3DVECTOR now = constraint == D3DRMCONSTRAIN_Y ? after.up : after.right;
        EXPECT_VEC(now, kept.x, kept.y, kept.z);
        // z turned as near the target as the fixed axis allows: towards it, in the plane
        // through the fixed axis and the target.
        D3DVECTOR from, to;
        f->GetPosition(scene.get(), &from);
        target->GetPosition(scene.get(), &to);
        const D3DVECTOR toTarget = Normalized({to.x - from.x, to.y - from.y, to.z - from.z});
        EXPECT_NEAR(Dot(after.dir, kept), 0, 1e-5f);
        EXPECT_NEAR(Dot(Cross(kept, after.dir), toTarget), 0, 1e-5f);
        EXPECT_GT(Dot(after.dir, toTarget), 0);
    }
}

TEST_F(Frames, AddScaleCombinesBeforeAfterOrInsteadOfTheTransform) {
    auto setUp = [&] {
        auto f = Make(scene.get());
        f->SetPosition(scene.get(), 1, 2, 3);
        f->SetOrientation(scene.get(), 1, 0, 0, 0, 1, 0);   // z along +x, x along -z
        return f;
    };
    auto before = setUp();
    ASSERT_EQ(before->AddScale(D3DRMCOMBINE_BEFORE, 2, 1, 1), D3DRM_OK);
    EXPECT_VEC(Position(before.get(), scene.get()), 1, 2, 3);
    EXPECT_VEC(Apply(before.get(), {1, 0, 0}), 1, 2, 1);   // its own x, doubled
    EXPECT_VEC(Apply(before.get(), {0, 0, 1}), 2, 2, 3);

    auto after = setUp();
    ASSERT_EQ(after->AddScale(D3DRMCOMBINE_AFTER, 2, 1, 1), D3DRM_OK);
    EXPECT_VEC(Position(after.get(), scene.get()), 2, 2, 3);   // the parent's x, doubled
    EXPECT_VEC(Apply(after.get(), {0, 0, 1}), 4, 2, 3);
    EXPECT_VEC(Apply(after.get(), {1, 0, 0}), 2, 2, 2);

    auto replaced = setUp();
    ASSERT_EQ(replaced->AddScale(D3DRMCOMBINE_REPLACE, 3, 3, 3), D3DRM_OK);
    EXPECT_VEC(Position(replaced.get(), scene.get()), 0, 0, 0);
    EXPECT_VEC(Apply(replaced.get(), {1, 0, 0}), 3, 0, 0);
    EXPECT_EQ(replaced->AddScale(7, 1, 1, 1), D3DRMERR_BADVALUE);

    // A later SetOrientation keeps the frame's scale, also below a scaled parent.
    before->SetOrientation(scene.get(), 0, 0, 1, 0, 1, 0);
    EXPECT_VEC(Apply(before.get(), {1, 0, 0}), 3, 2, 3);
    auto child = Make(after.get());
    child->SetOrientation(scene.get(), 0, 0, 1, 0, 1, 0);
    D3DVALUE m[4][4];
    child->GetTransform(nullptr, m);
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_NEAR(std::sqrt(m[axis][0] * m[axis][0] + m[axis][1] * m[axis][1] + m[axis][2] * m[axis][2]), 1, 1e-5f);
}

TEST_F(Frames, GetTransformGivesRowVectorMatricesAndTransformsRoundTrip) {
    auto parent = Make(scene.get());
    auto f = Make(parent.get());
    parent->SetPosition(scene.get(), 10, 0, 0);
    parent->SetOrientation(scene.get(), 0, 1, 0, 0, 0, -1);   // z up, y towards -z
    f->SetPosition(parent.get(), 1, 2, 3);
    f->SetOrientation(parent.get(), 1, 0, 0, 0, 1, 0);
    D3DVALUE m[4][4];
    ASSERT_EQ(f->GetTransform(nullptr, m), D3DRM_OK);
    const D3DVALUE expected[4][4] = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {1, 2, 3, 1}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(m[r][c], expected[r][c], 1e-5f) << r << "," << c;

    // Relative to the scene the matrix takes a point of the frame to the world: p·M.
    f->GetTransform(scene.get(), m);
    const D3DVECTOR p{0.5f, -2, 4};
    const D3DVECTOR world = Apply(f.get(), p);
    EXPECT_VEC(world, p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
               p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
               p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]);
    EXPECT_VEC(Apply(f.get(), {0, 0, 0}), 11, 3, -2);
    D3DVECTOR back;
    ASSERT_EQ(f->InverseTransform(&back, &world), D3DRM_OK);
    EXPECT_VEC(back, p.x, p.y, p.z);
}

TEST_F(Frames, MoveRunsEachFramesMotionThenItsCallbacksThenItsChildren) {
    struct Log {
        std::vector<std::string> events;
        IDirect3DRMFrame3* child = nullptr;
    } log;
    auto parent = Make(scene.get());
    auto child = Make(parent.get());
    auto sibling = Make(parent.get());
    log.child = child.get();
    child->SetVelocity(scene.get(), 1, 0, 0, FALSE);
    // Logs the frame's name and whether the child has moved yet.
    D3DRMFRAME3MOVECALLBACK record = [](IDirect3DRMFrame3* frame, void* arg, D3DVALUE) {
        auto* l = static_cast<Log*>(arg);
        D3DVECTOR p;
        l->child->GetPosition(nullptr, &p);
        char name[8] = {};
        DWORD size = sizeof name;
        frame->GetName(&size, name);
        l->events.push_back(std::string(name) + (p.x > 0 ? "+" : "0"));
    };
    parent->SetName("p");
    child->SetName("c");
    sibling->SetName("s");
    child->AddMoveCallback(record, &log, 0);
    sibling->AddMoveCallback(record, &log, 0);
    parent->AddMoveCallback(record, &log, 0);
    parent->AddMoveCallback(record, &log, 0);
    scene->Move(1.0f);
    // The parent's callbacks see the child not yet moved; the child's own callback sees it moved.
    EXPECT_EQ(log.events, (std::vector<std::string>{"p0", "p0", "c+", "s+"}));
}

TEST_F(Frames, AMoveCallbackMayChangeTheHierarchyBeingMoved) {
    auto parent = Make(scene.get());
    auto first = Make(parent.get());
    auto second = Make(parent.get());
    second->SetVelocity(scene.get(), 0, 1, 0, FALSE);
    struct Pair {
        IDirect3DRMFrame3* parent;
        IDirect3DRMFrame3* second;
    } pair{parent.get(), second.get()};
    IDirect3DRMFrame3* secondFrame = second.get();
    second.reset();   // the parent holds it alone
    int destroyed = 0;
    secondFrame->AddDestroyCallback([](IDirect3DRMObject*, void* n) { ++*static_cast<int*>(n); }, &destroyed);
    first->AddMoveCallback(
        [](IDirect3DRMFrame3*, void* arg, D3DVALUE) {
            auto* p = static_cast<Pair*>(arg);
            p->parent->DeleteChild(p->second);   // the sibling still to be moved
        },
        &pair, 0);
    scene->Move(1.0f);
    EXPECT_EQ(destroyed, 1);   // gone after the move that still held it
    Ref<IDirect3DRMFrameArray> children;
    parent->GetChildren(children.put());
    EXPECT_EQ(children->GetSize(), 1u);
}

TEST_F(Frames, VisualsAndLightsAreHeldListedAndRemoved) {
    auto f = Make(scene.get());
    Ref<IDirect3DRMMeshBuilder3> builder;
    ASSERT_EQ(root->CreateMeshBuilder(builder.put()), D3DRM_OK);
    auto shown = Make(nullptr);   // a frame is a visual too
    Ref<IDirect3DRMLight> light, other;
    root->CreateLightRGB(D3DRMLIGHT_POINT, 1, 1, 1, light.put());
    root->CreateLightRGB(D3DRMLIGHT_AMBIENT, 1, 1, 1, other.put());
    int destroyed = 0;
    auto count = [](IDirect3DRMObject*, void* n) { ++*static_cast<int*>(n); };
    builder->AddDestroyCallback(count, &destroyed);
    light->AddDestroyCallback(count, &destroyed);

    ASSERT_EQ(f->AddVisual(builder.get()), D3DRM_OK);
    ASSERT_EQ(f->AddVisual(shown.get()), D3DRM_OK);
    EXPECT_EQ(f->AddVisual(light.get()), D3DRMERR_BADOBJECT);   // not a visual
    f->AddLight(light.get());
    f->AddLight(other.get());
    DWORD n = 0;
    f->GetVisuals(&n, nullptr);
    EXPECT_EQ(n, 2u);
    IUnknown* visual = nullptr;
    n = 1;   // room for one
    f->GetVisuals(&n, &visual);
    EXPECT_EQ(n, 1u);
    EXPECT_EQ(visual, static_cast<IUnknown*>(builder.get()));
    visual->Release();

    EXPECT_EQ(f->DeleteVisual(builder.get()), D3DRM_OK);
    EXPECT_EQ(f->DeleteVisual(builder.get()), D3DRMERR_NOTFOUND);
    EXPECT_EQ(f->DeleteLight(other.get()), D3DRM_OK);
    EXPECT_EQ(f->DeleteLight(other.get()), D3DRMERR_NOTFOUND);
    Ref<IDirect3DRMLightArray> lights;
    f->GetLights(lights.put());
    ASSERT_EQ(lights->GetSize(), 1u);
    Ref<IDirect3DRMLight> got;
    lights->GetElement(0, got.put());
    EXPECT_EQ(got.get(), light.get());
    got.reset();
    lights.reset();

    // The frame keeps what it shows alive and lets go of each exactly once when it goes.
    f->AddVisual(builder.get());
    builder.reset();
    light.reset();
    EXPECT_EQ(destroyed, 0);
    scene->DeleteChild(f.get());
    f.reset();
    EXPECT_EQ(destroyed, 2);
}

TEST_F(Frames, AClonedHierarchyIsIndependentButSharesItsVisuals) {
    auto original = Make(scene.get());
    auto child = Make(original.get());
    original->SetPosition(scene.get(), 1, 0, 0);
    child->SetPosition(original.get(), 0, 2, 0);
    original->SetVelocity(scene.get(), 0, 0, 1, FALSE);
    Ref<IDirect3DRMMeshBuilder3> builder;
    root->CreateMeshBuilder(builder.put());
    child->AddVisual(builder.get());

    Ref<IDirect3DRMFrame3> copy, childCopy;
    ASSERT_EQ(original->Clone(nullptr, IID_IDirect3DRMFrame3, reinterpret_cast<void**>(copy.put())), D3DRM_OK);
    scene->AddChild(copy.get());
    Ref<IDirect3DRMFrameArray> children;
    copy->GetChildren(children.put());
    ASSERT_EQ(children->GetSize(), 1u);
    children->GetElement(0, childCopy.put());
    EXPECT_NE(childCopy.get(), child.get());
    EXPECT_VEC(Position(childCopy.get(), scene.get()), 1, 2, 0);

    childCopy->SetPosition(copy.get(), 0, 0, 7);
    copy->Move(1.0f);   // the copy has the velocity too, and moves alone
    EXPECT_VEC(Position(copy.get(), scene.get()), 1, 0, 1);
    EXPECT_VEC(Position(original.get(), scene.get()), 1, 0, 0);
    EXPECT_VEC(Position(child.get(), original.get()), 0, 2, 0);

    IUnknown* visual = nullptr;
    DWORD n = 1;
    childCopy->GetVisuals(&n, &visual);
    ASSERT_EQ(n, 1u);
    EXPECT_EQ(visual, static_cast<IUnknown*>(builder.get()));
    visual->Release();
}

TEST_F(Frames, AFrameSpinningForHoursKeepsItsSizeAndShape) {
    auto f = Make(scene.get());
    f->SetRotation(scene.get(), 0.3f, 1.0f, 0.2f, 0.037f);
    f->SetVelocity(scene.get(), 0, 0, 1, TRUE);
    for (int i = 0; i < 200000; ++i) f->Move(1.0f);   // about an hour at 60 frames a second
    D3DVALUE m[4][4];
    f->GetTransform(nullptr, m);
    auto dot = [&m](int a, int b) { return m[a][0] * m[b][0] + m[a][1] * m[b][1] + m[a][2] * m[b][2]; };
    for (int axis = 0; axis < 3; ++axis) EXPECT_NEAR(dot(axis, axis), 1.0f, 1e-4f) << axis;
    EXPECT_NEAR(dot(0, 2), 0.0f, 1e-4f);
    D3DVECTOR v;
    f->GetVelocity(nullptr, &v, TRUE);
    EXPECT_NEAR(Dot(v, v), 1.0f, 1e-4f);
}
