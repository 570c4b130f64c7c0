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
    Ref<IDirect3DRMFrame3> frame = Loaded();
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

TEST_F(Loading, ScriptMeshColourRules) {
    // One component 0: the file's own colours stay.
    SetPlacement(0.2f, 0.4f, 0.0f, 0, 0, 0, 1, 1, 1, 0, 1, 0, 0);
    ASSERT_TRUE(LoadScriptMesh("xda\\bas\\cube.x", "", 0, 0, 1, 1));
    Ref<IDirect3DRMMesh> kept = FirstVisual<IDirect3DRMMesh>(Loaded().get(), IID_IDirect3DRMMesh);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->GetGroupColor(0) & 0xFFFFFF, 0xFFFFFFu);
    // All three given: the mesh takes the colour.
    SetPlacement(0.2f, 0.4f, 0.1f, 0, 0, 0, 1, 1, 1, 0, 1, 0, 0);
    ASSERT_TRUE(LoadScriptMesh("xda\\bas\\cube.x", "", 0, 0, 1, 1));
    Ref<IDirect3DRMMesh> coloured = FirstVisual<IDirect3DRMMesh>(Loaded().get(), IID_IDirect3DRMMesh);
    EXPECT_EQ(coloured->GetGroupColor(0) & 0xFFFFFF, D3DRMCreateColorRGB(0.2f, 0.4f, 0.1f) & 0xFFFFFF);
    // Red above 1: power, specular and emissive of a material.
    SetPlacement(40.0f, 0.5f, 0.1f, 0, 0, 0, 1, 1, 1, 0, 1, 0, 0);
    ASSERT_TRUE(LoadScriptMesh("xda\\bas\\cube.x", "", 0, 0, 1, 1));
    EXPECT_FLOAT_EQ(defaultMaterial.power, 40.0f);
    EXPECT_FLOAT_EQ(defaultMaterial.specular, 0.5f);
    EXPECT_FLOAT_EQ(defaultMaterial.emissive, 0.1f);
    Ref<IDirect3DRMMesh> shiny = FirstVisual<IDirect3DRMMesh>(Loaded().get(), IID_IDirect3DRMMesh);
    Ref<IDirect3DRMMaterial2> material;
    ASSERT_EQ(shiny->GetGroupMaterial(0, material.put()), D3DRM_OK);
    EXPECT_FLOAT_EQ(material->GetPower(), 40.0f);
}

TEST_F(Loading, AMeshWithoutColourGetsTheDefaultMaterial) {
    defaultMaterial = MaterialRecord{};
    ASSERT_TRUE(LoadMeshObject("xda\\bas\\cone.x"));
    EXPECT_FLOAT_EQ(defaultMaterial.power, 80.0f);
    Ref<IDirect3DRMMeshBuilder3> mb = FirstVisual<IDirect3DRMMeshBuilder3>(Loaded().get(), IID_IDirect3DRMMeshBuilder3);
    ASSERT_TRUE(mb);
    Ref<IDirect3DRMFaceArray> faces;
    mb->GetFaces(faces.put());
    Ref<IDirect3DRMFace2> face;
    faces->GetElement(0, face.put());
    Ref<IDirect3DRMMaterial2> material;
    face->GetMaterial(material.put());
    ASSERT_TRUE(material);
    D3DVALUE r, g, b;
    material->GetEmissive(&r, &g, &b);
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
