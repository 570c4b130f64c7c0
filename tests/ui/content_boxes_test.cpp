// The Scene, Objects', Background and Script boxes, opened from the menu of a headless show
// and driven by dialog scripts, with the open-file dialog answered by the test.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "content/object_loading.h"
#include "content/scene_script.h"
#include "fly/fly_movement.h"
#include "platform/d3drm/frame.h"
#include "platform/d3drm/texture.h"
#include "tests/app/headless_show.h"
#include "tests/support/wait.h"
#include "ui/script_box.h"

namespace stdfs = std::filesystem;

class ContentBoxes : public HeadlessShow {
protected:
    void SetUp() override {
        HeadlessShow::SetUp();
        Settle();
        win32test::ClearRecordedDialogs();   // the splash or sound-device box of start-up
        win32test::ClearRecordedMessageBoxes();
        folder = stdfs::temp_directory_path() / ("vlx-box2-" + std::to_string(getpid()));
        stdfs::create_directories(folder);
    }
    void TearDown() override { stdfs::remove_all(folder); }

    // Chooses menu command `command` with `script` acting in box `box` once it opens.
    void Open(WORD command, const char* box, std::function<void(HWND)> script) {
        win32test::SetDialogScript(box, std::move(script));
        win32test::ChooseMenuItem(window, command);
        Settle();
    }
    static INT_PTR LastBoxResult() { return win32test::RecordedDialogs().back().result; }
    static std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const auto& box : win32test::RecordedMessageBoxes()) texts.push_back(box.text);
        return texts;
    }
    // The texels of the scene's background picture, and of a bitmap loaded afresh.
    static std::vector<std::uint8_t> Background() {
        IDirect3DRMTexture3* image = static_cast<Frame*>(appState->scene.get())->BackgroundImage();
        return image ? Texture::From(image)->rgba : std::vector<std::uint8_t>{};
    }
    static std::vector<std::uint8_t> Bitmap(const char* file) {
        Ref<IDirect3DRMTexture3> texture;
        EXPECT_EQ(d3drm->LoadTexture(file, texture.put()), D3DRM_OK) << file;
        return texture ? Texture::From(texture.get())->rgba : std::vector<std::uint8_t>{};
    }
    static std::string Text(HWND box, int id) {
        char text[256] = "";
        GetDlgItemTextA(box, id, text, sizeof text);
        return text;
    }

    stdfs::path folder;
};

// Each picture builds its own demo script and starts that scene's flight; opening the box
// stops any flight and the dance first.
TEST_F(ContentBoxes, SceneBoxPicturesBuildTheirDemoSceneWithItsFlight) {
    const struct {
        WORD picture;
        const char* background;
        int flight;
    } cases[] = {{IDB_SCENE_MAIN01, "bgr\\sky03.bmp", 1}, {IDB_SCENE_MAIN02, "bgr\\galaxis4.bmp", 1},
                 {IDB_SCENE_MAIN03, "bgr\\sky08.bmp", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture);
        flyActive = 1;
        danceActive = 1;
        flyLight = 1;
        flockSpeed = 0.5f;
        Open(IDM_LOAD_SCENE, "SceBox", [&](HWND box) {
            EXPECT_TRUE(flyActive == 0 && danceActive == 0);
            EXPECT_TRUE(win32test::ClickControl(box, c.picture));
        });
        EXPECT_EQ(LastBoxResult(), c.picture) << "the click did not close the box";
        EXPECT_EQ(Background(), Bitmap(c.background));
        EXPECT_EQ(flyActive, c.flight);
        if (c.picture == IDB_SCENE_MAIN01) {
            EXPECT_TRUE(flyState.animation && flyLight == 0 && animationStep == 0.001f);
        }
        if (c.picture == IDB_SCENE_MAIN02) {
            EXPECT_TRUE(pathAnimation && flockSpeed == 0.01f);
            Ref<IDirect3DRMFrame3> parent;
            ASSERT_TRUE(flockFrames[0] && flockFrames[0]->GetParent(parent.put()) == D3DRM_OK);
            EXPECT_EQ(parent.get(), appState->scene.get()) << "the ufos fly in another scene";
        }
    }
    EXPECT_TRUE(Messages().empty()) << Messages().front();
}

// "Load Scene" asks for a script in the installation's folder; a cancel closes the box and
// keeps the scene, a chosen script is built.
TEST_F(ContentBoxes, SceneBoxLoadsAChosenScriptAndACancelKeepsTheScene) {
    // Held, so that a new scene cannot take the old one's address.
    const Ref<IDirect3DRMFrame3> before = appState->scene;
    win32test::AnswerOpenFile(std::nullopt);
    win32test::AnswerOpenFile("main03.txt");
    auto loadScene = [](HWND box) { win32test::ClickControl(box, IDC_LOAD_SCENE); };
    Open(IDM_LOAD_SCENE, "SceBox", loadScene);
    EXPECT_TRUE(LastBoxResult() == IDC_LOAD_SCENE && appState->scene.get() == before.get());
    Open(IDM_LOAD_SCENE, "SceBox", loadScene);
    const win32test::RecordedOpenFile& asked = win32test::RecordedOpenFiles().front();
    EXPECT_TRUE(asked.title == "Load script scene (*.TXT)" && asked.filters.size() == 1 &&
                asked.filters[0].first == "Txt-Scene (*.txt)" && asked.filters[0].second == "*.txt");
    EXPECT_TRUE(asked.initialDir == "\\Virelux" && asked.filterIndex == 1 && asked.defaultExtension == ".x");
    EXPECT_EQ(asked.flags, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_SHOWHELP | OFN_NOCHANGEDIR);
    EXPECT_NE(appState->scene.get(), before.get());
    EXPECT_TRUE(Background() == Bitmap("bgr\\sky08.bmp"));
    EXPECT_TRUE(Messages().empty()) << Messages().front();
}

// Shapes and files come at the origin beside what the scene holds; a cancelled file dialog
// adds nothing.
TEST_F(ContentBoxes, ObjectsBoxAddsAtTheOriginBesideTheScene) {
    const size_t before = SceneChildren().size();
    SetPlacement(1.0f, 1.0f, 1.0f, 5.0f, 5.0f, 5.0f, 2.0f, 2.0f, 2.0f, 0.0f, 1.0f, 0.0f, 0.1f);
    Open(IDM_LOAD_OBJECT, "BasBox", [](HWND box) { win32test::ClickControl(box, IDC_SHAPE_SPHERE); });
    ASSERT_EQ(SceneChildren().size(), before + 1);
    D3DVECTOR at{1.0f, 1.0f, 1.0f};
    LastChild()->GetPosition(appState->scene.get(), &at);
    EXPECT_TRUE(at.x == 0.0f && at.y == 0.0f && at.z == 0.0f && VisualCount(LastChild().get()) == 1);

    win32test::AnswerOpenFile(std::nullopt);
    win32test::AnswerOpenFile("xda\\bas\\cube.x");
    Open(IDM_LOAD_OBJECT, "BasBox", [](HWND box) { win32test::ClickControl(box, IDC_FRAME_OBJECT); });
    Open(IDM_LOAD_OBJECT, "BasBox", [](HWND box) { win32test::ClickControl(box, IDC_MESH_OBJECT); });
    EXPECT_EQ(SceneChildren().size(), before + 2);
    EXPECT_EQ(win32test::RecordedOpenFiles().back().title, "Load Mesh X-Object (*.X)");
}

// A bitmap that cannot be loaded leaves the box open and the old picture; a good one
// replaces the background only.
TEST_F(ContentBoxes, BackgroundBoxReplacesOnlyThePictureAndStaysOpenOnABadOne) {
    std::ofstream(folder / "broken.bmp") << "not a bitmap";
    const size_t children = SceneChildren().size();
    const std::vector<std::uint8_t> before = Background();
    ASSERT_NE(before, Bitmap("bgr\\sky01.bmp"));
    win32test::AnswerOpenFile((folder / "broken.bmp").string());
    Open(IDM_LOAD_BACKGROUND, "BgrBox", [&](HWND box) {
        EXPECT_TRUE(win32test::ClickControl(box, IDC_LOAD_BACKGROUND));
        EXPECT_EQ(Background(), before);
        EXPECT_TRUE(win32test::ClickControl(box, IDB_SKY01)) << "the box closed on a bad bitmap";
    });
    EXPECT_EQ(LastBoxResult(), IDB_SKY01);
    EXPECT_EQ(Background(), Bitmap("bgr\\sky01.bmp"));
    EXPECT_EQ(SceneChildren().size(), children);
    EXPECT_TRUE(Messages().empty());
}

// Edit: the chosen file goes to the desktop's opener, then the Script Box tests it into its
// message field. A failed test leaves nothing pending; OK builds the last reading, once.
TEST_F(ContentBoxes, EditCommandsOpenTheFileAndTheScriptBoxBuildsTheLastTest) {
    const stdfs::path opener = folder / "xdg-open", opened = folder / "opened", script = folder / "edit.txt";
    std::ofstream(opener) << "#!/bin/sh\necho \"$1\" >> '" << opened.string() << "'\n";
    stdfs::permissions(opener, stdfs::perms::owner_all);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (folder.string() + ":" + path).c_str(), 1);
    auto openedFiles = [&] { return (std::stringstream() << std::ifstream(opened).rdbuf()).str(); };

    // The bitmap editor first.
    win32test::AnswerOpenFile("bgr\\sky01.bmp");
    win32test::ChooseMenuItem(window, IDM_EDIT_BACKGROUND);
    Settle();
    const std::string bitmap = win32test::RecordedOpenFiles().back().path.value_or("");

    std::ofstream(script) << "<Img> bgr\\sky01.bmp\n<Obj> xda\\bas\\cube.x\n";   // no <End>
    const Ref<IDirect3DRMFrame3> before = appState->scene;   // held: a rebuilt one cannot take its address
    win32test::AnswerOpenFile(script.string());
    Open(IDM_EDIT_SCRIPT, "EdiBox", [&](HWND box) {
        EXPECT_EQ(Text(box, IDC_SCRIPT_MESSAGES), "Please wait.");
        win32test::ClickControl(box, IDC_SCRIPT_TEST);
        EXPECT_EQ(Messages(), (std::vector<std::string>{"No VLScript Report", "Load Scene Script error!"}));
        EXPECT_TRUE(!pendingScript && reportToScriptBox == 0);
        std::ofstream(script) << "<Img> bgr\\sky01.bmp\n<Obj> xda\\bas\\cube.x\n<End>\n";
        win32test::ClickControl(box, IDC_SCRIPT_TEST);
        EXPECT_EQ(Text(box, IDC_SCRIPT_MESSAGES), "Background: bgr\\sky01.bmp\nRead: 2 object\nName: <End>\nLine: 3");
        std::ofstream(script) << "<Img> bgr\\sky02.bmp\n<Obj> xda\\bas\\cube.x\n<Obj> xda\\bas\\cone.x\n<End>\n";
        win32test::ClickControl(box, IDC_SCRIPT_TEST);
        EXPECT_EQ(Text(box, IDC_SCRIPT_MESSAGES).rfind("Background: bgr\\sky02.bmp\nRead: 3 object", 0), 0u);
        EXPECT_EQ(appState->scene.get(), before.get()) << "a test built the scene";
        EXPECT_TRUE(win32test::ClickControl(box, IDOK));
    });
    EXPECT_TRUE(vlx_test::WaitUntil([&] { return openedFiles() == bitmap + "\n" + script.string() + "\n"; },
                                    std::chrono::seconds(10)));
    EXPECT_TRUE(LastBoxResult() == IDOK && Background() == Bitmap("bgr\\sky02.bmp"));
    EXPECT_EQ(SceneChildren().size(), 8u) << "camera, empty frame, four lamps and the two objects";
    EXPECT_EQ(Messages().size(), 2u);
    setenv("PATH", path.c_str(), 1);
}
