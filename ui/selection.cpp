#include "settings/shared.h"

IDirect3DRMFrame3* selectedFrame = nullptr;
BYTE leftDragging = 0;
BYTE rightDragging = 0;
