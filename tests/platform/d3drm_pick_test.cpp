// Ray picking through frame hierarchies, and the viewport's projection of world points.
#include <glm/glm.hpp>

#include <vector>

#include "platform/d3drm/mesh_builder.h"
#include "platform/d3drm/projection.h"
#include "platform/d3drm/viewport.h"
#include "tests/platform/d3drm_fixture.h"

namespace {

// A square of side 2 in its z = 0 plane, facing -z, one face.
Ref<IDirect3DRMMeshBuilder3> Square(IDirect3DRM3* root, D3DCOLOR color) {
    Ref<IDirect3DRMMeshBuilder3> made;
    root->CreateMeshBuilder(made.put());
    MeshBuilder* b = MeshBuilder::From(made.get());
    b->positions = {{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}};
    auto face = Ref<IDirect3DRMFace2>::Adopt(new Face(b));
    Face::From(face.get())->vertices = {0, 1, 2, 3};
    face->SetColor(color);
    b->faces.push_back(face);
    return made;
}

struct Picked {
    Ref<IDirect3DRMVisual> visual;
    std::vector<IDirect3DRMFrame3*> path;
    D3DRMPICKDESC2 description;
};

// Every pick of a RayPick, in order.
std::vector<Picked> Pick(IDirect3DRMFrame3* from, IDirect3DRMFrame3* reference, glm::vec3 origin, glm::vec3 dir) {
    D3DRMRAY ray;
    ray.dvPos = D3DVECTOR{origin.x, origin.y, origin.z};
    ray.dvDir = D3DVECTOR{dir.x, dir.y, dir.z};
    Ref<IDirect3DRMPicked2Array> picks;
    EXPECT_EQ(from->RayPick(reference, &ray, 0, picks.put()), D3DRM_OK);
    std::vector<Picked> out;
    for (DWORD i = 0; picks && i < picks->GetSize(); ++i) {
        Picked p;
        Ref<IDirect3DRMFrameArray> frames;
        EXPECT_EQ(picks->GetPick(i, p.visual.put(), frames.put(), &p.description), D3DRM_OK);
        for (DWORD f = 0; f < frames->GetSize(); ++f) {
            Ref<IDirect3DRMFrame3> frame;
            frames->GetElement(f, frame.put());
            p.path.push_back(frame.get());   // the scene keeps the frames alive
        }
        out.push_back(std::move(p));
    }
    return out;
}

bool Same(IUnknown* a, IUnknown* b) {
    Ref<IUnknown> ua, ub;
    a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ua.put()));
    b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ub.put()));
    return ua.get() == ub.get();
}

using Picking = EngineScene;
using Path = std::vector<IDirect3DRMFrame3*>;

TEST_F(Picking, HitsComeNearestFirstWithTheirFramePaths) {
    auto a = Make(scene.get(), 0, 0, 10);
    auto b = Make(scene.get());
    auto c = Make(b.get(), 0, 0, 5);
    auto far = Square(root.get(), 0xFFFF0000), near = Square(root.get(), 0xFF00FF00);
    a->AddVisual(far.get());   // added first, but further away
    c->AddVisual(near.get());
    const auto picks = Pick(scene.get(), nullptr, {0.2f, 0.3f, -1.0f}, {0, 0, 2});
    ASSERT_EQ(picks.size(), 2u);
    EXPECT_TRUE(Same(picks[0].visual.get(), near.get()));
    EXPECT_EQ(picks[0].path, (Path{scene.get(), b.get(), c.get()}));
    EXPECT_VEC(picks[0].description.dvPosition, 0.2f, 0.3f, 5.0f);
    EXPECT_VEC(picks[0].description.dvNormal, 0.0f, 0.0f, -1.0f);
    EXPECT_EQ(picks[0].description.dcColor, 0xFF00FF00u);
    EXPECT_TRUE(Same(picks[1].visual.get(), far.get()));
    EXPECT_VEC(picks[1].description.dvPosition, 0.2f, 0.3f, 10.0f);
    // From a frame inside the scene: only what lies below it, the path starting there.
    const auto below = Pick(b.get(), nullptr, {0.2f, 0.3f, -1.0f}, {0, 0, 2});
    ASSERT_EQ(below.size(), 1u);
    EXPECT_EQ(below[0].path, (Path{b.get(), c.get()}));
    // An origin between the two sees only the one ahead; one past both, or beside them, nothing.
    EXPECT_EQ(Pick(scene.get(), nullptr, {0, 0, 7}, {0, 0, 1}).size(), 1u);
    EXPECT_TRUE(Pick(scene.get(), nullptr, {0, 0, 11}, {0, 0, 1}).empty());
    EXPECT_TRUE(Pick(scene.get(), nullptr, {1.5f, 0, 0}, {0, 0, 1}).empty());
}

TEST_F(Picking, ScaledAndTurnedFramesAreHitWhereTheyAppear) {
    // p: twice the size, looking along world +x, at (10, 0, 0). k, 3 units along p's z, shows
    // the square at world x = 16, y and z within -2..2, facing world -x.
    auto p = Make(scene.get());
    p->AddScale(D3DRMCOMBINE_REPLACE, 2, 2, 2);
    p->SetOrientation(scene.get(), 1, 0, 0, 0, 1, 0);
    p->SetPosition(scene.get(), 10, 0, 0);
    auto k = Make(p.get(), 0, 0, 3);
    auto square = Square(root.get(), 0xFFFFFFFF);
    k->AddVisual(square.get());
    auto hits = Pick(scene.get(), nullptr, {0, 1.5f, -1.5f}, {1, 0, 0});
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_VEC(hits[0].description.dvPosition, 16.0f, 1.5f, -1.5f);
    EXPECT_VEC(hits[0].description.dvNormal, -1.0f, 0.0f, 0.0f);
    EXPECT_TRUE(Pick(scene.get(), nullptr, {0, 2.5f, 0}, {1, 0, 0}).empty());
}

// ---- Projection ----------------------------------------------------------------------------

class Projection : public EngineScene {
protected:
    void SetUp() override {
        EngineScene::SetUp();
        ASSERT_NO_FATAL_FAILURE(MakeClipper());
        ASSERT_EQ(root->CreateDeviceFromClipper(clipper.get(), nullptr, 200, 100, device.put()), D3DRM_OK);
        camera = Make(scene.get(), 1, 2, -10);
        ASSERT_EQ(root->CreateViewport(device.get(), camera.get(), 0, 0, 200, 100, viewport.put()), D3DRM_OK);
    }
    D3DRMVECTOR4D Project(glm::vec3 world) {
        D3DRMVECTOR4D s;
        const D3DVECTOR w{world.x, world.y, world.z};
        EXPECT_EQ(viewport->Transform(&s, &w), D3DRM_OK);
        return s;
    }
    // Screen x, y and depth of a world point.
    glm::vec3 Screen(glm::vec3 world) {
        const D3DRMVECTOR4D s = Project(world);
        return glm::vec3(s.x / s.w, s.y / s.w, s.z / s.w);
    }

    Ref<IDirect3DRMDevice3> device;
    Ref<IDirect3DRMFrame3> camera;
    Ref<IDirect3DRMViewport2> viewport;
};

TEST_F(Projection, TheFieldIsHalfTheLargerSideOnTheFrontPlaneAndDepthIsPerspective) {
    // The camera axis meets the centre; w = z·field/front (10 units ahead: 5).
    EXPECT_NEAR(Project({1, 2, 0}).w, 5.0f, 1e-4f);
    EXPECT_VEC(Screen({1, 2, 0}), 100.0f, 50.0f, 100.0f / 99.0f * (1.0f - 1.0f / 10.0f));
    // One unit above the axis at 20 units: half as far from the centre as at 10.
    EXPECT_NEAR(Screen({2, 3, 10}).y, 40.0f, 1e-3f);
    // Landscape 200 x 100: on the front plane x = field reaches the right edge, y = field/2 the top.
    EXPECT_VEC(Screen({1.5f, 2, -9}), 200.0f, 50.0f, 0.0f);
    EXPECT_VEC(Screen({1, 2.25f, -9}), 100.0f, 0.0f, 0.0f);
}

}  // namespace
