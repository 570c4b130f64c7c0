// The flock: five copies of a small model fly one path one behind the other, each turned
// towards the scene's origin; the camera stays where it is.
#pragma once

#include "fly/fly_paths.h"
#include "settings/shared.h"

constexpr int kFlockSize = 5;

extern float flockTime;                             // 0: the lead's path time; never reset
extern IDirect3DRMFrame3* flockFrames[kFlockSize];  // lead first; not held: the scene owns them
extern D3DVECTOR flockKeys[kPathKeyCount];          // the flock path after scaling

// Five models fly the wave (kind 0) or zoom (kind 1) path on pathAnimation: `leadMesh` first at
// 0.4 of its size, then three of `followMesh` and one of `lastMesh` at 0.2. A model that cannot
// be loaded flies as an empty frame. False for any other kind.
bool StartFlock(const char* leadMesh, const char* followMesh, const char* lastMesh, int kind);
// Move callback on the camera, `target` the frame the birds face: one step of the five frames.
void FlockStep(IDirect3DRMFrame3* camera, void* target, D3DVALUE delta);
