// The main window's procedure: every user interaction enters the show here.
#pragma once

#include "platform/win32/win32.h"

LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
