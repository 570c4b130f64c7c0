// The splash, information and sound device boxes of a headless show, driven by dialog scripts:
// which box the start-up command shows, what each button starts, which buttons close a box.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "sound/midi.h"
#include "tests/app/headless_show.h"
#include "tests/support/pulse_server.h"
#include "tests/support/wait.h"

class SplashBoxes : public HeadlessShow {
protected:
    // An installation without the demo tune but with the pages the boxes open, and stand-ins
    // for the desktop's opener and the two players, which note what they were given.
    void UseRecordingInstallation() {
        folder = std::filesystem::temp_directory_path() / ("vlx-boxes-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder / "doc");
        for (const char* page : {"help1.htm", "main.html"}) std::ofstream(folder / "doc" / page) << "<html></html>\n";
        for (const char* program : {"xdg-open", "cdplayer", "mplayer2"}) {
            std::ofstream(folder / program) << "#!/bin/sh\necho \"" << program << " $1\" >> '" << (folder / "log").string()
                                            << "'\n";
            std::filesystem::permissions(folder / program, std::filesystem::perms::owner_all);
        }
        path = std::getenv("PATH");
        setenv("PATH", (folder.string() + ":" + path).c_str(), 1);
        fs::SetInstallationFolder(folder.string());
    }
    void TearDown() override {
        if (folder.empty()) return;
        setenv("PATH", path.c_str(), 1);
        std::filesystem::remove_all(folder);
    }
    // What the stand-ins were given, sorted: they run side by side.
    std::vector<std::string> Launched() {
        std::ifstream in(folder / "log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        std::sort(lines.begin(), lines.end());
        return lines;
    }
    bool LaunchedSoFar(std::vector<std::string> expected) {
        std::sort(expected.begin(), expected.end());
        return vlx_test::WaitUntil([&] { return Launched() == expected; }, std::chrono::seconds(10));
    }
    std::vector<std::string> Boxes() {
        std::vector<std::string> names;
        for (const auto& shown : win32test::RecordedDialogs()) names.push_back(shown.templateName);
        return names;
    }

    std::filesystem::path folder;
    std::string path;
};

// The splash shows while the demo plays; Esc silences the tune, a click on the picture and
// Enter leave it playing.
TEST_F(SplashBoxes, SplashShowsOverThePlayingDemoAndOnlyEscStopsIt) {
    vlx_test::PulseServer sound;
    sound.UseInThisProcess();
    Settle();   // the start-up's own splash, cancelled
    const struct {
        WORD key;   // 0: a click on the picture
        BYTE playingAfter;
    } cases[] = {{0, 1}, {VK_RETURN, 1}, {VK_ESCAPE, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        BYTE playingWhileShown = 0;
        win32test::SetDialogScript("RunBox", [&](HWND box) {
            playingWhileShown = midiPlaying;
            EXPECT_TRUE(c.key ? win32test::PressKey(box, c.key) : win32test::ClickControl(box, IDC_SPLASH_PICTURE));
            EXPECT_FALSE(win32test::ClickControl(box, IDC_SPLASH_PICTURE)) << "the box stayed open";
        });
        PostMessageA(window, WM_COMMAND, IDM_PLAY_DEMO, 0);
        Settle();
        EXPECT_EQ(playingWhileShown, 1);
        EXPECT_EQ(midiPlaying, c.playingAfter);
    }
    EXPECT_EQ(Boxes(), std::vector<std::string>(4, "RunBox"));
}

// Without the tune the start-up asks about the sound. "Readme - Help" keeps the box open,
// each player button starts its own program and closes it; "Introduction" shows it again.
// "About": both pages open with the box staying, OK closes it.
TEST_F(SplashBoxes, SoundDeviceAndInformationBoxesStartTheirOwnProgramsAndPages) {
    UseRecordingInstallation();
    win32test::SetDialogScript("DevBox", [](HWND box) {
        EXPECT_TRUE(win32test::ClickControl(box, IDC_README_HELP));
        EXPECT_TRUE(win32test::ClickControl(box, IDC_README_HELP));
        EXPECT_TRUE(win32test::ClickControl(box, IDC_CD_PLAYER));
        EXPECT_FALSE(win32test::ClickControl(box, IDC_README_HELP)) << "CD Player left the box open";
    });
    Settle();
    EXPECT_EQ(midiPlaying, 0);
    const std::string help = "xdg-open " + (folder / "doc" / "help1.htm").string();
    EXPECT_TRUE(LaunchedSoFar({"cdplayer ", help, help})) << ::testing::PrintToString(Launched());

    for (int button : {IDC_MM_PLAYER, IDC_SOUND_RUNS}) {
        win32test::SetDialogScript("DevBox", [button](HWND box) {
            EXPECT_TRUE(win32test::ClickControl(box, button));
            EXPECT_FALSE(win32test::ClickControl(box, IDC_README_HELP)) << button << " left the box open";
        });
        win32test::ChooseMenuItem(window, IDM_HELP_INTRODUCTION);
        Settle();
    }
    EXPECT_TRUE(LaunchedSoFar({"cdplayer ", "mplayer2 ", help, help})) << ::testing::PrintToString(Launched());

    win32test::SetDialogScript("InfBox", [](HWND box) {
        EXPECT_TRUE(win32test::ClickControl(box, IDC_HOME_PAGE));
        EXPECT_TRUE(win32test::ClickControl(box, IDC_PRIVATE_PAGE));
        EXPECT_TRUE(win32test::PressKey(box, VK_RETURN));
        EXPECT_FALSE(win32test::ClickControl(box, IDC_HOME_PAGE)) << "OK left the box open";
    });
    win32test::ChooseMenuItem(window, IDM_ABOUT);
    Settle();
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"DevBox", "DevBox", "DevBox", "InfBox"}));
    EXPECT_TRUE(LaunchedSoFar({"cdplayer ", "mplayer2 ", help, help, "xdg-open " + (folder / "doc" / "main.html").string(),
                               std::string("xdg-open ") + kHomePage}))
        << ::testing::PrintToString(Launched());
}
