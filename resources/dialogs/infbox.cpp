// "InfBox", the Information Box: the program's icon and name, the maker's home page and the
// private page of the installation.
// The template's position (22, 17) is not kept: every box is centred over its owner.
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

ResDialog MakeInfBoxTemplate() {
    using C = ResControlClass;
    return ResDialog{"InfBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Information Box", 144, 126,
                     {
                         {IDC_STATIC, C::Static, SS_CENTER, "Virelux 2.5 light show", 23, 35, 97, 8},
                         {IDOK, C::Button, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 54, 98, 32, 14},
                         {IDC_STATIC, C::Static, SS_ICON, "", 60, 9, 20, 20, IDI_APP_ICON},
                         {IDC_HOME_PAGE, C::Button, BS_PUSHBUTTON | WS_TABSTOP, kHomePage, 11, 71, 125, 17},
                         {IDC_PRIVATE_PAGE, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Privat", 43, 47, 56, 16},
                     }};
}
