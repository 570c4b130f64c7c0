// The generated installation data, read back through the engine as the show reads it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/frame.h"
#include "platform/d3drm/texture.h"
#include "platform/fs/fs.h"
#include "platform/win32/state.h"
#include "platform/win32/win32.h"
#include "resources/resource_ids.h"

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

// A load callback that keeps every object a file delivers, in order.
void Keep(IDirect3DRMObject* object, REFIID, void* arg) {
    static_cast<std::vector<Ref<IDirect3DRMObject>>*>(arg)->push_back(Ref<IDirect3DRMObject>::Share(object));
}

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

// Every picture the catalogues, the scenes and the boxes name is there and loads; the decal
// pictures lie on pure black, the key colour that makes their background see-through.
TEST_F(GeneratedModels, EveryPictureLoads) {
    std::vector<std::string> backgrounds{"bgr\\bgnd.bmp"};
    for (int i = 1; i <= 9; ++i) backgrounds.push_back("bgr\\sky0" + std::to_string(i) + ".bmp");
    for (int i = 1; i <= 5; ++i) backgrounds.push_back("/virelux/bgr/galaxis" + std::to_string(i) + ".bmp");
    for (const std::string& name : backgrounds) {
        Ref<IDirect3DRMTexture3> picture;
        EXPECT_EQ(root->LoadTexture(name.c_str(), picture.put()), D3DRM_OK) << name;
    }
    for (const char* name : {"marble", "wood", "checker", "stripes", "lava", "water", "disco"}) {
        Ref<IDirect3DRMTexture3> texture;
        EXPECT_EQ(root->LoadTexture(("tex\\" + std::string(name) + ".bmp").c_str(), texture.put()), D3DRM_OK) << name;
    }
    for (const char* name : {"flare", "sparkle", "note", "bubble"}) {
        Ref<IDirect3DRMTexture3> decal;
        ASSERT_EQ(root->LoadTexture(("tex\\" + std::string(name) + ".bmp").c_str(), decal.put()), D3DRM_OK) << name;
        const Texture* t = Texture::From(decal.get());
        for (const size_t corner : {size_t{0}, static_cast<size_t>(t->width - 1) * 4})
            EXPECT_EQ(t->rgba[corner] | t->rgba[corner + 1] | t->rgba[corner + 2], 0) << name;
    }
}

TEST_F(GeneratedModels, EveryFigureLoadsWithItsFrames) {
    const std::pair<const char*, int> figures[] = {{"ufo", 1},    {"vogel1", 3}, {"fish", 2}, {"atom", 4},    {"tree", 2},
                                                   {"planet", 2}, {"star", 1},   {"note", 1}, {"crystal", 1}, {"speaker", 1}};
    for (const auto& [name, frames] : figures) {
        const std::string file = "xda\\" + std::string(name) + ".x";
        EXPECT_GT(Load(file.c_str())->GetFaceCount(), 10) << file;
        std::vector<Ref<IDirect3DRMObject>> loaded;
        ASSERT_EQ(root->Load(file.c_str(), nullptr, nullptr, 0, D3DRMLOAD_FROMFILE, Keep, &loaded, nullptr, nullptr,
                             nullptr),
                  D3DRM_OK);
        Ref<IDirect3DRMFrame3> top;
        ASSERT_EQ(loaded.at(0)->QueryInterface(IID_IDirect3DRMFrame3, reinterpret_cast<void**>(top.put())), S_OK);
        EXPECT_EQ(1 + static_cast<int>(Frame::From(top.get())->Children().size()), frames) << file;
    }
}

// The bird's wings are frames of their own that its animation set beats together: both tips
// up at the start, both down a third of the way through, and the beat loops.
TEST_F(GeneratedModels, TheBirdBeatsBothWingsInStep) {
    std::vector<Ref<IDirect3DRMObject>> loaded;
    ASSERT_EQ(root->Load("xda\\vogel1.x", nullptr, nullptr, 0, D3DRMLOAD_FROMFILE, Keep, &loaded, nullptr, nullptr, nullptr),
              D3DRM_OK);
    ASSERT_EQ(loaded.size(), 2u);
    Ref<IDirect3DRMFrame3> bird;
    Ref<IDirect3DRMAnimationSet2> flap;
    ASSERT_EQ(loaded[0]->QueryInterface(IID_IDirect3DRMFrame3, reinterpret_cast<void**>(bird.put())), S_OK);
    ASSERT_EQ(loaded[1]->QueryInterface(IID_IDirect3DRMAnimationSet2, reinterpret_cast<void**>(flap.put())), S_OK);
    std::vector<IDirect3DRMFrame3*> wings;
    for (const auto& child : Frame::From(bird.get())->Children()) wings.push_back(child.get());
    ASSERT_EQ(wings.size(), 2u);
    ASSERT_EQ(Frame::From(wings[0])->Name(), "LeftWing");
    // The tip's height in the bird's own frame at `time` of the animation clock.
    auto tip = [&](int wing, float time) {
        flap->SetTime(time);
        const D3DVECTOR local{wing == 0 ? -18.0f : 18.0f, 0, -1};
        D3DVECTOR world;
        wings[static_cast<size_t>(wing)]->Transform(&world, &local);
        return world.y;
    };
    for (int wing : {0, 1}) {
        SCOPED_TRACE(wing);
        EXPECT_GT(tip(wing, 0.0f), 8.0f);
        EXPECT_LT(tip(wing, 1.0f), -6.0f);
        EXPECT_NEAR(tip(wing, 3.5f), tip(wing, 0.5f), 1e-3f);
    }
}

// The scene catalogue and the demo scenes are staged beside the program under the names
// the show asks for.
TEST(InstalledScripts, EveryCatalogueAndDemoScriptIsThere) {
    fs::SetInstallationFolder(VLX_INSTALL_DIR);
    std::vector<std::string> names{"test1.txt", "scene_off.txt", "main01.txt", "main02.txt", "main03.txt"};
    for (int i = 0; i <= 16; ++i) names.push_back("scene" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".txt");
    for (const std::string& name : names) EXPECT_TRUE(fs::Resolve(name)) << name;
}

// Every bitmap of the program's table loads from the installation at the size its dialog
// lays its picture out for, and the start-up picture keeps its 256 colours.
TEST(DialogPictures, EveryBitmapLoadsAtTheSizeItsBoxNeeds) {
    fs::SetInstallationFolder(VLX_INSTALL_DIR);
    const std::pair<std::vector<WORD>, std::pair<int, int>> sizes[] = {
        {{IDB_RED, IDB_GREEN, IDB_BLUE}, {32, 12}},
        {{IDB_GALAXIS1, IDB_GALAXIS2, IDB_GALAXIS3, IDB_SKY01, IDB_SKY02, IDB_SKY03}, {64, 64}},
        {{IDB_SCENE_MAIN01, IDB_SCENE_MAIN02, IDB_SCENE_MAIN03}, {96, 72}},
        {{IDB_SHAPE_GROUND, IDB_SHAPE_CUBE, IDB_SHAPE_SPHERE, IDB_SHAPE_CYLINDER, IDB_SHAPE_CONE, IDB_SHAPE_TORUS}, {48, 48}},
        {{IDB_SIGMETER, IDB_HELP}, {32, 32}},
        {{IDB_SPLASH}, {256, 192}}};
    size_t checked = 0;
    for (const auto& [ids, size] : sizes)
        for (const WORD id : ids) {
            const auto bitmap = static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
            ASSERT_NE(bitmap, nullptr) << id;
            EXPECT_EQ(std::pair(bitmap->surface->w, bitmap->surface->h), size) << id;
            EXPECT_EQ(bitmap->surface->format->BitsPerPixel, id == IDB_SPLASH ? 8 : 24) << id;
            ++checked;
        }
    EXPECT_EQ(checked, Win32ProgramResources().bitmaps.size());   // none left without a size
}
