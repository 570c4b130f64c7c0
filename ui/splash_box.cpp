// The splash box: a picture over the start of the demo tune. Only Esc silences the tune.
#include "ui/splash_box.h"

#include "resources/resource_ids.h"
#include "sound/midi.h"

INT_PTR RunBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        EndDialog(dialog, 0);
        return FALSE;
    case IDCANCEL:
        StopMidi();
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_SPLASH_PICTURE:   // the tune plays on
        EndDialog(dialog, 0);
        return FALSE;
    default:
        return FALSE;
    }
}
