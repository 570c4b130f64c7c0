// The Script Box: tests the scene script the user is editing and builds it; the reader's
// report shows in the "Messages" field.
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

ResDialog MakeEdiBoxTemplate() {
    using C = ResControlClass;
    return {"EdiBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Script Box", 260, 95,
            {
                {IDC_STATIC, C::Static, SS_LEFT,
                 "Edit the script in your text editor and save it.\nTest reads it; OK builds the scene tested.", 7, 6,
                 188, 18},
                {IDC_STATIC, C::Button, BS_GROUPBOX, "Messages", 7, 30, 188, 58},
                {IDC_SCRIPT_MESSAGES, C::Static, SS_LEFT, "Please wait.", 14, 42, 174, 40},
                {IDC_SCRIPT_TEST, C::Button, BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, "Test", 203, 6, 50, 14},
                {IDOK, C::Button, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 203, 24, 50, 14},
                {IDCANCEL, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 203, 42, 50, 14},
            }};
}
