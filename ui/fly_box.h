// The Fly movement Box ("FlyBox"): starts a camera path or an object flight and sets the
// camera path's speed. pathChoice and objectChoice are in settings/shared.h: a new scene
// forgets them.
#pragma once

#include "platform/win32/win32.h"

extern int lastObject;      // -1: the object flight started since the last Reset, -1 for none
extern int speedPosition;   // 0: the speed slider's position, 0..200

// Dialog procedure: path buttons start a camera path and leave the box open; an object
// button starts its flight once until Reset; the slider sets pathSpeed at once.
INT_PTR FlyBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
