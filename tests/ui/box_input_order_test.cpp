// Any order of clicks, scroll codes, Enter and Esc on every box the menu opens, as a
// restless user would: every box ends (by its own buttons or keys, or by its close button
// once the clicking stops), nothing reports a failure, and the show goes on with a scene. The
// orders are drawn from fixed seeds, so a failure repeats.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "tests/ui/box_fixture.h"

namespace {

struct MenuBox {
    WORD command;
    const char* templateName;
};

const MenuBox kMenuBoxes[] = {
    {IDM_RENDERER, "RenBox"},     {IDM_LIGHT, "LigBox"},          {IDM_MUSIC, "MusBox"},
    {IDM_FLY_MOVEMENT, "FlyBox"}, {IDM_LOAD_SCENE, "SceBox"},     {IDM_LOAD_OBJECT, "BasBox"},
    {IDM_LOAD_BACKGROUND, "BgrBox"}, {IDM_ABOUT, "InfBox"},       {IDM_HELP_INTRODUCTION, "DevBox"},
    {IDM_EDIT_SCRIPT, "EdiBox"},
};

const ResDialog& Template(const char* name) {
    for (const ResDialog& t : Win32ProgramResources().dialogs)
        if (std::string(t.name) == name) return t;
    throw std::runtime_error(std::string("no template ") + name);
}

class BoxInputOrder : public Boxes {
protected:
    // The programs and pages the boxes start go to stand-ins that do nothing.
    void SetUp() override {
        Boxes::SetUp();
        stubs = std::filesystem::temp_directory_path() / ("vlx-box-order-" + std::to_string(getpid()));
        std::filesystem::create_directories(stubs);
        for (const char* program : {"xdg-open", "cdplayer", "mplayer2", "sigmeter"}) {
            std::ofstream(stubs / program) << "#!/bin/sh\nexit 0\n";
            std::filesystem::permissions(stubs / program, std::filesystem::perms::owner_all);
        }
        path = std::getenv("PATH");
        setenv("PATH", (stubs.string() + ":" + path).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", path.c_str(), 1);
        std::filesystem::remove_all(stubs);
    }

    std::filesystem::path stubs;
    std::string path;
};

// One restless round on `box`: `actions` random clicks on any control but OK and Cancel and
// any scroll code on any bar (a thumb position within the bar's range), then one way out
// drawn at random: Enter, Esc, OK, Cancel, or none (the close button). Many controls end a
// box on their own; what follows them finds it ended and does nothing.
void Restless(HWND box, const ResDialog& t, std::mt19937& random, int actions) {
    std::uniform_int_distribution<size_t> anyControl(0, t.items.size() - 1);
    std::uniform_int_distribution<int> anyCode(SB_LINELEFT, SB_ENDSCROLL);
    for (int i = 0; i < actions; ++i) {
        const ResDialogItem& item = t.items[anyControl(random)];
        if (item.id == IDOK || item.id == IDCANCEL) continue;
        if (item.controlClass == ResControlClass::ScrollBar) {
            int low = 0, high = 0;
            GetScrollRange(GetDlgItem(box, item.id), SB_CTL, &low, &high);
            const int position = std::uniform_int_distribution<int>(low, std::max(low, high))(random);
            win32test::Scroll(box, item.id, static_cast<WORD>(anyCode(random)), position);
        } else {
            win32test::ClickControl(box, item.id);
        }
    }
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
    case 0: win32test::PressKey(box, VK_RETURN); break;
    case 1: win32test::PressKey(box, VK_ESCAPE); break;
    case 2: win32test::ClickControl(box, IDOK); break;
    case 3: win32test::ClickControl(box, IDCANCEL); break;
    default: break;
    }
}

TEST_F(BoxInputOrder, AnyClicksScrollCodesAndKeysEndEveryBoxWithoutAFailure) {
    const std::string script = std::string(VLX_INSTALL_DIR) + "/test1.txt";
    for (const MenuBox& entry : kMenuBoxes) {
        const ResDialog& t = Template(entry.templateName);
        for (unsigned round = 0; round < 8; ++round) {
            SCOPED_TRACE(std::string(entry.templateName) + " round " + std::to_string(round));
            std::mt19937 random(round * 7919u + entry.command);
            win32test::ClearRecordedDialogs();
            if (entry.command == IDM_EDIT_SCRIPT) win32test::AnswerOpenFile(script);
            Open(entry.command, entry.templateName, [&](HWND box) { Restless(box, t, random, 40); });
            // Boxes a button opened over this one (a file browser, a colour box) ended too.
            const auto& ended = win32test::RecordedDialogs();
            ASSERT_FALSE(ended.empty()) << "the box never opened";
            for (const auto& d : ended) EXPECT_NE(d.result, -1) << d.templateName << " did not end";
            ASSERT_TRUE(IsWindow(window));
            ASSERT_TRUE(appState && appState->scene) << "the show lost its scene";
        }
    }
    // The boxes' own words ("Fog not turned on!", "Please define light type.", ...) are
    // expected; a load or build that failed on the installation's own files is not.
    for (const auto& report : win32test::RecordedMessageBoxes())
        EXPECT_TRUE(report.text.find("ail") == std::string::npos && report.text.find("rror") == std::string::npos)
            << report.caption << ": " << report.text;
}

}  // namespace
