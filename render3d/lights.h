// The lamp set of every scene and the single lights added to it.
#pragma once

#include "platform/win32/win32.h"

// The ambient light and three coloured lamps of `kind` 1..4 (directional, parallel point,
// point, spot) in a row above the scene, with lamp models when withLightObject is set.
bool CreateLampLights(HWND window, int kind);
// A light of `kind` 1..4 at the pending placement with a glowing lamp model, or for kind 5
// the ambient lamp recoloured to the placement colour.
bool AddLight(int kind);
