// Building scenes from scene scripts: camera and fog, placed objects, the failure that stops
// a build, and the record used once.
#include <tuple>

#include "content/scene_script.h"
#include "content/script_build.h"
#include "tests/content/content_fixture.h"
#include "tests/content/script_file.h"

namespace {

class ScriptBuilding : public EmptyScene {
protected:
    bool Run(const std::string& text) {
        ScriptFile file(text);
        return ReadSceneScript(window, file.c_str(), false) && RunSceneScript(window);
    }
    static auto Fog() { return std::make_tuple(fogEnable, fogStart, fogEnd, +fogColor[0], +fogColor[2]); }
};

}  // namespace

// The fog colour is slot 0's; a script without fog restores the defaults, and <Cam> 0 the
// camera's default place.
TEST_F(ScriptBuilding, SetsFogAndCameraOrTheirDefaults) {
    ASSERT_TRUE(Run("<Fog> 1 20 80 <Col> 0.5 0.5 1 <Cam> 1 1 2 3 <Obj> xda\\bas\\cube.x <Col> 1 0 0 <End>"));
    EXPECT_EQ(Fog(), std::make_tuple(1, 20.0f, 80.0f, 127, 255));
    D3DVECTOR at;
    appState->camera->GetPosition(appState->scene.get(), &at);
    EXPECT_FLOAT_EQ(at.z, 3.0f);

    ASSERT_TRUE(Run("<Cam> 0 5 5 5 <End>"));
    EXPECT_EQ(Fog(), std::make_tuple(0, 30.0f, 100.0f, 128, 128));
    EXPECT_FLOAT_EQ(cameraStart.z, -50.0f);
}

// Each object gets its slot's position, scale and spin; a second run without a new read
// keeps the scene and succeeds.
TEST_F(ScriptBuilding, PlacesObjectsAndRunsARecordOnce) {
    ASSERT_TRUE(Run("<Obj> xda\\bas\\cube.x <Pos> 1 2 10 <Sca> 2 2 2 <Rot> 0 0 1 0.05 <End>"));
    D3DVECTOR p, axis;
    D3DVALUE angle = 0;
    LastChild()->GetPosition(appState->scene.get(), &p);
    LastChild()->GetRotation(appState->scene.get(), &axis, &angle);
    EXPECT_EQ(std::make_tuple(p.y, p.z, axis.z, angle), std::make_tuple(2.0f, 10.0f, 1.0f, 0.05f));
    EXPECT_NEAR(SceneBox().max.x - SceneBox().min.x, 4.0f, 1e-3f);   // the 2-unit cube scaled by 2

    IDirect3DRMFrame3* scene = appState->scene.get();
    EXPECT_TRUE(RunSceneScript(window));
    EXPECT_EQ(appState->scene.get(), scene);
}

// A failing mesh stops the build: the objects before it stay, later ones and the flight do
// not come.
TEST_F(ScriptBuilding, AFailingMeshStopsTheBuild) {
    const size_t before = SceneChildren().size();
    EXPECT_FALSE(Run("<Fly> xda\\vlxlogo.x <Obj> xda\\bas\\cube.x <Obj> xda\\none.x <MTx> t.bmp "
                     "<Obj> xda\\bas\\sphere.x <End>"));
    EXPECT_EQ(SceneChildren().size(), before + 1);
    EXPECT_FALSE(pendingScript);
    EXPECT_EQ(flyActive, 0);
    const auto& boxes = win32test::RecordedMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);   // the loader's own box, then the script's
    EXPECT_EQ(boxes[1].text, "Object: xda\\none.x or\nTexture: t.bmp");
    EXPECT_EQ(std::make_tuple(boxes[1].caption, boxes[1].type, boxes[1].owner),
              std::make_tuple(std::string("VLScript Report"), MB_ICONHAND, window));
}
