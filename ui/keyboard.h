// The show's keys: what a press and a release on the main window do.
#pragma once

#include "platform/win32/win32.h"

// A key press (WM_KEYDOWN); while the camera dances only Esc gets through.
void OnKeyDown(HWND hwnd, WPARAM key);
// A key release (WM_KEYUP).
void OnKeyUp(HWND hwnd, WPARAM key);
