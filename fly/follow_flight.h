// The follow flight: a model flies a closed 16-key path half a time unit ahead of the camera,
// banking into the turns, while the camera chases it along the same path and looks at it.
#pragma once

#include "settings/shared.h"

// The one follow flight record. Its references are let go when the camera is destroyed.
struct FlyState {
    BYTE lightOn = 0;                       // 1 once the fly light exists
    float time = 0.0f;                      // the camera's path time; never reset
    Ref<IDirect3DRMFrame3> aimFrame;        // child of the scene, 0.6 ahead: where the model heads
    Ref<IDirect3DRMFrame3> objectFrame;     // child of the scene, 0.5 ahead: carries the model
    Ref<IDirect3DRMFrame3> lightFrame;      // child of the scene, 0.5 ahead: carries the spot light
    Ref<IDirect3DRMAnimation2> animation;   // the path, attached in turn to each of the frames
};
extern FlyState flyState;

// Starts the follow flight with the .x model `meshName` ("" flies an invisible point) on the
// script's path when flyPathCount is set, else on the built-in one; with the spot light when
// flyLight is set. False after an error box.
bool StartFollowFly(const char* meshName);
// Move callback on the camera, `state` the FlyState: one step of camera, model, aim and light.
void FollowStep(IDirect3DRMFrame3* camera, void* state, D3DVALUE delta);
// Destroy callback on the camera, `state` the FlyState: lets go of the flight's frames and path.
void FollowEnd(IDirect3DRMObject* camera, void* state);
