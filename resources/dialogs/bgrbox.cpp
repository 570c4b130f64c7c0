// The Background Box: six pictures of the shipped backgrounds, each put behind the scene
// when clicked, and a button that loads a bitmap from disk.
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

ResDialog MakeBgrBoxTemplate() {
    using C = ResControlClass;
    constexpr DWORD kPicture = SS_BITMAP | SS_NOTIFY | SS_CENTERIMAGE | SS_SUNKEN;
    return {"BgrBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Background Box", 237, 99,
            {
                {IDB_GALAXIS1, C::Static, kPicture | WS_GROUP, "", 7, 7, 43, 40, IDB_GALAXIS1},
                {IDB_GALAXIS2, C::Static, kPicture, "", 57, 7, 43, 40, IDB_GALAXIS2},
                {IDB_GALAXIS3, C::Static, kPicture, "", 107, 7, 43, 40, IDB_GALAXIS3},
                {IDB_SKY01, C::Static, kPicture, "", 7, 52, 43, 40, IDB_SKY01},
                {IDB_SKY02, C::Static, kPicture, "", 57, 52, 43, 40, IDB_SKY02},
                {IDB_SKY03, C::Static, kPicture, "", 107, 52, 43, 40, IDB_SKY03},
                {IDC_LOAD_BACKGROUND, C::Button, BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, "Load Background", 160, 7, 70, 14},
                {IDC_STATIC, C::Static, SS_LEFT, "Click a picture to\nput it behind the\nscene.", 160, 28, 70, 26},
                {IDCANCEL, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 160, 78, 70, 14},
            }};
}
