#include "content/script_build.h"

#include "settings/shared.h"

D3DVECTOR flyPathPoints[16] = {};

// FIXME: the builder lands with the scene script work.
bool RunSceneScript(HWND) { return true; }
