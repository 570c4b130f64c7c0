// The Objects' Box. Whatever it loads comes black, at the origin, at its own size and still,
// beside the objects already in the scene; the loaders report their own failures.
#include "ui/objects_box.h"

#include "content/object_loading.h"
#include "resources/resource_ids.h"
#include "ui/hourglass.h"
#include "ui/open_file_dialog.h"

namespace {

struct Shape {
    int control;
    const char* file;
};
constexpr Shape kShapes[] = {
    {IDC_SHAPE_GROUND, "xda\\bas\\ground.x"},     {IDC_SHAPE_SPHERE, "xda\\bas\\sphere.x"},
    {IDC_SHAPE_CUBE, "xda\\bas\\cube.x"},         {IDC_SHAPE_CYLINDER, "xda\\bas\\cylinder.x"},
    {IDC_SHAPE_CONE, "xda\\bas\\cone.x"},         {IDC_SHAPE_TORUS, "xda\\bas\\torus.x"},
};

// Loads `file` as one mesh, or as its whole frame hierarchy fitted to 8 units.
void LoadAtOrigin(const char* file, bool wholeFrame) {
    ShowHourglass();
    SetPlacement(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f);
    if (wholeFrame)
        LoadFrameObject(file);
    else
        LoadMeshObject(file);
    RestoreCursor();
}

}  // namespace

INT_PTR BasBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;

    const int id = LOWORD(wParam);
    for (const Shape& shape : kShapes) {
        if (shape.control != id) continue;
        EndDialog(box, id);
        LoadAtOrigin(shape.file, false);
        return TRUE;
    }
    switch (id) {
    case IDOK:
    case IDCANCEL:
        EndDialog(box, id);
        return TRUE;
    case IDC_FRAME_OBJECT:
    case IDC_MESH_OBJECT: {
        EndDialog(box, id);
        const bool wholeFrame = id == IDC_FRAME_OBJECT;
        const char* file = OpenFileDialog(box, wholeFrame ? "Load Frame X-Object (*.X)" : "Load Mesh X-Object (*.X)",
                                          kOpenModel);
        if (file) LoadAtOrigin(file, wholeFrame);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
