// How the boxes' sliders step: a line is 1, a page 11, the thumb goes where it is let go.
#pragma once

#include <optional>

#include "platform/win32/win32.h"

// The position a WM_HSCROLL (its wParam) moves a bar of range 0..`max` to from `pos`, held
// within the range; nothing for a scroll code that moves nothing (SB_ENDSCROLL).
std::optional<int> SteppedPosition(int pos, WPARAM wParam, int max);
