// The .x loader on real-world models: every model of the corpus loads or fails cleanly;
// frames, meshes, materials, texture names and animation sets come through; a failed load
// hands out nothing.
#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/frame.h"
#include "platform/d3drm/mesh_builder.h"
#include "platform/d3drm/texture.h"

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

std::string NameOf(IDirect3DRMObject* object) {
    char name[256] = {};
    DWORD size = sizeof name;
    object->GetName(&size, name);
    return name;
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

class XFile : public ::testing::Test {
protected:
    void SetUp() override {
        Ref<IDirect3DRM> first;
        Direct3DRMCreate(first.put());
        first->QueryInterface(IID_IDirect3DRM3, reinterpret_cast<void**>(root.put()));
    }
    void TearDown() override {
        if (!scratch.empty()) std::filesystem::remove_all(scratch);
    }

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
    Ref<IDirect3DRMMeshBuilder3> LoadBuilder(const std::string& file) {
        HRESULT result;
        auto b = LoadBuilder(file, &result);
        EXPECT_EQ(result, D3DRM_OK) << file;
        return b;
    }
    // A file of a test's own, in a folder removed afterwards.
    std::string Write(const std::string& name, const std::string& content) {
        if (scratch.empty()) {
            scratch = std::filesystem::temp_directory_path() /
                      ("vlx_xfile_" + std::to_string(getpid()) + "_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
            std::filesystem::create_directories(scratch);
        }
        std::ofstream(scratch / name, std::ios::binary) << content;
        return (scratch / name).string();
    }
    static D3DRMBOX Box(IDirect3DRMMeshBuilder3* b) {
        D3DRMBOX box{};
        EXPECT_EQ(b->GetBox(&box), D3DRM_OK);
        return box;
    }

    Ref<IDirect3DRM3> root;
    std::filesystem::path scratch;
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
    // Frames over the whole hierarchy, meshes outside any frame, faces, animation sets.
    using Expected = std::array<int, 4>;
    const std::map<std::string, Expected> known = {
        {"test_cube_compressed.x", {2, 0, 12, 0}}, {"airplane 2.x", {9, 0, 596, 0}},
        {"tiger.x", {0, 1, 602, 0}},               {"anim_test.x", {4, 0, 840, 1}},
        {"Testwuson.X", {39, 0, 3732, 3}},         {"tiny_4anim.x", {46, 0, 6849, 4}},
        {"TestFormatDetection", {1, 0, 12, 0}},
    };
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
        Expected got{0, 0, 0, 0};
        for (const auto& frame : delivered.All<IDirect3DRMFrame3>(IID_IDirect3DRMFrame3))
            Walk(frame.get(), [&got](Frame& f) {
                ++got[0];
                for (MeshBuilder* b : BuildersOf(f)) got[2] += b->GetFaceCount();
            });
        for (const auto& mesh : delivered.All<IDirect3DRMMeshBuilder3>(IID_IDirect3DRMMeshBuilder3)) {
            ++got[1];
            got[2] += mesh->GetFaceCount();
        }
        got[3] = static_cast<int>(delivered.All<IDirect3DRMAnimationSet2>(IID_IDirect3DRMAnimationSet2).size());
        EXPECT_GT(got[2], 0);
        EXPECT_EQ(builder->GetFaceCount(), got[2]);   // the merged builder holds every mesh
        if (auto it = known.find(name); it != known.end()) {
            EXPECT_EQ(got, it->second);
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
    Delivered delivered;
    ASSERT_EQ(Load(kCorpus + "tiny_4anim.x", &delivered), D3DRM_OK);
    ASSERT_EQ(delivered.objects.size(), 5u);
    EXPECT_EQ(delivered.objects[0].second, IID_IDirect3DRMFrame3);
    std::vector<std::string> names;
    for (const auto& set : delivered.All<IDirect3DRMAnimationSet2>(IID_IDirect3DRMAnimationSet2))
        names.push_back(NameOf(set.get()));
    EXPECT_EQ(names, (std::vector<std::string>{"Loiter", "Walk", "Jog", "Wave"}));

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
            EXPECT_NEAR(glm::length(Frame::From(frame)->LocalTransform()[c] - before[c]), 0.0f, 1e-4f) << NameOf(frame);
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
        auto merged = LoadBuilder(file);
        ASSERT_EQ(MeshBuilder::From(merged.get())->normals.size(), 3u);
        for (const glm::vec3& n : MeshBuilder::From(merged.get())->normals) EXPECT_NEAR(glm::length(n - front), 0.0f, 1e-5f);

        // In the frame the mesh keeps its own coordinates; carried by the frame, its normals
        // face the same way.
        Delivered delivered;
        ASSERT_EQ(Load(file, &delivered), D3DRM_OK);
        const Frame& f = *Frame::From(delivered.All<IDirect3DRMFrame3>(IID_IDirect3DRMFrame3).at(0).get());
        const glm::mat3 toWorld = MeshBuilder::NormalTransform(f.WorldTransform());
        for (const glm::vec3& n : BuildersOf(f).at(0)->normals)
            EXPECT_NEAR(glm::length(glm::normalize(toWorld * n) - front), 0.0f, 1e-5f);
        const Face& face = *Face::From(BuildersOf(f).at(0)->faces.at(0).get());
        EXPECT_EQ(face.color, 0xFFFFFFFFu);   // no material in the file: white, without one
        EXPECT_FALSE(face.material);
    }
}
