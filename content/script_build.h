// Building the scene of the pending scene script.
#pragma once

#include "platform/win32/win32.h"

// Replaces the scene with the one pendingScript describes and releases the record; `window`
// owns the error boxes. True when built or when nothing was pending.
bool RunSceneScript(HWND window);
