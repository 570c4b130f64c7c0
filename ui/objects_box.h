// The Objects' Box ("BasBox"): adds a basic shape or an .x model to the scene.
#pragma once

#include "platform/win32/win32.h"

// Dialog procedure: a shape picture or a file button closes the box and loads at the origin.
INT_PTR BasBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
