// "DevBox", the Sound device box: start an outside player for the sound, or say that the
// sound runs; the welcome text and the help page.
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

ResDialog MakeDevBoxTemplate() {
    using C = ResControlClass;
    return ResDialog{
        "DevBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Sound device", 201, 150,
        {
            {IDC_CD_PLAYER, C::Button, BS_DEFPUSHBUTTON | WS_TABSTOP, "CD Player", 36, 52, 50, 14},
            {IDC_MM_PLAYER, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "MM Player", 108, 53, 50, 14},
            {IDC_STATIC, C::Static, SS_CENTER, "Please select the Sound player.", 43, 39, 123, 11},
            {IDC_STATIC, C::Static, SS_CENTER,
             "to Virelux Program for Multimedia!\n Thank you for choosing Virelux.", 22, 90, 156, 19},
            {IDC_SOUND_RUNS, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Sound runs ?", 60, 13, 80, 19},
            {IDC_README_HELP, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Readme - Help", 74, 110, 59, 16},
            {IDC_STATIC, C::Static, SS_ICON, "", 19, 18, 20, 20, IDI_APP_ICON},
            {IDC_STATIC, C::Button, BS_GROUPBOX, "Welcome", 16, 79, 166, 55},
        }};
}
