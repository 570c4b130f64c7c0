// The main window's commands, chosen from the menu of a headless show: each id must reach
// its own action; the object commands keep scene, clipboard and selection straight.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "content/object_loading.h"
#include "fly/camera_path.h"
#include "render3d/scene.h"
#include "sound/midi.h"
#include "tests/app/headless_show.h"
#include "tests/support/wait.h"
#include "ui/object_editing.h"

// FIXME: the selection's header arrives with mouse picking; until then the stand-in's.
#include "ui/selection.h"

class MenuCommands : public HeadlessShow {
protected:
    void Command(WORD id) {
        win32test::ChooseMenuItem(window, id);
        Settle();
    }
    // Selects a frame as a click on it would, with its mesh builder (if any).
    static void Select(IDirect3DRMFrame3* frame) {
        selectedFrame = frame;
        selectedVisual = FirstVisual<IDirect3DRMMeshBuilder3>(frame, IID_IDirect3DRMMeshBuilder3).get();
    }
    static size_t NoKeyFunctionBoxes() {
        return std::count_if(win32test::RecordedMessageBoxes().begin(), win32test::RecordedMessageBoxes().end(),
                             [](const auto& b) { return b.text == "No key function." && b.caption == "Virelux Report"; });
    }
    // Sets *arg when the object it is attached to is destroyed.
    static void Destroyed(IDirect3DRMObject*, void* arg) { *static_cast<bool*>(arg) = true; }
};

// The three scene commands: which scene each builds, and what every new scene resets; then
// the capture commands and close.
TEST_F(MenuCommands, SceneCaptureAndCloseCommandsReachTheirOwnActions) {
    Settle();
    ASSERT_EQ(recording.load(), 1);   // the start-up's posted start of capture ran
    const struct {
        WORD command;
        BYTE lampModels;
        size_t children;   // camera, empty frame, four lamps; the main scene adds spot light and logo
    } cases[] = {{IDM_SCENE_WITHOUT_LIGHTS, 0, 6}, {IDM_SCENE_WITH_LIGHTS, 1, 6}, {IDM_MAIN_SCENE, 1, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        danceActive = 1;
        midiPlaying = 1;
        win32test::ChooseMenuItem(window, c.command);
        Settle();
        EXPECT_EQ(SceneChildren().size(), c.children);
        EXPECT_EQ(withLightObject, c.lampModels);
        if (c.command != IDM_MAIN_SCENE) {
            int visuals = 0;
            for (const auto& child : SceneChildren()) visuals += VisualCount(child.get());
            EXPECT_EQ(visuals, c.lampModels ? 3 : 0);
            EXPECT_EQ(danceActive, 0);
            EXPECT_EQ(midiPlaying, 0) << "a new scene while recording stops the tune";
        }
    }
    EXPECT_EQ(recording.load(), 1);
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());

    // The capture commands stop and start the recording.
    win32test::ChooseMenuItem(window, IDM_STOP_CAPTURE);
    Settle();
    EXPECT_EQ(recording.load(), 0);
    win32test::ChooseMenuItem(window, IDM_START_CAPTURE);
    Settle();
    EXPECT_EQ(recording.load(), 1);
    // Close: the dance and the recording stop at once, and the close ends the loop.
    danceActive = 1;
    SendMessageA(window, WM_COMMAND, IDM_CLOSE, 0);
    EXPECT_EQ(danceActive, 0);
    EXPECT_EQ(recording.load(), 0);
    EXPECT_EQ(appState->quitRequested, 1);
    EXPECT_TRUE(IsWindow(window));
}

// The two help commands hand their own page to the desktop's opener.
TEST_F(MenuCommands, HelpCommandsOpenTheirOwnPage) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("vlx-ui-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "doc");
    for (const char* page : {"e_minfo.htm", "helpk.htm"}) std::ofstream(folder / "doc" / page) << "<html></html>\n";
    const std::filesystem::path opener = folder / "xdg-open", opened = folder / "opened";
    std::ofstream(opener) << "#!/bin/sh\necho \"$1\" >> '" << opened.string() << "'\n";
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (folder.string() + ":" + path).c_str(), 1);
    fs::SetInstallationFolder(folder.string());

    auto read = [&] {
        std::ifstream in(opened);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    const std::string description = (folder / "doc" / "e_minfo.htm").string() + "\n";
    win32test::ChooseMenuItem(window, IDM_DESCRIPTION);
    Settle();
    EXPECT_TRUE(vlx_test::WaitUntil([&] { return read() == description; }, std::chrono::seconds(10))) << read();
    win32test::ChooseMenuItem(window, IDM_HELP_KEYBOARD);
    Settle();
    const std::string both = description + (folder / "doc" / "helpk.htm").string() + "\n";
    EXPECT_TRUE(vlx_test::WaitUntil([&] { return read() == both; }, std::chrono::seconds(10))) << read();

    setenv("PATH", path.c_str(), 1);
    std::filesystem::remove_all(folder);
}

// Without a selection every object command only says so: nothing is cut, copied, pasted,
// deleted or coloured, and the dance goes on.
TEST_F(MenuCommands, ObjectCommandsWithoutASelectionOnlySaySo) {
    Settle();
    const size_t children = SceneChildren().size();
    danceActive = 1;
    for (WORD id : {IDM_CUT, IDM_COPY, IDM_PASTE, IDM_DELETE, IDM_GROUND_COLOR}) Command(id);
    EXPECT_EQ(NoKeyFunctionBoxes(), 5u);
    EXPECT_TRUE(SceneChildren().size() == children && danceActive == 1 && !clipFrame);
    EXPECT_TRUE(win32test::RecordedColorDialogs().empty());
}

// Cut, Paste, Copy and Delete in a row: what the scene, the clipboard and the selection hold
// after each, and a Paste after the clipboard's scene was torn down.
TEST_F(MenuCommands, CutPasteCopyDeleteKeepSceneClipboardAndSelectionStraight) {
    Settle();
    Ref<IDirect3DRMFrame3> logo = LastChild();
    D3DVECTOR logoAt, at;
    logo->GetPosition(appState->scene.get(), &logoAt);
    const size_t full = SceneChildren().size();

    Select(logo.get());
    Command(IDM_CUT);
    EXPECT_TRUE(SceneChildren().size() == full - 1 && clipFrame.get() == logo.get() && !selectedFrame);
    Command(IDM_PASTE);   // Cut emptied the selection: refused
    EXPECT_TRUE(NoKeyFunctionBoxes() == 1 && SceneChildren().size() == full - 1);

    // With anything selected each Paste adds a copy of the logo at its place, with a visual
    // of its own (not the clipboard's, not twice).
    Select(SceneChildren()[2].get());   // a lamp with its model
    Command(IDM_PASTE);
    Command(IDM_PASTE);
    std::vector<Ref<IDirect3DRMFrame3>> children = SceneChildren();
    ASSERT_EQ(children.size(), full + 1);
    for (size_t i = full - 1; i <= full; ++i) {
        children[i]->GetPosition(appState->scene.get(), &at);
        EXPECT_TRUE(at.x == logoAt.x && at.y == logoAt.y && at.z == logoAt.z);
        EXPECT_EQ(VisualCount(children[i].get()), 1);
        EXPECT_NE(FirstVisual<IDirect3DRMVisual>(children[i].get(), IID_IDirect3DRMVisual).get(), clipVisual);
    }

    // A second Copy lets the first copy go; the selection stays. Delete then destroys the
    // selected object and leaves nothing pointing at it.
    IDirect3DRMFrame3* pasted = children.back().get();
    children.clear();
    Select(pasted);
    Command(IDM_COPY);
    bool firstCopyGone = false, deleted = false;
    clipFrame->AddDestroyCallback(Destroyed, &firstCopyGone);
    Command(IDM_COPY);
    EXPECT_TRUE(firstCopyGone && selectedFrame == pasted);
    pasted->AddDestroyCallback(Destroyed, &deleted);
    Command(IDM_DELETE);
    EXPECT_TRUE(deleted && !selectedFrame && SceneChildren().size() == full);

    // The clipboard outlives its scene: Paste into a main scene built afresh.
    logo.reset();
    Command(IDM_MAIN_SCENE);
    Select(LastChild().get());
    Command(IDM_PASTE);
    EXPECT_TRUE(SceneChildren().size() == full + 1 && VisualCount(LastChild().get()) == 1);
    appState->scene->Move(1.0f);
}

// "Ground color" opens the dialog at the first face's colour (COLORREF byte order) and puts
// the confirmed one on every face, white as exactly 1.0; Cancel changes nothing; a mesh
// without faces starts at black.
TEST_F(MenuCommands, GroundColorTakesTheColourConfirmedInTheDialog) {
    Settle();
    Ref<IDirect3DRMFrame3> logo = LastChild();
    Ref<IDirect3DRMMeshBuilder3> mesh = FirstVisual<IDirect3DRMMeshBuilder3>(logo.get(), IID_IDirect3DRMMeshBuilder3);
    ASSERT_TRUE(mesh);
    auto faceColors = [&] {
        std::vector<D3DCOLOR> colors;
        Ref<IDirect3DRMFaceArray> faces;
        mesh->GetFaces(faces.put());
        for (DWORD i = 0; i < faces->GetSize(); ++i) {
            Ref<IDirect3DRMFace2> face;
            faces->GetElement(i, face.put());
            colors.push_back(face->GetColor());
        }
        return colors;
    };
    const size_t faces = faceColors().size();
    mesh->SetColor(D3DRMCreateColorRGB(1.0f, 0.5f, 0.0f));
    Select(logo.get());

    win32test::AnswerNextColorDialog(RGB(0, 64, 255));
    win32test::AnswerNextColorDialog(std::nullopt);
    Command(IDM_GROUND_COLOR);
    Command(IDM_GROUND_COLOR);
    const win32test::RecordedColorDialog shown = win32test::RecordedColorDialogs().at(0);
    EXPECT_TRUE(shown.start == RGB(255, 128, 0) && shown.flags == (CC_RGBINIT | CC_FULLOPEN) && shown.owner == window);
    EXPECT_EQ(std::count(std::begin(shown.custom), std::end(shown.custom), 0x00ffffffu), 16);
    EXPECT_EQ(faceColors(), std::vector<D3DCOLOR>(faces, 0xFF0040FFu)) << "the cancelled second dialog counted";
    win32test::AnswerNextColorDialog(RGB(255, 255, 255));
    Command(IDM_GROUND_COLOR);
    EXPECT_EQ(faceColors(), std::vector<D3DCOLOR>(faces, 0xFFFFFFFFu));

    Ref<IDirect3DRMMeshBuilder3> empty;
    Ref<IDirect3DRMFrame3> holder;
    d3drm->CreateMeshBuilder(empty.put());
    d3drm->CreateFrame(appState->scene.get(), holder.put());
    holder->AddVisual(empty.get());
    Select(holder.get());
    Command(IDM_GROUND_COLOR);
    EXPECT_EQ(win32test::RecordedColorDialogs().back().start, RGB(0, 0, 0));
}

TEST_F(MenuCommands, SelectBoxTicksAndUnticksItsEntry) {
    HMENU functions = GetSubMenu(GetMenu(window), 1);
    for (UINT expected : {MF_CHECKED, MF_UNCHECKED, MF_CHECKED}) {
        Command(IDM_SELECT_BOX);
        EXPECT_EQ(GetMenuState(functions, IDM_SELECT_BOX, MF_BYCOMMAND) & MF_CHECKED, expected);
    }
}

// The scene reset with a camera flight and an animated model running: the record the
// animation ticked last is freed before the teardown, which must then not touch it (the
// sanitizer build catches that), and every flag of the old scene is cleared.
TEST_F(MenuCommands, SceneResetLetsGoOfARunningFlightAndAnimation) {
    Settle();
    ASSERT_TRUE(LoadFrameObject("xda\\vogel1.x"));
    StartCameraPath(0);
    flyActive = scriptSceneActive = cycleBackgrounds = danceActive = 1;
    flyPathCount = movePathCount = 16;
    Select(LastChild().get());
    appState->scene->Move(1.0f);
    ASSERT_TRUE(lastAnimationRecord && pathAnimation);

    Command(IDM_SCENE_WITH_LIGHTS);
    EXPECT_TRUE(!lastAnimationRecord && !pathAnimation && !selectedFrame);
    EXPECT_TRUE(flyActive == 0 && scriptSceneActive == 0 && flyPathCount == 0 && movePathCount == 0 &&
                cycleBackgrounds == 0 && danceActive == 0);
    EXPECT_EQ(SceneChildren().size(), 6u);
    appState->scene->Move(1.0f);
    EXPECT_EQ(lastAnimationRecord, nullptr) << "a tick of the old scene ran";
}
