// The Music Tools Box: the sliders' mapping to the analysis and dance settings, what Cancel
// takes back, and the buttons that depend on capture, which follows the box's request.
#include "tests/ui/box_fixture.h"

using MusicBox = Boxes;

TEST_F(MusicBox, SlidersSetTheSettingsAndCancelTakesBackOnlyThem) {
    Settle();
    Open(IDM_MUSIC, "MusBox", [](HWND box) {
        EXPECT_TRUE(Checked(box, IDC_MUS_SOUND_START) && Checked(box, IDC_MUS_FADE_SLOW));
        EXPECT_TRUE(Checked(box, IDC_MUS_DANCE_STOP));
        EXPECT_FALSE(Checked(box, IDC_MUS_SWAP));
        EXPECT_EQ(Position(box, IDC_MUS_RED), 10);
        EXPECT_EQ(Position(box, IDC_MUS_GREEN), 20);
        EXPECT_EQ(Position(box, IDC_MUS_GAIN), 49);
        EXPECT_EQ(Text(box, IDC_MUS_GREEN_TEXT), "0.40");
        EXPECT_EQ(Text(box, IDC_MUS_GAIN_TEXT), "50.00");

        win32test::Scroll(box, IDC_MUS_RED, SB_RIGHT);
        EXPECT_EQ(bandOffset[0].load(), 2.0f);
        EXPECT_EQ(Text(box, IDC_MUS_RED_TEXT), "2.00");
        win32test::Scroll(box, IDC_MUS_GREEN, SB_PAGELEFT);
        EXPECT_EQ(Position(box, IDC_MUS_GREEN), 9);
        win32test::Scroll(box, IDC_MUS_GAIN, SB_THUMBTRACK, 80);
        EXPECT_EQ(gainBase.load(), 80);   // 80.2 cut to a whole number
        EXPECT_EQ(Text(box, IDC_MUS_GAIN_TEXT), "80.20");
        win32test::Scroll(box, IDC_MUS_DANCE_SPEED, SB_RIGHT);
        EXPECT_EQ(Text(box, IDC_MUS_DANCE_SPEED_TEXT), "0.10");
        EXPECT_FLOAT_EQ(danceFall, 0.1f);

        win32test::ClickControl(box, IDC_MUS_FADE_FAST);
        win32test::ClickControl(box, IDC_MUS_SWAP);
        EXPECT_TRUE(fadeStep1 && fadeStep2 && swapRedBlue.load());
        win32test::PressKey(box, VK_ESCAPE);
    });
    ASSERT_EQ(win32test::RecordedDialogs().size(), 1u);
    EXPECT_EQ(bandOffset[0].load(), 0.2f);
    EXPECT_EQ(bandOffset[1].load(), 0.4f);
    EXPECT_EQ(gainBase.load(), 50);
    EXPECT_EQ(danceFall, 0.04f);
    EXPECT_TRUE(fadeStep1 && fadeStep2 && swapRedBlue.load()) << "Cancel keeps the buttons' choices";
    EXPECT_EQ(recording.load(), 1);   // capture already ran as the box asked
}

TEST_F(MusicBox, SoundStartAndStopCloseTheBoxAndCaptureFollowsWhileDanceAndMeterWatchIt) {
    Settle();
    ASSERT_EQ(recording.load(), 1);
    Open(IDM_MUSIC, "MusBox", [](HWND box) {
        // The signal display records from the same input.
        win32test::ClickControl(box, IDC_MUS_SIGMETER);
        EXPECT_EQ(Reports(box, "Sound it activ. Please stop!"), 1);
        win32test::ClickControl(box, IDC_MUS_DANCE_START);
        EXPECT_EQ(danceActive, 1);
        EXPECT_TRUE(danceBase.x == cameraStart.x && danceBase.y == cameraStart.y && danceBase.z == cameraStart.z);
        win32test::ClickControl(box, IDC_MUS_SOUND_STOP);
        EXPECT_FALSE(win32test::ClickControl(box, IDOK)) << "Stop closes the box";
    });
    EXPECT_EQ(soundRequest, 2);
    EXPECT_EQ(danceActive, 0);
    EXPECT_EQ(recording.load(), 0);

    Open(IDM_MUSIC, "MusBox", [](HWND box) {
        EXPECT_TRUE(Checked(box, IDC_MUS_SOUND_STOP) && !Checked(box, IDC_MUS_SOUND_START));
        win32test::ClickControl(box, IDC_MUS_DANCE_START);
        EXPECT_EQ(Reports(box, "Sound it not activ."), 1);
        EXPECT_EQ(danceActive, 0);
        win32test::ClickControl(box, IDC_MUS_SOUND_START);
    });
    EXPECT_EQ(soundRequest, 1);
    EXPECT_EQ(recording.load(), 1);
}
