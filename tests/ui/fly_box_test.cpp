// The Fly movement Box, opened from the menu of a headless show and driven by dialog
// scripts: the speed slider's mapping, the remembered buttons, one object flight per Reset.
#include <functional>

#include "fly/fly_movement.h"
#include "tests/app/headless_show.h"
#include "ui/fly_box.h"

class FlyBox : public HeadlessShow {
protected:
    void SetUp() override {
        HeadlessShow::SetUp();
        Settle();
    }
    void Open(std::function<void(HWND)> script) {
        win32test::SetDialogScript("FlyBox", std::move(script));
        win32test::ChooseMenuItem(window, IDM_FLY_MOVEMENT);
        Settle();
    }
    static std::string SpeedText(HWND box) {
        char text[32] = "";
        GetDlgItemTextA(box, IDC_FLY_SPEED_TEXT, text, sizeof text);
        return text;
    }
};

// The slider starts where pathSpeed stands, pages by 11, stays within 0..200 and sets the
// speed at once; any scroll forgets the path button. The remembered buttons show checked.
TEST_F(FlyBox, SliderMapsOntoThePathSpeedAndRememberedButtonsShow) {
    pathChoice = 3;
    objectChoice = 2;
    flyLight = 1;
    Open([](HWND box) {
        HWND bar = GetDlgItem(box, IDC_FLY_SPEED);
        EXPECT_TRUE(GetScrollPos(bar, SB_CTL) == 88 && SpeedText(box) == "0.005");
        EXPECT_EQ(flyLight, 0);
        EXPECT_TRUE(IsDlgButtonChecked(box, IDC_PATH_ZOOM) && IsDlgButtonChecked(box, IDC_FLY_UFOS));
        EXPECT_FALSE(IsDlgButtonChecked(box, IDC_PATH_STANDARD) || IsDlgButtonChecked(box, IDC_FLY_BIRDS));
        const struct {
            WORD code;
            int pos;
            int expected;
            const char* text;
        } steps[] = {{SB_PAGERIGHT, 0, 99, "0.005"}, {SB_LINELEFT, 0, 98, "0.005"}, {SB_THUMBTRACK, 160, 160, "0.008"},
                     {SB_ENDSCROLL, 0, 160, "0.008"}, {SB_RIGHT, 0, 200, "0.010"},     {SB_LINERIGHT, 0, 200, "0.010"},
                     {SB_LEFT, 0, 0, "0.001"},        {SB_PAGELEFT, 0, 0, "0.001"}};
        for (const auto& s : steps) {
            SCOPED_TRACE(s.code);
            win32test::Scroll(box, IDC_FLY_SPEED, s.code, s.pos);
            EXPECT_EQ(GetScrollPos(bar, SB_CTL), s.expected);
            EXPECT_EQ(pathSpeed, static_cast<float>(s.expected * 0.000045 + 0.001));
            EXPECT_EQ(SpeedText(box), s.text);
        }
        EXPECT_EQ(pathChoice, 0);
    });
}

// An object flight starts once until Reset; Reset closes the box and forgets the path but
// not the object button, which a new scene forgets.
TEST_F(FlyBox, ObjectFlightsStartOncePerResetAndANewSceneForgetsTheChoices) {
    Open([&](HWND box) {
        win32test::ClickControl(box, IDC_PATH_STANDARD);
        EXPECT_TRUE(pathChoice == 1 && pathAnimation);
        danceActive = 1;
        win32test::ClickControl(box, IDC_FLY_BIRDS);
        EXPECT_TRUE(flyActive == 1 && danceActive == 0 && objectChoice == 1 && flyLight == 0);
        const size_t flying = SceneChildren().size();
        win32test::ClickControl(box, IDC_FLY_UFOS);
        EXPECT_TRUE(SceneChildren().size() == flying && objectChoice == 1) << "a second object flight started";
        EXPECT_TRUE(win32test::ClickControl(box, IDCANCEL));
    });
    EXPECT_EQ(win32test::RecordedDialogs().back().result, 0);
    EXPECT_TRUE(flyActive == 0 && pathChoice == 0 && lastObject == -1 && objectChoice == 1);

    Open([&](HWND box) {
        EXPECT_TRUE(IsDlgButtonChecked(box, IDC_FLY_BIRDS));
        const size_t before = SceneChildren().size();
        win32test::ClickControl(box, IDC_FLY_UFOS);
        EXPECT_TRUE(SceneChildren().size() > before && objectChoice == 2 && flyActive == 1);
        win32test::ClickControl(box, IDC_PATH_WAVE);
        win32test::ClickControl(box, IDOK);
    });
    EXPECT_TRUE(pathChoice == 2 && objectChoice == 2);
    win32test::ChooseMenuItem(window, IDM_SCENE_WITH_LIGHTS);
    Settle();
    EXPECT_TRUE(pathChoice == 0 && objectChoice == 0);
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());
}
