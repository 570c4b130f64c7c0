// The Music Tools Box "MusBox", which the "Music" command opens over the main window.
#pragma once

#include "platform/win32/win32.h"

// Band offsets, gain, fading, the camera dance and its speed, the red/blue swap, the MIDI
// demo and the launchers, all acting at once; "Start" / "Stop" under "Color" set
// soundRequest and close the box. Cancel (Esc, the close box) takes back only the sliders.
INT_PTR MusBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
