// The Script Box ("EdiBox"): tests the scene script the user edits and builds it.
#pragma once

#include "platform/win32/win32.h"

// The script the box works on; set by the Edit command to the file the user chose.
extern char scriptBoxFile[256];   // ""

// Dialog procedure: "Test" reads scriptBoxFile and shows the report in the box (the box stays
// open); OK builds what the last test left pending and closes; Cancel only closes.
INT_PTR EdiBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
