// The Scene Box ("SceBox"): builds one of the three demo scenes or a scene script from disk.
#pragma once

#include "platform/win32/win32.h"

// Dialog procedure: WM_INITDIALOG stops flights and dancing; a picture or "Load Scene"
// closes the box and builds its scene.
INT_PTR SceBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
