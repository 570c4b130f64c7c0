// The Scene Box. A demo scene is a scene script of the installation plus a flight of its own:
// the first chases an invisible point round the script's path, the second sends ufos and the
// camera along the zoom path.
#include "ui/scene_box.h"

#include "content/scene_script.h"
#include "content/script_build.h"
#include "fly/fly_movement.h"
#include "resources/resource_ids.h"
#include "settings/shared.h"
#include "ui/hourglass.h"
#include "ui/open_file_dialog.h"

namespace {

enum class Flight { None, FollowPoint, Ufos };

// Reads and builds `script`, then starts its flight. Every failure leaves the hourglass up.
void BuildScene(HWND box, const char* script, Flight flight) {
    ShowHourglass();
    if (!ReadSceneScript(box, script, false)) {
        ReportError("Load Scene, Script error!");
        return;
    }
    if (!RunSceneScript(box)) {
        ReportError("Script no Run!");
        return;
    }
    if (flight == Flight::FollowPoint) {
        if (!StartFollowFly("")) {
            ReportError("No run!");
            return;
        }
        flyActive = 1;
    } else if (flight == Flight::Ufos) {
        flockSpeed = 0.01f;
        if (!StartFlock("xda\\ufo.x", "xda\\ufo.x", "xda\\ufo.x", 1)) return;
        StartCameraPath(2);
        flyActive = 1;
    }
    RestoreCursor();
}

}  // namespace

INT_PTR SceBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        flyActive = 0;
        danceActive = 0;
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;

    const int id = LOWORD(wParam);
    const char* script = nullptr;
    Flight flight = Flight::None;
    switch (id) {
    case IDOK:
    case IDCANCEL:
        EndDialog(box, id);
        return TRUE;
    case IDB_SCENE_MAIN01:
        EndDialog(box, id);
        animationStep = 0.001f;
        danceActive = 0;
        flyLight = 0;
        script = "main01.txt";
        flight = Flight::FollowPoint;
        break;
    case IDB_SCENE_MAIN02:
        EndDialog(box, id);
        danceActive = 0;
        fogEnable = 1;
        script = "main02.txt";
        flight = Flight::Ufos;
        break;
    case IDB_SCENE_MAIN03:
        EndDialog(box, id);
        danceActive = 0;
        script = "main03.txt";
        break;
    case IDC_LOAD_SCENE:
        EndDialog(box, id);
        script = OpenFileDialog(box, "Load script scene (*.TXT)", kOpenScript);
        if (!script) return TRUE;
        break;
    default:
        return FALSE;
    }
    BuildScene(box, script, flight);
    return TRUE;
}
