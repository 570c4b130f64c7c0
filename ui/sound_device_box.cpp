// The Sound device box: the user picks an outside player for the sound or says it runs.
// A player that cannot be started is not reported; the box closes all the same.
#include "ui/sound_device_box.h"

#include "resources/resource_ids.h"
#include "sound/midi.h"

INT_PTR DevBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
    case IDC_SOUND_RUNS:
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_CD_PLAYER:
        LaunchProgram(dialog, kCdPlayer);
        EndDialog(dialog, 0);
        return FALSE;
    case IDC_MM_PLAYER:
        LaunchProgram(dialog, kMediaPlayer);
        EndDialog(dialog, 0);
        return FALSE;
    case IDC_README_HELP:
        LaunchProgram(dialog, kMusicHelp);
        return FALSE;
    default:
        return FALSE;
    }
}
