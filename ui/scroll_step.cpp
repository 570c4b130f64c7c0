#include "ui/scroll_step.h"

#include <algorithm>

std::optional<int> SteppedPosition(int pos, WPARAM wParam, int max) {
    switch (LOWORD(wParam)) {
    case SB_LINELEFT: pos -= 1; break;
    case SB_LINERIGHT: pos += 1; break;
    // A page is ten plus the line step.
    case SB_PAGELEFT: pos -= 11; break;
    case SB_PAGERIGHT: pos += 11; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = HIWORD(wParam); break;
    case SB_LEFT: pos = 0; break;
    case SB_RIGHT: pos = max; break;
    default: return std::nullopt;
    }
    return std::clamp(pos, 0, max);
}
