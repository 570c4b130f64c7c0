// The Render Box template "RenBox": fill and shade mode, dithering and filtering, the fog
// switch, distances and colour, and the material of objects loaded later.
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

ResDialog MakeRenBoxTemplate() {
    using C = ResControlClass;
    constexpr DWORD kRadio = BS_AUTORADIOBUTTON;
    constexpr DWORD kCheck = BS_AUTOCHECKBOX;
    constexpr DWORD kFirst = WS_GROUP | WS_TABSTOP;
    constexpr DWORD kBar = SBS_HORZ | WS_GROUP | WS_TABSTOP;
    constexpr DWORD kSwatch = SS_BITMAP | SS_CENTERIMAGE;
    // Each slider row: its name, the bar (which carries the name too, undrawn), its value.
    return ResDialog{
        "RenBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Render Box", 260, 214,
        {
            {IDOK, C::Button, BS_DEFPUSHBUTTON | kFirst, "OK", 210, 8, 44, 14},
            {IDCANCEL, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 210, 26, 44, 14},

            {IDC_STATIC, C::Button, BS_GROUPBOX, "Type 1", 6, 4, 60, 50},
            {IDC_REN_POINTS, C::Button, kRadio | kFirst, "Points", 12, 15, 50, 10},
            {IDC_REN_WIRE, C::Button, kRadio, "Wire", 12, 27, 50, 10},
            {IDC_REN_SOLID, C::Button, kRadio, "Solid", 12, 39, 50, 10},
            {IDC_STATIC, C::Button, BS_GROUPBOX, "Type 2", 72, 4, 60, 50},
            {IDC_REN_FLAT, C::Button, kRadio | kFirst, "Flat", 78, 15, 50, 10},
            {IDC_REN_GOURAUD, C::Button, kRadio, "Gouraud", 78, 27, 50, 10},
            {IDC_REN_PHONG, C::Button, kRadio, "Phong", 78, 39, 50, 10},
            {IDC_STATIC, C::Button, BS_GROUPBOX, "Type 3", 138, 4, 66, 50},
            {IDC_REN_DITHER, C::Button, kCheck | kFirst, "Dithering", 144, 15, 56, 10},
            {IDC_REN_FILTER, C::Button, kCheck | WS_TABSTOP, "Filtering", 144, 27, 56, 10},
            {IDC_REN_TRANSPARENT, C::Button, kCheck | WS_DISABLED, "Transparent", 144, 39, 56, 10},

            {IDC_STATIC, C::Button, BS_GROUPBOX, "Fog", 6, 58, 248, 86},
            {IDC_REN_FOG, C::Button, kCheck | kFirst, "Fog activate (ON/OFF)", 12, 69, 110, 10},
            {IDC_STATIC, C::Static, SS_LEFT, "Start point", 12, 84, 44, 8},
            {IDC_REN_FOG_START, C::ScrollBar, kBar, "Start point", 58, 83, 150, 10},
            {IDC_REN_FOG_START_TEXT, C::Static, SS_LEFT, "", 214, 84, 34, 8},
            {IDC_STATIC, C::Static, SS_LEFT, "End point", 12, 96, 44, 8},
            {IDC_REN_FOG_END, C::ScrollBar, kBar, "End point", 58, 95, 150, 10},
            {IDC_REN_FOG_END_TEXT, C::Static, SS_LEFT, "", 214, 96, 34, 8},
            {IDC_STATIC, C::Static, kSwatch, "", 12, 108, 22, 8, IDB_RED},
            {IDC_REN_FOG_RED, C::ScrollBar, kBar, "", 58, 107, 150, 10},
            {IDC_REN_FOG_RED_TEXT, C::Static, SS_LEFT, "", 214, 108, 34, 8},
            {IDC_STATIC, C::Static, kSwatch, "", 12, 120, 22, 8, IDB_GREEN},
            {IDC_REN_FOG_GREEN, C::ScrollBar, kBar, "", 58, 119, 150, 10},
            {IDC_REN_FOG_GREEN_TEXT, C::Static, SS_LEFT, "", 214, 120, 34, 8},
            {IDC_STATIC, C::Static, kSwatch, "", 12, 132, 22, 8, IDB_BLUE},
            {IDC_REN_FOG_BLUE, C::ScrollBar, kBar, "", 58, 131, 150, 10},
            {IDC_REN_FOG_BLUE_TEXT, C::Static, SS_LEFT, "", 214, 132, 34, 8},

            {IDC_STATIC, C::Button, BS_GROUPBOX, "Material", 6, 148, 248, 60},
            {IDC_STATIC, C::Static, SS_LEFT, " Emmision", 12, 160, 44, 8},
            {IDC_REN_EMISSIVE, C::ScrollBar, kBar, " Emmision", 58, 159, 150, 10},
            {IDC_REN_EMISSIVE_TEXT, C::Static, SS_LEFT, "", 214, 160, 34, 8},
            {IDC_STATIC, C::Static, SS_LEFT, "Reflexion", 12, 172, 44, 8},
            {IDC_REN_SPECULAR, C::ScrollBar, kBar, "Reflexion", 58, 171, 150, 10},
            {IDC_REN_SPECULAR_TEXT, C::Static, SS_LEFT, "", 214, 172, 34, 8},
            {IDC_STATIC, C::Static, SS_LEFT, "Attribut", 12, 184, 44, 8},
            {IDC_REN_POWER, C::ScrollBar, kBar, "Attribut", 58, 183, 150, 10},
            {IDC_REN_POWER_TEXT, C::Static, SS_LEFT, "", 214, 184, 34, 8},
            {IDC_STATIC, C::Static, SS_LEFT, "It is only effectivie is next scene.", 12, 196, 190, 8},
        }};
}
