// The Background Box ("BgrBox"): puts another picture behind the scene.
#pragma once

#include "platform/win32/win32.h"

// Dialog procedure: a picture or "Load Background" closes the box once its bitmap is the
// scene's background; a bitmap that cannot be loaded leaves the box open.
INT_PTR BgrBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
