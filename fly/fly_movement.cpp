#include "fly/fly_movement.h"

#include "settings/shared.h"

int flyActive = 0;
BYTE flyLight = 0;
float animationStep = 0.01f;
float pathSpeed = 0.005f;
float flockSpeed = 0.01f;

// FIXME: the flights land with the fly movement work.
bool StartFollowFly(const char*) { return false; }
void StartCameraPath(int) {}
bool StartFlock(const char*, const char*, const char*, int) { return false; }
