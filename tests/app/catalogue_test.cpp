// The installation's catalogue as the show walks it: every scene script reads and builds
// without a message, every background picture loads, and the texture folder the scene step
// adds stays one entry of the search path.
#include <string>

#include "content/scene_script.h"
#include "content/script_build.h"
#include "tests/app/headless_show.h"

TEST_F(HeadlessShow, EveryCatalogueAndDemoSceneBuildsAndEveryPictureLoads) {
    Settle();
    for (int position = 0; position < 19; ++position) {
        sceneIndex = position;
        cycleScenes = 1;
        NextScene();
        EXPECT_EQ(sceneIndex, position + 1) << "scene " << position << " could not be read";
        EXPECT_EQ(cycleScenes, 1);
        EXPECT_GT(SceneChildren().size(), 5u) << "scene " << position << " built too little";
    }
    for (const char* demo : {"main01.txt", "main02.txt", "main03.txt"}) {
        EXPECT_TRUE(ReadSceneScript(nullptr, demo, false)) << demo;
        EXPECT_TRUE(RunSceneScript(nullptr)) << demo;
    }
    for (const auto& box : win32test::RecordedMessageBoxes()) ADD_FAILURE() << box.caption << ": " << box.text;

    for (int position = 0; position < 15; ++position) {
        cycleBackgrounds = 1;
        NextBackground();
        EXPECT_EQ(cycleBackgrounds, 1) << "background " << position << " did not load";
    }

    DWORD size = 0;
    d3drm->GetSearchPath(&size, nullptr);
    std::string path(size, '\0');
    d3drm->GetSearchPath(&size, path.data());
    EXPECT_EQ(path.find("\\virelux\\tex"), path.rfind("\\virelux\\tex")) << path;
}
