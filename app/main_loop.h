// The message loop and the drawing of one frame.
#pragma once

#include "platform/win32/win32.h"

// Runs until the first message retrieved after quitRequested is set (or WM_QUIT), which is
// not dispatched; returns that message's wParam. Each pass drains every waiting message,
// then draws one frame with renderFrame(idle), where idle says the pass found no message.
// While the window is minimised it waits for messages and draws nothing.
int RunMainLoop(HACCEL accelerators, void (*renderFrame)(bool idle));

// Draws one frame: FrameTick first when `tick`, then moves the scene by one frame, clears,
// renders and presents.
void RenderFrame(bool tick);

// The per-frame logic of the show, run before an idle frame.
void FrameTick();
