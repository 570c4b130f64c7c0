// The Objects' Box: six pictures of the basic shapes, each adding its shape when clicked,
// and two buttons that load an .x file as a frame hierarchy or as one mesh.
#include "resources/dialogs/dialogs.h"
#include "resources/resource_ids.h"

ResDialog MakeBasBoxTemplate() {
    using C = ResControlClass;
    constexpr DWORD kPicture = SS_BITMAP | SS_NOTIFY | SS_CENTERIMAGE | SS_SUNKEN;
    return {"BasBox", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, "Objects' Box", 222, 113,
            {
                {IDC_STATIC, C::Button, BS_GROUPBOX, "Basic shapes", 7, 4, 130, 102},
                {IDC_SHAPE_GROUND, C::Static, kPicture | WS_GROUP, "", 14, 16, 32, 30, IDB_SHAPE_GROUND},
                {IDC_SHAPE_SPHERE, C::Static, kPicture, "", 56, 16, 32, 30, IDB_SHAPE_SPHERE},
                {IDC_SHAPE_CUBE, C::Static, kPicture, "", 98, 16, 32, 30, IDB_SHAPE_CUBE},
                {IDC_SHAPE_CYLINDER, C::Static, kPicture, "", 14, 60, 32, 30, IDB_SHAPE_CYLINDER},
                {IDC_SHAPE_CONE, C::Static, kPicture, "", 56, 60, 32, 30, IDB_SHAPE_CONE},
                {IDC_SHAPE_TORUS, C::Static, kPicture, "", 98, 60, 32, 30, IDB_SHAPE_TORUS},
                {IDC_STATIC, C::Static, SS_CENTER, "Ground", 10, 48, 40, 8},
                {IDC_STATIC, C::Static, SS_CENTER, "Sphere", 52, 48, 40, 8},
                {IDC_STATIC, C::Static, SS_CENTER, "Cube", 94, 48, 40, 8},
                {IDC_STATIC, C::Static, SS_CENTER, "Cylinder", 10, 92, 40, 8},
                {IDC_STATIC, C::Static, SS_CENTER, "Cone", 52, 92, 40, 8},
                {IDC_STATIC, C::Static, SS_CENTER, "Torus", 94, 92, 40, 8},
                {IDC_STATIC, C::Button, BS_GROUPBOX, "X file", 145, 4, 70, 52},
                {IDC_FRAME_OBJECT, C::Button, BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, "Frame Object", 152, 16, 56, 14},
                {IDC_MESH_OBJECT, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Mesh Object", 152, 35, 56, 14},
                {IDCANCEL, C::Button, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 152, 92, 56, 14},
            }};
}
