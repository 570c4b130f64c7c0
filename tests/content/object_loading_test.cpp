// Loading models into the scene: fitting, placing, colouring and the placement's life.
#include "tests/content/content_fixture.h"

using Loading = EmptyScene;

// A frame model is fitted to eight units and stretched by the scale; a scale with a zero
// keeps the file's size (the cube file is 2 units wide).
TEST_F(Loading, AFrameModelIsFittedToEightUnitsUnlessTheScaleHasAZero) {
    const struct {
        float scaleX, width, height;
    } cases[] = {{1, 8, 8}, {2, 16, 8}, {0, 2, 2}};
    for (const auto& c : cases) {
        TearDownScene();
        ASSERT_TRUE(CreateScene(window, ""));
        SetPlacement(0, 0, 0, 0, 0, 0, c.scaleX, 1, 1, 0, 1, 0, 0);
        ASSERT_TRUE(LoadFrameObject("xda\\bas\\cube.x"));
        const D3DRMBOX box = SceneBox();
        EXPECT_NEAR(box.max.x - box.min.x, c.width, 1e-3f) << c.scaleX;
        EXPECT_NEAR(box.max.y - box.min.y, c.height, 1e-3f) << c.scaleX;
    }
}

TEST_F(Loading, ObjectsArePlacedAndSpunAndThePlacementIsResetAfterwards) {
    SetPlacement(0.5f, 0.5f, 0.5f, 3, 4, 5, 1, 1, 1, 0, 0, 1, 0.02f);
    ASSERT_TRUE(LoadMeshObject("xda\\bas\\sphere.x"));
    Ref<IDirect3DRMFrame3> frame = LastChild();
    D3DVECTOR p, axis;
    D3DVALUE theta = 0;
    frame->GetPosition(appState->scene.get(), &p);
    frame->GetRotation(appState->scene.get(), &axis, &theta);
    EXPECT_FLOAT_EQ(p.x, 3.0f);
    EXPECT_FLOAT_EQ(p.z, 5.0f);
    EXPECT_FLOAT_EQ(theta, 0.02f);
    EXPECT_NEAR(axis.z, 1.0f, 1e-5f);
    EXPECT_EQ(placement.position.x, 0.0f);
    EXPECT_EQ(placement.scale.x, 1.0f);
    EXPECT_EQ(placement.ambient, 0.0f);
}

TEST_F(Loading, AFailedLoadReportsAndKeepsThePlacement) {
    SetPlacement(0.5f, 0.5f, 0.5f, 7, 0, 0, 1, 1, 1, 0, 1, 0, 0);
    EXPECT_FALSE(LoadMeshObject("xda\\bas\\missing.x"));
    EXPECT_FALSE(LoadFrameObject("xda\\bas\\missing.x"));
    EXPECT_FALSE(LoadScriptMesh("xda\\bas\\missing.x", "", 0, 0, 1, 1));
    const auto& boxes = win32test::RecordedMessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "Failed to load name.x");
    EXPECT_EQ(boxes[1].text, "Failed to load X File");
    EXPECT_EQ(boxes[2].text, "Failed to load mesh.x");
    EXPECT_EQ(placement.position.x, 7.0f);
    EXPECT_FALSE(LoadFrameObject(""));
}

// A script mesh keeps the file's colours when a component is 0, takes the colour when all
// three are given, and reads a red above 1 as power, specular and emissive of a material.
TEST_F(Loading, ScriptMeshColourRules) {
    const struct {
        float r, g, b;
        D3DCOLOR colour;
    } cases[] = {{0.2f, 0.4f, 0.0f, 0xFFFFFF}, {0.2f, 0.4f, 0.1f, D3DRMCreateColorRGB(0.2f, 0.4f, 0.1f) & 0xFFFFFF}};
    for (const auto& c : cases) {
        SetPlacement(c.r, c.g, c.b, 0, 0, 0, 1, 1, 1, 0, 1, 0, 0);
        ASSERT_TRUE(LoadScriptMesh("xda\\bas\\cube.x", "", 0, 0, 1, 1));
        Ref<IDirect3DRMMesh> mesh = FirstVisual<IDirect3DRMMesh>(LastChild().get(), IID_IDirect3DRMMesh);
        ASSERT_TRUE(mesh);
        EXPECT_EQ(mesh->GetGroupColor(0) & 0xFFFFFF, c.colour) << c.b;
    }
    SetPlacement(40.0f, 0.5f, 0.1f, 0, 0, 0, 1, 1, 1, 0, 1, 0, 0);
    ASSERT_TRUE(LoadScriptMesh("xda\\bas\\cube.x", "", 0, 0, 1, 1));
    EXPECT_FLOAT_EQ(defaultMaterial.specular, 0.5f);
    EXPECT_FLOAT_EQ(defaultMaterial.emissive, 0.1f);
    Ref<IDirect3DRMMaterial2> material;
    ASSERT_EQ(FirstVisual<IDirect3DRMMesh>(LastChild().get(), IID_IDirect3DRMMesh)->GetGroupMaterial(0, material.put()),
              D3DRM_OK);
    EXPECT_FLOAT_EQ(material->GetPower(), 40.0f);

    // A mesh without colour of its own gets the default material.
    defaultMaterial = MaterialRecord{};
    ASSERT_TRUE(LoadMeshObject("xda\\bas\\cone.x"));
    EXPECT_FLOAT_EQ(defaultMaterial.power, 80.0f);
    Ref<IDirect3DRMMeshBuilder3> mb = FirstVisual<IDirect3DRMMeshBuilder3>(LastChild().get(), IID_IDirect3DRMMeshBuilder3);
    ASSERT_TRUE(mb);
    Ref<IDirect3DRMMaterial2> coneMaterial;
    FirstFace(mb.get())->GetMaterial(coneMaterial.put());
    ASSERT_TRUE(coneMaterial);
    D3DVALUE r, g, b;
    coneMaterial->GetEmissive(&r, &g, &b);
    EXPECT_FLOAT_EQ(r, 0.1f);
}

TEST_F(Loading, AnAnimatedFileAdvancesByATenthPerMove) {
    const std::string corpus = VLX_CORPUS_DIR;
    if (!fs::Resolve(corpus + "/x/tiny_4anim.x")) GTEST_SKIP() << "the corpus is not here";
    ASSERT_TRUE(LoadFrameObject((corpus + "/x/tiny_4anim.x").c_str()));
    appState->scene->Move(1.0f);
    appState->scene->Move(1.0f);
    ASSERT_NE(lastAnimationRecord, nullptr);
    EXPECT_NEAR(lastAnimationRecord->time, 0.2f, 1e-6f);
}
