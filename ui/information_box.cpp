// The Information Box: two pages handed to the desktop's opener, whose failure nobody hears of.
#include "ui/information_box.h"

#include "resources/resource_ids.h"
#include "sound/midi.h"

INT_PTR InfBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_HOME_PAGE:
        LaunchProgram(dialog, kHomePage);
        return TRUE;
    case IDOK:
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_PRIVATE_PAGE:
        LaunchProgram(dialog, "doc\\main.html");
        return TRUE;
    default:
        return FALSE;
    }
}
