// The Sound device box "DevBox": at start-up when the demo tune cannot play, and from
// "Introduction" in the Help menu (or F1).
#pragma once

#include "platform/win32/win32.h"

// "CD Player" and "MM Player" start their program and close the box; "Sound runs ?", OK and
// Esc close it; "Readme - Help" opens the help page and leaves the box open.
INT_PTR DevBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
