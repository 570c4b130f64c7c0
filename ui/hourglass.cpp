// The hourglass while a box loads. The cursor it replaces is kept in the same savedCursor the
// mouse drags use: a load and a drag never run at once.
#include "ui/hourglass.h"

#include "ui/mouse_drag.h"

void ShowHourglass() {
    HCURSOR hourglass = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_WAIT));
    savedCursor = hourglass ? SetCursor(hourglass) : nullptr;
}

void RestoreCursor() {
    if (savedCursor) SetCursor(savedCursor);
}
