// The Fly movement Box: the camera paths, the object flights and the camera path's speed.
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

ResDialog MakeFlyBoxTemplate() {
    using C = ResControlClass;
    constexpr DWORD kRadio = BS_AUTORADIOBUTTON;
    return {"FlyBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Fly movement Box", 165, 172,
            {
                {IDC_STATIC, C::Button, BS_GROUPBOX, "Fly path", 7, 4, 72, 68},
                {IDC_PATH_STANDARD, C::Button, kRadio | WS_GROUP | WS_TABSTOP, "Standard", 14, 16, 60, 10},
                {IDC_PATH_WAVE, C::Button, kRadio, "Wave flight", 14, 29, 60, 10},
                {IDC_PATH_ZOOM, C::Button, kRadio, "Zoom flight", 14, 42, 60, 10},
                {IDC_PATH_ROUND, C::Button, kRadio, "Round flight", 14, 55, 60, 10},
                {IDC_STATIC, C::Button, BS_GROUPBOX, "Fly object", 86, 4, 72, 68},
                {IDC_FLY_BIRDS, C::Button, kRadio | WS_GROUP | WS_TABSTOP, "Birds", 93, 16, 60, 10},
                {IDC_FLY_UFOS, C::Button, kRadio, "Ufo's", 93, 29, 60, 10},
                {IDC_FLY_LIGHT, C::Button, kRadio, "Light", 93, 42, 60, 10},
                {IDC_STATIC, C::Button, BS_GROUPBOX, "Fly speed", 7, 78, 151, 44},
                {IDC_FLY_SPEED, C::ScrollBar, SBS_HORZ | WS_GROUP | WS_TABSTOP, "", 14, 92, 137, 11},
                {IDC_STATIC, C::Static, SS_LEFT, "slow", 14, 108, 30, 8},
                {IDC_FLY_SPEED_TEXT, C::Static, SS_CENTER, "", 55, 108, 55, 8},
                {IDC_STATIC, C::Static, SS_RIGHT, "fast", 121, 108, 30, 8},
                {IDC_STATIC, C::Static, SS_LEFT, "A path starts at once; an object\nflies once until Reset.", 7,
                 128, 151, 16},
                {IDOK, C::Button, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, "OK", 22, 152, 50, 14},
                {IDCANCEL, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Reset", 93, 152, 50, 14},
            }};
}
