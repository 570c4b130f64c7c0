// The mouse on the main window: a press picks the object under the cursor and starts a drag;
// moving with the left button held turns the selected object, with the right button moves it.
#pragma once

#include "settings/shared.h"

extern int lastMouseX;         // 0: client x of the drag's previous event
extern int lastMouseY;         // 0: client y of the drag's previous event
extern HCURSOR savedCursor;    // nullptr: the cursor the drag's cross replaced

// WM_LBUTTONDOWN (left) or WM_RBUTTONDOWN: ignored while a flight or a script scene runs.
void OnMouseButtonDown(HWND hwnd, bool left, LPARAM lParam);
// WM_LBUTTONUP (left) or WM_RBUTTONUP: ends that drag and gives the mouse and cursor back.
void OnMouseButtonUp(bool left);
// WM_MOUSEMOVE: the rotate drag, or else the move drag.
void OnMouseMove(WPARAM wParam, LPARAM lParam);
