// Once per frame while capture runs: the sound's colour on the lamps and in the fog, and
// the camera's dance.
#pragma once

void SoundFrame();
