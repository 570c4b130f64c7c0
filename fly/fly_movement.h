// Flights along closed spline paths, advanced once per frame by move callbacks on the camera:
// a model flying ahead of the camera, four camera paths, and a flock of five models.
#pragma once

// Starts the follow flight with the .x model `meshName` ("" flies an invisible point); false
// after an error box.
bool StartFollowFly(const char* meshName);
// Flies the camera along path 0 "Standard", 1 "Wave flight", 2 "Zoom flight" or 3 "Round flight".
void StartCameraPath(int pathType);
// Five models fly the wave (kind 0) or zoom (kind 1) path one behind the other; false for any
// other kind.
bool StartFlock(const char* leadMesh, const char* followMesh, const char* lastMesh, int kind);
