// The Scene Box: three pictures of the demo scenes, each building its scene when clicked,
// and a button that loads a scene script from disk.
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

ResDialog MakeSceBoxTemplate() {
    using C = ResControlClass;
    constexpr DWORD kPicture = SS_BITMAP | SS_NOTIFY | SS_CENTERIMAGE | SS_SUNKEN;
    return {"SceBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Scene Box (Demo)", 222, 103,
            {
                {IDC_STATIC, C::Static, SS_LEFT, "Click a picture to build its demo scene.", 7, 6, 208, 8},
                {IDB_SCENE_MAIN01, C::Static, kPicture | WS_GROUP, "", 7, 18, 64, 45, IDB_SCENE_MAIN01},
                {IDB_SCENE_MAIN02, C::Static, kPicture, "", 79, 18, 64, 45, IDB_SCENE_MAIN02},
                {IDB_SCENE_MAIN03, C::Static, kPicture, "", 151, 18, 64, 45, IDB_SCENE_MAIN03},
                {IDC_STATIC, C::Static, SS_CENTER, "Plaza", 7, 66, 64, 8},
                {IDC_STATIC, C::Static, SS_CENTER, "Ufo city", 79, 66, 64, 8},
                {IDC_STATIC, C::Static, SS_CENTER, "Toy box", 151, 66, 64, 8},
                {IDC_LOAD_SCENE, C::Button, BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, "Load Scene", 7, 82, 60, 14},
                {IDCANCEL, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 155, 82, 60, 14},
            }};
}
