// The Music Tools Box template "MusBox": band sensitivity, gain, fading, the camera dance,
// sound analysis on and off, the MIDI demo, the red/blue swap and the launchers.
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

ResDialog MakeMusBoxTemplate() {
    using C = ResControlClass;
    constexpr DWORD kRadio = BS_AUTORADIOBUTTON;
    constexpr DWORD kFirst = WS_GROUP | WS_TABSTOP;
    constexpr DWORD kBar = SBS_HORZ | WS_GROUP | WS_TABSTOP;
    constexpr DWORD kSwatch = SS_BITMAP | SS_CENTERIMAGE;
    constexpr DWORD kPicture = SS_BITMAP | SS_NOTIFY | SS_CENTERIMAGE;
    return ResDialog{
        "MusBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Music Tools Box", 309, 174,
        {
            {IDC_STATIC, C::Button, BS_GROUPBOX, "Pigmentation RGB", 6, 4, 150, 50},
            {IDC_STATIC, C::Static, kSwatch, "", 12, 16, 22, 8, IDB_RED},
            {IDC_MUS_RED, C::ScrollBar, kBar, "", 38, 15, 84, 10},
            {IDC_MUS_RED_TEXT, C::Static, SS_LEFT, "", 126, 16, 26, 8},
            {IDC_STATIC, C::Static, kSwatch, "", 12, 28, 22, 8, IDB_GREEN},
            {IDC_MUS_GREEN, C::ScrollBar, kBar, "", 38, 27, 84, 10},
            {IDC_MUS_GREEN_TEXT, C::Static, SS_LEFT, "", 126, 28, 26, 8},
            {IDC_STATIC, C::Static, kSwatch, "", 12, 40, 22, 8, IDB_BLUE},
            {IDC_MUS_BLUE, C::ScrollBar, kBar, "", 38, 39, 84, 10},
            {IDC_MUS_BLUE_TEXT, C::Static, SS_LEFT, "", 126, 40, 26, 8},

            {IDC_STATIC, C::Button, BS_GROUPBOX, "Dynamic highlight colors", 6, 58, 150, 26},
            {IDC_MUS_GAIN, C::ScrollBar, kBar, "", 12, 69, 110, 10},
            {IDC_MUS_GAIN_TEXT, C::Static, SS_LEFT, "", 126, 70, 26, 8},

            {IDC_STATIC, C::Button, BS_GROUPBOX, "Dancing", 6, 88, 150, 40},
            {IDC_MUS_DANCE_START, C::Button, kRadio | kFirst, "Start", 12, 99, 40, 10},
            {IDC_MUS_DANCE_STOP, C::Button, kRadio, "Stop", 56, 99, 40, 10},
            {IDC_STATIC, C::Static, SS_LEFT, "Speed", 12, 113, 24, 8},
            {IDC_MUS_DANCE_SPEED, C::ScrollBar, kBar, "", 38, 112, 84, 10},
            {IDC_MUS_DANCE_SPEED_TEXT, C::Static, SS_LEFT, "", 126, 113, 26, 8},

            {IDC_STATIC, C::Button, BS_GROUPBOX, "Colour fidelity", 6, 132, 150, 26},
            {IDC_MUS_FADE_SLOW, C::Button, kRadio | kFirst, "slow", 12, 143, 40, 10},
            {IDC_MUS_FADE_MIDDLE, C::Button, kRadio, "middle", 56, 143, 44, 10},
            {IDC_MUS_FADE_FAST, C::Button, kRadio, "fast", 104, 143, 40, 10},

            {IDC_STATIC, C::Button, BS_GROUPBOX, "Color", 162, 4, 70, 26},
            {IDC_MUS_SOUND_START, C::Button, kRadio | kFirst, "Start", 168, 15, 30, 10},
            {IDC_MUS_SOUND_STOP, C::Button, kRadio, "Stop", 200, 15, 28, 10},
            {IDC_STATIC, C::Button, BS_GROUPBOX, "Play MIDI demo", 236, 4, 67, 26},
            {IDC_MUS_MIDI_START, C::Button, kRadio | kFirst, "Start", 242, 15, 30, 10},
            {IDC_MUS_MIDI_STOP, C::Button, kRadio, "Stop", 274, 15, 26, 10},
            {IDC_STATIC, C::Button, BS_GROUPBOX, "Switch", 162, 34, 141, 24},
            {IDC_MUS_SWAP, C::Button, BS_AUTOCHECKBOX | kFirst, "color RGB to BGR", 168, 45, 100, 10},

            {IDC_MUS_CD_PLAYER, C::Button, BS_PUSHBUTTON | kFirst, "CD Player", 162, 64, 68, 14},
            {IDC_MUS_MEDIA_PLAYER, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "MM Player", 235, 64, 68, 14},
            {IDC_MUS_SIGMETER, C::Static, kPicture, "", 180, 86, 22, 20, IDB_SIGMETER},
            {IDC_STATIC, C::Static, SS_CENTER, "SigMeter", 166, 108, 50, 8},
            {IDC_MUS_HELP, C::Static, kPicture, "", 250, 86, 22, 20, IDB_HELP},
            {IDC_STATIC, C::Static, SS_CENTER, "Help", 236, 108, 50, 8},

            {IDOK, C::Button, BS_DEFPUSHBUTTON | kFirst, "OK", 253, 154, 50, 14},
        }};
}
