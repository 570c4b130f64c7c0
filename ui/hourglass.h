// The hourglass the boxes show while a scene or an object loads.
#pragma once

#include "platform/win32/win32.h"

// Sets the hourglass; the cursor it replaced goes to savedCursor (empty when there is no
// hourglass to set).
void ShowHourglass();
// Puts savedCursor back when one was kept.
void RestoreCursor();
