// The .x loader on real-world models: every model of the corpus loads or fails cleanly;
// frames, meshes, materials, texture names and animation sets come through; a failed load
// hands out nothing.
#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "platform/d3drm/frame.h"
#include "platform/d3drm/mesh_builder.h"
#include "platform/d3drm/texture.h"
#include "tests/platform/d3drm_fixture.h"

namespace {

const std::string kCorpus = std::string(VLX_CORPUS_DIR) + "/x/";

#define REQUIRE_CORPUS() \
    if (!std::filesystem::is_directory(kCorpus)) GTEST_SKIP() << "no model corpus at " << kCorpus

// What a load handed to its callback, in order.
struct Delivered {
    std::vector<std::pair<Ref<IDirect3DRMObject>, IID>> objects;

    template <class T>
    std::vector<Ref<T>> All(REFIID iid) const {
        std::vector<Ref<T>> all;
        for (const auto& [object, id] : objects)
            if (id == iid) {
                all.emplace_back();
                object->QueryInterface(iid, reinterpret_cast<void**>(all.back().put()));
            }
        return all;
    }
};

void Keep(IDirect3DRMObject* object, REFIID iid, void* arg) {
    static_cast<Delivered*>(arg)->objects.emplace_back(Ref<IDirect3DRMObject>::Share(object), iid);
}

void Walk(IDirect3DRMFrame3* frame, const std::function<void(Frame&)>& visit) {
    visit(*Frame::From(frame));
    for (const auto& child : Frame::From(frame)->Children()) Walk(child.get(), visit);
}

std::vector<MeshBuilder*> BuildersOf(const Frame& frame) {
    std::vector<MeshBuilder*> builders;
    for (const auto& visual : frame.Visuals()) {
        Ref<IDirect3DRMMeshBuilder3> b;
        if (visual->QueryInterface(IID_IDirect3DRMMeshBuilder3, reinterpret_cast<void**>(b.put())) == S_OK)
            builders.push_back(MeshBuilder::From(b.get()));
    }
    return builders;
}

// A triangle (0,0,0) (0,1,0) (1,0,0): clockwise seen from -z, so its front faces -z.
const std::string kTriangle = "Mesh tri { 3; 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;0.0;0.0;; 1; 3;0,1,2;; }\n";

class XFile : public ::testing::Test, protected ScratchFiles {
protected:
    void SetUp() override { root = d3drmtest::CreateRoot(); }

    HRESULT Load(const std::string& file, Delivered* delivered, D3DRMLOADTEXTURE3CALLBACK textures = nullptr,
                 void* arg = nullptr, IDirect3DRMFrame3* parent = nullptr) {
        return root->Load(file.c_str(), nullptr, nullptr, 0, D3DRMLOAD_FROMFILE, Keep, delivered, textures, arg, parent);
    }
    Ref<IDirect3DRMMeshBuilder3> LoadBuilder(const std::string& file, HRESULT* result,
                                             D3DRMLOADTEXTURE3CALLBACK textures = nullptr, void* arg = nullptr) {
        Ref<IDirect3DRMMeshBuilder3> b;
        root->CreateMeshBuilder(b.put());
        *result = b->Load(file.c_str(), nullptr, D3DRMLOAD_FROMFILE, textures, arg);
        return b;
    }

    Ref<IDirect3DRM3> root;
};

// A texture callback that records the names asked for and, when `supply` is set, gives a
// texture for each name that is an existing file.
struct TextureRequests {
    std::vector<std::string> names;
    bool supply = false;
};

HRESULT RecordTexture(char* name, void* arg, IDirect3DRMTexture3** texture) {
    auto* requests = static_cast<TextureRequests*>(arg);
    requests->names.push_back(name);
    *texture = nullptr;
    if (!requests->supply || !std::filesystem::is_regular_file(name)) return D3DRMERR_FILENOTFOUND;
    *texture = new Texture(1, 1, std::vector<std::uint8_t>(4, 0xFF));
    return D3DRM_OK;
}

}  // namespace

TEST_F(XFile, EveryCorpusModelLoadsOrFailsCleanly) {
    REQUIRE_CORPUS();
    // Faces over the whole hierarchy and in meshes outside any frame.
    const std::map<std::string, int> known = {
        {"test_cube_compressed.x", 12}, {"airplane 2.x", 596}, {"tiger.x", 602}, {"Testwuson.X", 3732}};
    const std::set<std::string> broken = {"empty.x", "OV_GetNextToken", "malformed_skinweights_oob.x"};
    int models = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
        const std::string name = entry.path().filename().string(), extension = entry.path().extension().string();
        if (extension == ".bmp" || extension == ".tga" || extension == ".png" || extension == ".txt") continue;
        SCOPED_TRACE(name);
        ++models;
        Delivered delivered;
        const HRESULT result = Load(entry.path().string(), &delivered);
        HRESULT merged;
        auto builder = LoadBuilder(entry.path().string(), &merged);
        if (broken.count(name)) {
            EXPECT_EQ(result, D3DRMERR_BADFILE);
            EXPECT_EQ(merged, D3DRMERR_BADFILE);
            EXPECT_TRUE(delivered.objects.empty());
            EXPECT_EQ(builder->GetVertexCount(), 0);
            continue;
        }
        ASSERT_EQ(result, D3DRM_OK);
        ASSERT_EQ(merged, D3DRM_OK);
        int faces = 0;
        for (const auto& frame : delivered.All<IDirect3DRMFrame3>(IID_IDirect3DRMFrame3))
            Walk(frame.get(), [&faces](Frame& f) {
                for (MeshBuilder* b : BuildersOf(f)) faces += b->GetFaceCount();
            });
        for (const auto& mesh : delivered.All<IDirect3DRMMeshBuilder3>(IID_IDirect3DRMMeshBuilder3))
            faces += mesh->GetFaceCount();
        EXPECT_GT(faces, 0);
        EXPECT_EQ(builder->GetFaceCount(), faces);   // the merged builder holds every mesh
        if (known.count(name)) {
            EXPECT_EQ(faces, known.at(name));
        }
    }
    EXPECT_GE(models, 20);
}

TEST_F(XFile, TextureNamesAreTriedAsWrittenThenByTheirLastComponent) {
    REQUIRE_CORPUS();
    TextureRequests requests;
    HRESULT result;
    auto box = LoadBuilder(kCorpus + "kwxport_test_cubewithvcolors.x", &result, RecordTexture, &requests);
    ASSERT_EQ(result, D3DRM_OK);   // no texture could be had; the model still loads
    const auto top = std::find(requests.names.begin(), requests.names.end(),
                               "C:\\code\\sourceforge\\kwxport\\trunkMerged\\test\\data\\top.tga");
    ASSERT_TRUE(top != requests.names.end() && top + 1 != requests.names.end());
    EXPECT_EQ(top[1], "top.tga");
    for (const auto& f : MeshBuilder::From(box.get())->faces) EXPECT_FALSE(Face::From(f.get())->texture);

    // Beside the model they are found; each is loaded once and shared by its faces.
    requests = TextureRequests{{}, true};
    box = LoadBuilder(kCorpus + "kwxport_test_cubewithvcolors.x", &result, RecordTexture, &requests);
    EXPECT_EQ(requests.names.back(), kCorpus + "updown.tga");
    std::set<IDirect3DRMTexture3*> textures;
    for (const auto& f : MeshBuilder::From(box.get())->faces) textures.insert(Face::From(f.get())->texture.get());
    EXPECT_EQ(textures.size(), 3u);
    EXPECT_FALSE(textures.count(nullptr));
}

TEST_F(XFile, AnimationSetsFollowTheFramesAndStartInTheFilesPose) {
    REQUIRE_CORPUS();
    // At time 0 this file's keys hold the pose its frames stand in: rotation keys read the
    // wrong way round would turn every bone.
    Delivered bones;
    ASSERT_EQ(Load(kCorpus + "BCN_Epileptic.X", &bones), D3DRM_OK);
    auto set = bones.All<IDirect3DRMAnimationSet2>(IID_IDirect3DRMAnimationSet2).at(0);
    ASSERT_EQ(set->GetAnimationCount(), 57u);   // one per frame it moves
    std::map<IDirect3DRMFrame3*, glm::mat4> pose;
    for (DWORD i = 0; i < set->GetAnimationCount(); ++i) {
        Ref<IDirect3DRMAnimation2> animation;
        Ref<IDirect3DRMFrame3> frame;
        set->GetAnimation(i, animation.put());
        animation->GetFrame(frame.put());
        ASSERT_TRUE(frame);
        pose[frame.get()] = Frame::From(frame.get())->LocalTransform();
    }
    ASSERT_EQ(set->SetTime(0.0f), D3DRM_OK);
    for (const auto& [frame, before] : pose)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(glm::length(Frame::From(frame)->LocalTransform()[c] - before[c]), 0.0f, 1e-4f);
}

TEST_F(XFile, KeyTimesAreSecondsWhereTheFileSaysHowManyTicksMakeOne) {
    // A frame moved from x = 0 to x = 10 between ticks 0 and 100; tick 50 is at x = 5.
    const std::string body = "Frame Box {\n" + kTriangle + "}\nAnimationSet Slide { Animation { { Box }\n" +
                             "AnimationKey { 2; 2; 0;3;0.0,0.0,0.0;;, 100;3;10.0,0.0,0.0;;; } } }\n";
    const std::pair<std::string, float> files[] = {
        {"xof 0302txt 0032\n", 50.0f},                                   // the older format: ticks
        {"xof 0303txt 0032\n", 50.0f / 4800.0f},                         // D3DX's 4800 a second
        {"xof 0303txt 0032\nAnimTicksPerSecond { 25; }\n", 2.0f},        // as the file says
    };
    for (const auto& [head, tick50] : files) {
        SCOPED_TRACE(head);
        Delivered delivered;
        ASSERT_EQ(Load(Write("slide.x", head + body), &delivered), D3DRM_OK);
        auto set = delivered.All<IDirect3DRMAnimationSet2>(IID_IDirect3DRMAnimationSet2).at(0);
        ASSERT_EQ(set->SetTime(tick50), D3DRM_OK);
        D3DVECTOR p;
        delivered.All<IDirect3DRMFrame3>(IID_IDirect3DRMFrame3).at(0)->GetPosition(nullptr, &p);
        EXPECT_NEAR(p.x, 5.0f, 1e-3f);
    }
}

TEST_F(XFile, NormalsMadeForAMeshWithoutThemPointOutOfItsFront) {
    // The triangle as it is, and below a frame that mirrors x: seen through the mirror its
    // corners run the other way round, and its front faces +z.
    const std::string mirror =
        "FrameTransformMatrix { -1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;; }\n";
    for (const auto& [frame, front] : {std::pair{std::string(), glm::vec3(0, 0, -1)}, std::pair{mirror, glm::vec3(0, 0, 1)}}) {
        SCOPED_TRACE(frame);
        const std::string file = Write("triangle.x", "xof 0303txt 0032\nFrame F {\n" + frame + kTriangle + "}\n");
        HRESULT result;
        auto merged = LoadBuilder(file, &result);
        ASSERT_EQ(result, D3DRM_OK);
        ASSERT_EQ(MeshBuilder::From(merged.get())->normals.size(), 3u);
        for (const glm::vec3& n : MeshBuilder::From(merged.get())->normals) EXPECT_NEAR(glm::length(n - front), 0.0f, 1e-5f);
    }
}
