// The generated installation data, read back through the engine as the show reads it.
#include <gtest/gtest.h>

#include <string>

#include "platform/d3drm/d3drm.h"
#include "platform/fs/fs.h"

namespace {

class GeneratedModels : public ::testing::Test {
protected:
    void SetUp() override {
        fs::SetInstallationFolder(VLX_INSTALL_DIR);
        Ref<IDirect3DRM> first;
        Direct3DRMCreate(first.put());
        first->QueryInterface(IID_IDirect3DRM3, reinterpret_cast<void**>(root.put()));
    }
    Ref<IDirect3DRMMeshBuilder3> Load(const char* name) {
        Ref<IDirect3DRMMeshBuilder3> mb;
        root->CreateMeshBuilder(mb.put());
        EXPECT_EQ(mb->Load(name, nullptr, D3DRMLOAD_FROMFILE, nullptr, nullptr), D3DRM_OK) << name;
        return mb;
    }
    Ref<IDirect3DRM3> root;
};

}  // namespace

// Convex shapes centred on the origin: seen from outside, the face a ray meets first shows
// its front (its normal points back at the viewer), so back-face culling keeps the outside.
TEST_F(GeneratedModels, ConvexShapesShowTheirOutside) {
    const D3DVECTOR directions[] = {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {-0.6f, 0.3f, 0.7f}, {0.5f, -0.5f, -0.7f}};
    for (const char* file : {"xda\\bas\\cube.x", "xda\\bas\\sphere.x", "xda\\bas\\cylinder.x", "xda\\bas\\cone.x"}) {
        Ref<IDirect3DRMFrame3> scene;
        root->CreateFrame(nullptr, scene.put());
        scene->AddVisual(Load(file).get());
        for (const D3DVECTOR& d : directions) {
            // From 10 units out towards the middle (a little off, to miss the poles).
            D3DRMRAY ray;
            ray.dvPos = D3DVECTOR{10 * d.x + 0.01f, 10 * d.y + 0.02f, 10 * d.z};
            ray.dvDir = D3DVECTOR{-d.x, -d.y, -d.z};
            Ref<IDirect3DRMPicked2Array> picks;
            ASSERT_EQ(scene->RayPick(nullptr, &ray, 0, picks.put()), D3DRM_OK);
            ASSERT_EQ(picks->GetSize(), 1u) << file;
            D3DRMPICKDESC2 hit;
            Ref<IDirect3DRMVisual> visual;
            Ref<IDirect3DRMFrameArray> path;
            picks->GetPick(0, visual.put(), path.put(), &hit);
            EXPECT_GT(hit.dvNormal.x * d.x + hit.dvNormal.y * d.y + hit.dvNormal.z * d.z, 0.0f)
                << file << " seen from (" << d.x << ", " << d.y << ", " << d.z << ")";
        }
    }
}

TEST_F(GeneratedModels, TheTorusTheLogoTheLampAndThePictureLoad) {
    D3DRMBOX box;
    ASSERT_EQ(Load("xda\\bas\\torus.x")->GetBox(&box), D3DRM_OK);
    EXPECT_NEAR(box.max.x - box.min.x, 2.7f, 1e-3f);
    EXPECT_NEAR(box.max.y - box.min.y, 0.7f, 1e-3f);
    EXPECT_GT(Load("xda\\vlxlogo.x")->GetFaceCount(), 100);
    EXPECT_GT(Load("xda\\bas\\light.x")->GetFaceCount(), 20);
    Ref<IDirect3DRMTexture3> picture;
    ASSERT_EQ(root->LoadTexture("bgr\\bgnd.bmp", picture.put()), D3DRM_OK);
    EXPECT_EQ(picture->GetWidth(), 256u);
}
