// Reading a scene script into the record that the builder turns into a scene.
#pragma once

#include "platform/win32/win32.h"

// Reads `path` into a new record left in pendingScript; `window` owns the report, given only
// when `report` is true. False when the file cannot be opened, or (with `report`) holds no <End>.
bool ReadSceneScript(HWND window, const char* path, bool report);
