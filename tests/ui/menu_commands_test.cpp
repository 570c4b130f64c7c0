// The main window's commands, chosen from the menu of a headless show: each id must reach
// its own action.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "render3d/scene.h"
#include "sound/midi.h"
#include "tests/app/headless_show.h"
#include "tests/support/wait.h"

using MenuCommands = HeadlessShow;

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
