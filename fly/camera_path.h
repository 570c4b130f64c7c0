// The camera paths: the camera alone flies one of four fixed closed paths, offset by danceBase
// and looking at the scene's origin. Also the path animation the camera path and the flock share.
#pragma once

#include "settings/shared.h"

// The path of the camera path and the flock; each start of either replaces (and releases) it.
// The scene commands release it before they rebuild the scene.
extern Ref<IDirect3DRMAnimation2> pathAnimation;
extern float pathTime;   // 0: the camera path's time; never reset

// Flies the camera along path 0 "Standard", 1 "Wave flight", 2 "Zoom flight" or 3 "Round
// flight"; another pathType gives a path without keys. Each start adds one more step per frame.
void StartCameraPath(int pathType);
// Move callback on the camera, `target` the frame it looks at: one step along pathAnimation.
void PathStep(IDirect3DRMFrame3* camera, void* target, D3DVALUE delta);
// Destroy callback on the camera for the camera path and the flock: releases pathAnimation.
void PathEnd(IDirect3DRMObject* camera, void* arg);
