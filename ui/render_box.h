// The Render Box "RenBox", which the "Renderer" command opens over the main window.
#pragma once

#include "platform/win32/win32.h"

// Render quality, fog and the default material of later loads, changed while the box is
// open; OK keeps them, Cancel puts back the fog distances, fog colour and material it found.
INT_PTR RenBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
