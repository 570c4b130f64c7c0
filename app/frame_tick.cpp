#include "app/main_loop.h"
#include "settings/shared.h"
#include "sound/sound_frame.h"

void FrameTick() {
    // The sound's colours on the lamps and in the fog, and the camera's dance.
    if (recording.load(std::memory_order_relaxed)) SoundFrame();
    // FIXME: the selection's motion and automatic cycling join here.
}
