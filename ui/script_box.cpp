// The Script Box. A tested script waits in pendingScript until OK builds it or the next
// reading replaces it; Cancel leaves it waiting.
#include "ui/script_box.h"

#include "content/scene_script.h"
#include "content/script_build.h"
#include "resources/resource_ids.h"

char scriptBoxFile[256] = "";

INT_PTR EdiBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;

    switch (LOWORD(wParam)) {
    case IDC_SCRIPT_TEST: {
        // The reader's report goes into the box's "Messages" field instead of a box of its own.
        reportToScriptBox = 1;
        const bool read = ReadSceneScript(box, scriptBoxFile, true);
        reportToScriptBox = 0;
        if (!read) ReportError("Load Scene Script error!");
        return TRUE;
    }
    case IDOK:
        if (!RunSceneScript(box)) ReportError("Script no Run!");
        EndDialog(box, IDOK);
        return TRUE;
    case IDCANCEL:
        EndDialog(box, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}
