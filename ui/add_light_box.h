// The Add Light Box "LigBox", which the "Light" command opens over the main window.
#pragma once

#include "platform/win32/win32.h"

// The colour of the next light, red, green, blue, each 0.0 to 1.0; kept for the whole run.
extern float addLightColor[3];   // 0.5, 0.5, 0.5

// A light type and colour; OK adds that light above the scene's centre, pointing down (or,
// for "Abiente", recolours the ambient lamp) and keeps the type, Cancel forgets the type.
INT_PTR LigBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
