#include "content/scene_script.h"

#include "settings/shared.h"

BYTE scriptSceneActive = 0;
int slotCount = 0;
int flyPathCount = 0;
int movePathCount = 0;
BYTE reportToScriptBox = 0;

// FIXME: the reader lands with the scene script work.
bool ReadSceneScript(HWND, const char*, bool) { return false; }
