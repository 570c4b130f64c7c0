// The Add Light Box template "LigBox": the light type and the three colour sliders.
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

ResDialog MakeLigBoxTemplate() {
    using C = ResControlClass;
    constexpr DWORD kRadio = BS_AUTORADIOBUTTON;
    constexpr DWORD kFirst = WS_GROUP | WS_TABSTOP;
    constexpr DWORD kBar = SBS_HORZ | WS_GROUP | WS_TABSTOP;
    constexpr DWORD kSwatch = SS_BITMAP | SS_CENTERIMAGE;
    return ResDialog{
        "LigBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Add Light Box", 200, 140,
        {
            {IDOK, C::Button, BS_DEFPUSHBUTTON | kFirst, "OK", 150, 8, 44, 14},
            {IDCANCEL, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 150, 26, 44, 14},

            {IDC_STATIC, C::Button, BS_GROUPBOX, "Light type", 6, 4, 100, 76},
            {IDC_LIG_DIRECTIONAL, C::Button, kRadio | kFirst, "Directional", 12, 15, 88, 10},
            {IDC_LIG_PARALLEL_POINT, C::Button, kRadio, "Parallel Point", 12, 27, 88, 10},
            {IDC_LIG_POINT, C::Button, kRadio, "Point", 12, 39, 88, 10},
            {IDC_LIG_SPOT, C::Button, kRadio, "Spot", 12, 51, 88, 10},
            {IDC_LIG_AMBIENT, C::Button, kRadio, "Abiente", 12, 63, 88, 10},

            {IDC_STATIC, C::Button, BS_GROUPBOX, "Color", 6, 84, 188, 50},
            {IDC_STATIC, C::Static, kSwatch, "", 12, 96, 22, 8, IDB_RED},
            {IDC_LIG_RED, C::ScrollBar, kBar, "", 40, 95, 118, 10},
            {IDC_LIG_RED_TEXT, C::Static, SS_LEFT, "", 164, 96, 26, 8},
            {IDC_STATIC, C::Static, kSwatch, "", 12, 108, 22, 8, IDB_GREEN},
            {IDC_LIG_GREEN, C::ScrollBar, kBar, "", 40, 107, 118, 10},
            {IDC_LIG_GREEN_TEXT, C::Static, SS_LEFT, "", 164, 108, 26, 8},
            {IDC_STATIC, C::Static, kSwatch, "", 12, 120, 22, 8, IDB_BLUE},
            {IDC_LIG_BLUE, C::ScrollBar, kBar, "", 40, 119, 118, 10},
            {IDC_LIG_BLUE_TEXT, C::Static, SS_LEFT, "", 164, 120, 26, 8},
        }};
}
