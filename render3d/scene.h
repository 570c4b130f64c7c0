// Building and tearing down the scene graph the loop renders.
#pragma once

#include "platform/win32/win32.h"

// The program's main scene: render state, base scene with the default background, the
// spot light and the turning logo.
bool CreateMainScene(HWND window);
// The base scene: frames, viewport, camera at cameraStart, background, lamps, fog. A
// background name shorter than two characters means dark blue, a picture that cannot be
// loaded black.
bool CreateScene(HWND window, const char* backgroundFile);
// Releases what a scene holds; safe on a partly built or empty scene.
void TearDownScene();
// The device's start-up render state.
bool ConfigureRenderState(HWND window);
// Loads a bitmap as the scene's background picture.
bool LoadBackground(HWND window, const char* file);
// Puts the shared fog settings on the scene.
void ApplyFog();
