// Flights along closed spline paths, advanced once per frame by move callbacks on the camera:
// a model flying ahead of the camera, four camera paths, and a flock of five models. Every
// flight ends when the camera frame is destroyed with its scene; there is no stop operation.
// The settings (flyActive, flyLight, animationStep, pathSpeed, flockSpeed) are in settings/shared.h.
#pragma once

#include "fly/camera_path.h"
#include "fly/flock.h"
#include "fly/follow_flight.h"
