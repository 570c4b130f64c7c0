// Automatic cycling through the background and scene catalogues, switched by the keys and
// driven by the frame tick, over an installation of the test's own: tiny pictures, and scene
// scripts that each put the camera at their catalogue position, so the built scene tells
// which script it came from.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/main_loop.h"
#include "tests/app/headless_show.h"

namespace {

namespace stdfs = std::filesystem;

const char* const kPictures[] = {"bgnd",     "sky01",    "sky02",    "sky03",    "sky04",
                                 "sky05",    "sky06",    "sky07",    "sky08",    "sky09",
                                 "galaxis1", "galaxis2", "galaxis3", "galaxis4", "galaxis5"};

std::string SceneName(int position) {
    if (position == 0) return "test1.txt";
    if (position == 18) return "scene_off.txt";
    const int number = position - 1;
    return "scene" + std::string(number < 10 ? "0" : "") + std::to_string(number) + ".txt";
}

}  // namespace

class Cycling : public HeadlessShow {
protected:
    void SetUp() override {
        HeadlessShow::SetUp();
        Settle();
        root = stdfs::temp_directory_path() / ("vlx-cycling-" + std::to_string(getpid()));
        stdfs::create_directories(root / "virelux" / "bgr");
        stdfs::create_directory_symlink(VLX_INSTALL_DIR "/xda", root / "virelux" / "xda");   // the lamps' model
        fs::SetInstallationFolder((root / "virelux").string());
        ASSERT_EQ(chdir((root / "virelux").c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir("/"), 0);
        stdfs::remove_all(root);
    }

    void WritePictures(const char* leaveOut = "") {
        for (const char* name : kPictures)
            if (std::string(name) != leaveOut)
                stdfs::copy_file(VLX_INSTALL_DIR "/bgr/bgnd.bmp", root / "virelux" / "bgr" / (std::string(name) + ".bmp"));
    }
    void WriteScenes(int count) {
        for (int i = 0; i < count; ++i) std::ofstream(root / "virelux" / SceneName(i)) << "<Cam> 1 0 1 " << i << "\n<End>\n";
    }
    void Press(WORD key) {
        SendMessageA(window, WM_KEYDOWN, key, 0);
        SendMessageA(window, WM_KEYUP, key, 0);
    }
    // Idle ticks until `index` moves or the cycle stops (at most 3000).
    int TicksUntilStep(const int& index) {
        const int before = index;
        for (int ticks = 1; ticks <= 3000; ++ticks) {
            FrameTick();
            if (index != before || !(cycleBackgrounds || cycleScenes)) return ticks;
        }
        return -1;
    }
    int SceneShown() const { return static_cast<int>(cameraStart.z); }

    stdfs::path root;
};

TEST_F(Cycling, BackgroundsFollowTheCatalogue502TicksAfterF6ThenEvery1000AndWrap) {
    WritePictures();
    Press(VK_F6);
    EXPECT_EQ(TicksUntilStep(backgroundIndex), 502);
    EXPECT_EQ(backgroundIndex, 1);
    for (int shown = 2; shown <= 15; ++shown) {
        ASSERT_EQ(TicksUntilStep(backgroundIndex), 1000);
        EXPECT_EQ(backgroundIndex, shown);
    }
    // After galaxis5 comes bgnd again.
    EXPECT_EQ(TicksUntilStep(backgroundIndex), 1000);
    EXPECT_EQ(backgroundIndex, 1);

    // A selection holds the count; without it the count goes on from where it stood.
    FrameTick();
    const float counted = cycleCounter;
    selectedFrame = appState->camera.get();
    for (int i = 0; i < 700; ++i) FrameTick();
    EXPECT_EQ(cycleCounter, counted);
    selectedFrame = nullptr;
    EXPECT_EQ(TicksUntilStep(backgroundIndex), 999);

    // The release of Esc stops it.
    Press(VK_ESCAPE);
    EXPECT_EQ(cycleBackgrounds, 0);
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
}

TEST_F(Cycling, ScenesFollowTheCatalogueByF7AndByF8AndWrap) {
    WriteScenes(19);
    // F7 shows the next scene at once and leaves cycling off.
    for (int position = 0; position < 19; ++position) {
        Press(VK_F7);
        EXPECT_EQ(SceneShown(), position);
        EXPECT_EQ(flyActive, 1);
    }
    EXPECT_EQ(cycleScenes, 0);
    Press(VK_F8);
    EXPECT_EQ(TicksUntilStep(sceneIndex), 502);
    EXPECT_EQ(SceneShown(), 0);   // after scene_off comes test1
    EXPECT_EQ(TicksUntilStep(sceneIndex), 1000);
    EXPECT_EQ(SceneShown(), 1);
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
}

TEST_F(Cycling, AMissingPictureOrScriptEndsItsCycleSilentlyWhereItStood) {
    WritePictures("galaxis3");
    Press(VK_F6);
    for (int change = 0; change < 13 && cycleBackgrounds; ++change) TicksUntilStep(backgroundIndex);
    EXPECT_EQ(cycleBackgrounds, 0);
    EXPECT_EQ(backgroundIndex, 12);

    WriteScenes(3);
    Press(VK_F8);
    for (int change = 0; change < 4 && cycleScenes; ++change) TicksUntilStep(sceneIndex);
    EXPECT_EQ(cycleScenes, 0);
    EXPECT_EQ(sceneIndex, 3);
    EXPECT_EQ(SceneShown(), 2);
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
}
