// A small resource table of a program that is not Virelux: the platform must serve any.
// Two sample dialog templates: a box with every kind of control, and one whose default button
// is not OK.
#include "platform/win32/win32.h"

const ResourceTables& Win32ProgramResources() {
    static const ResourceTables tables = [] {
        ResourceTables t;
        t.menus = {{7, {ResMenuItem{"File", 0, MF_POPUP, {ResMenuItem{"Open", 11, MF_STRING, {}}}}}}};
        using C = ResControlClass;
        t.dialogs = {
            {"TestBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Test Box", 200, 116,
             {
                 {IDOK, C::Button, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, "OK", 144, 6, 50, 14},
                 {IDCANCEL, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 144, 24, 50, 14},
                 {IDC_STATIC, C::Button, BS_GROUPBOX, "Fill", 4, 2, 62, 52},
                 {101, C::Button, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Points", 10, 12, 50, 10},
                 {102, C::Button, BS_AUTORADIOBUTTON, "Wire", 10, 26, 50, 10},
                 {103, C::Button, BS_AUTORADIOBUTTON, "Solid", 10, 40, 50, 10},
                 {104, C::Button, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Flat", 72, 12, 60, 10},
                 {105, C::Button, BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, "Dithering", 72, 26, 60, 10},
                 {106, C::Button, BS_AUTOCHECKBOX | WS_DISABLED, "Transparent", 72, 40, 60, 10},
                 {107, C::ScrollBar, SBS_HORZ | WS_GROUP | WS_TABSTOP, "", 4, 62, 130, 11},
                 {108, C::Static, SS_LEFT, "Start point", 140, 64, 56, 8},
                 {109, C::Static, SS_BITMAP | SS_NOTIFY | SS_CENTERIMAGE | SS_SUNKEN, "", 4, 80, 40, 30},
                 {IDC_STATIC, C::Static, SS_CENTER, "Two lines,\ncentred.", 60, 84, 80, 20},
             }},
            {"KeyBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Keys", 120, 40,
             {
                 {11, C::Button, BS_DEFPUSHBUTTON | WS_TABSTOP, "Play", 8, 12, 50, 14},
                 {12, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Stop", 62, 12, 50, 14},
             }},
        };
        return t;
    }();
    return tables;
}
