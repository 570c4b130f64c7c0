// The device's fill mode, shade mode, dithering and texture filtering, with the choices
// the Render box shows.
#pragma once

#include "platform/win32/win32.h"

extern int fillChoice;    // 0 points, 1 wireframe, 2 solid, -1 other
extern int shadeChoice;   // 4 flat, 5 Gouraud, 6 Phong, 0 before the first, -1 other
extern BYTE ditherOn;
extern BYTE filterOn;

bool SetFillMode(HWND window, DWORD fill);     // a D3DRMFILL_* value
bool SetShadeMode(HWND window, DWORD shade);   // a D3DRMSHADE_* value
bool ToggleDither(HWND window);
bool ToggleFiltering(HWND window);
