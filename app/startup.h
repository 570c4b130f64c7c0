// The presentation's start-up, between the window's creation and the main loop.
#pragma once

#include "platform/win32/win32.h"

// Chooses the driver, makes the device and the main scene, then shows the window. On a
// failed main scene it reports "Failed to create device.\nNo find Direct3DRM" and destroys
// the window. False when start-up is to end.
bool InitDisplay(HWND window, int nCmdShow);
