// The fixed key tables of the flights and the closed spline path every flight runs on.
#pragma once

#include "settings/shared.h"

constexpr int kFollowKeyCount = 16;   // keys of a follow path
constexpr int kPathKeyCount = 15;     // keys of a camera or flock path

// A closed spline through the position keys, positions only.
constexpr DWORD kFlightOptions = D3DRMANIMATION_CLOSED | D3DRMANIMATION_SPLINEPOSITION | D3DRMANIMATION_POSITION;

extern const D3DVECTOR kDefaultFollowPath[kFollowKeyCount];   // the follow flight without a script path
extern const D3DVECTOR kStandardPath[kPathKeyCount];          // camera path "Standard"
extern const D3DVECTOR kWavePath[kPathKeyCount];              // camera path "Wave flight", flock kind 0
extern const D3DVECTOR kZoomPath[kPathKeyCount];              // camera path "Zoom flight", flock kind 1
// "Round flight" is the first 15 keys of kDefaultFollowPath.

// A new animation with the flight options and `count` position keys, key k at time k;
// empty when the engine cannot make one.
Ref<IDirect3DRMAnimation2> MakeFlightPath(const D3DVECTOR* keys, int count);
