// The splash box "RunBox", shown by the start-up command while the demo tune plays.
#pragma once

#include "platform/win32/win32.h"

// Esc (Cancel) stops the demo tune and closes the box; Enter (OK) or a click on the picture
// closes it and leaves the tune playing.
INT_PTR RunBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
