// Frames: hierarchy, placement through reference frames, motion per Move, move callbacks, scale.
#include <cmath>
#include <string>
#include <vector>

#include "tests/platform/d3drm_fixture.h"

namespace {

using Frames = EngineScene;

D3DVECTOR Apply(IDirect3DRMFrame3* f, D3DVECTOR local) {
    D3DVECTOR world;
    f->Transform(&world, &local);
    return world;
}

TEST_F(Frames, HierarchyAndPlacementThroughReferenceFrames) {
    auto a = Make(scene.get(), 5, 0, 0);
    auto b = Make(a.get());
    Ref<IDirect3DRMFrame3> got;
    b->GetScene(got.put());
    EXPECT_EQ(got.get(), scene.get());
    a->SetOrientation(scene.get(), 1, 0, 0, 0, 1, 0);   // a looks along the scene's +x
    b->SetPosition(scene.get(), 5, 0, 7);
    EXPECT_VEC(Position(b.get(), scene.get()), 5, 0, 7);
    EXPECT_VEC(Position(b.get(), a.get()), -7, 0, 0);   // 7 along the scene's +z lies to a's left
    b->SetPosition(nullptr, 0, 0, 2);                    // nullptr: the parent
    EXPECT_VEC(Position(b.get(), scene.get()), 7, 0, 0);

    // Moving b under the scene keeps its local placement; no cycles.
    scene->AddChild(b.get());
    EXPECT_VEC(Position(b.get(), scene.get()), 0, 0, 2);
    EXPECT_EQ(a->DeleteChild(b.get()), D3DRMERR_NOTFOUND);
    EXPECT_EQ(b->AddChild(scene.get()), D3DRMERR_BADVALUE);
    EXPECT_EQ(b->SetOrientation(scene.get(), 0, 0, 1, 0, 0, 1), D3DRMERR_BADVALUE);   // parallel vectors
}

TEST_F(Frames, MoveAppliesRotationAndVelocityOncePerCallAndChildrenFollow) {
    auto parent = Make(scene.get());
    auto child = Make(parent.get(), 0, 1, 0);
    parent->SetVelocity(scene.get(), 2, 0, 0, FALSE);
    scene->Move(1.0f);
    scene->Move(1.0f);
    EXPECT_VEC(Position(child.get(), scene.get()), 4, 1, 0);

    auto f = Make(scene.get());
    f->SetRotation(scene.get(), 0, 1, 0, 0.1f);
    scene->Move(1.0f);
    D3DVECTOR dir, up;
    f->GetOrientation(scene.get(), &dir, &up);
    EXPECT_VEC(dir, std::sin(0.1f), 0, std::cos(0.1f));
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
    // Logs the frame's name, whether the child has moved yet, and the time step.
    D3DRMFRAME3MOVECALLBACK record = [](IDirect3DRMFrame3* frame, void* arg, D3DVALUE delta) {
        auto* l = static_cast<Log*>(arg);
        char name[8] = {};
        DWORD size = sizeof name;
        frame->GetName(&size, name);
        l->events.push_back(name + std::string(Position(l->child, nullptr).x > 0 ? "+" : "0") +
                            (delta == 0.5f ? "" : "?"));
    };
    parent->SetName("p");
    child->SetName("c");
    sibling->SetName("s");
    child->AddMoveCallback(record, &log, 0);
    sibling->AddMoveCallback(record, &log, 0);
    parent->AddMoveCallback(record, &log, 0);
    parent->AddMoveCallback(record, &log, 0);
    scene->Move(0.5f);
    EXPECT_EQ(log.events, (std::vector<std::string>{"p0", "p0", "c+", "s+"}));
    sibling->DeleteMoveCallback(record, &log);
    log.events.clear();
    scene->Move(0.5f);
    EXPECT_EQ(log.events, (std::vector<std::string>{"p+", "p+", "c+"}));
}

TEST_F(Frames, AMoveCallbackMayRemoveALaterCallbackOrASiblingStillToMove) {
    struct State {
        IDirect3DRMFrame3* parent;
        IDirect3DRMFrame3* second;
        D3DRMFRAME3MOVECALLBACK later;
        int laterRuns = 0;
    } state{};
    auto parent = Make(scene.get());
    auto first = Make(parent.get());
    IDirect3DRMFrame3* second = Make(parent.get()).get();   // the parent holds it alone
    int destroyed = 0;
    second->AddDestroyCallback([](IDirect3DRMObject*, void* n) { ++*static_cast<int*>(n); }, &destroyed);
    second->SetVelocity(scene.get(), 0, 1, 0, FALSE);
    state = State{parent.get(), second, [](IDirect3DRMFrame3*, void* arg, D3DVALUE) { ++static_cast<State*>(arg)->laterRuns; }};
    first->AddMoveCallback(
        [](IDirect3DRMFrame3* frame, void* arg, D3DVALUE) {
            auto* s = static_cast<State*>(arg);
            frame->DeleteMoveCallback(s->later, s);
            s->parent->DeleteChild(s->second);
        },
        &state, 0);
    first->AddMoveCallback(state.later, &state, 0);
    scene->Move(1.0f);
    EXPECT_EQ(state.laterRuns, 0);
    EXPECT_EQ(destroyed, 1);   // gone after the move that still held it
    Ref<IDirect3DRMFrameArray> children;
    parent->GetChildren(children.put());
    EXPECT_EQ(children->GetSize(), 1u);
}

// The loader's fitting scale: along the frame's own axes, its place kept.
TEST_F(Frames, AddScaleBeforeTheTransformScalesTheFramesOwnAxes) {
    auto f = Make(scene.get(), 1, 2, 3);
    f->SetOrientation(scene.get(), 1, 0, 0, 0, 1, 0);   // z along +x, x along -z
    ASSERT_EQ(f->AddScale(D3DRMCOMBINE_BEFORE, 2, 1, 1), D3DRM_OK);
    EXPECT_VEC(Position(f.get(), scene.get()), 1, 2, 3);
    EXPECT_VEC(Apply(f.get(), {1, 0, 0}), 1, 2, 1);   // its own x, doubled
}

}  // namespace
