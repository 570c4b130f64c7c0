// The fly movement settings that the boxes, the scene scripts and the scene commands share.
#include "settings/shared.h"

int flyActive = 0;
BYTE flyLight = 0;
float animationStep = 0.01f;
float pathSpeed = 0.005f;
float flockSpeed = 0.01f;
