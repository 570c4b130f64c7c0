#include "app/main_loop.h"
#include "settings/shared.h"
#include "sound/sound_frame.h"

namespace {

// Counts one idle tick towards the next catalogue step, and takes the step every 1000.
void CountTowards(void (*step)()) {
    if (cycleCounter > 1000.0f) {
        step();
        cycleCounter = 0.1f;
    }
    cycleCounter += 1.0f;
}

}  // namespace

void FrameTick() {
    // The sound's colours on the lamps and in the fog, and the camera's dance.
    if (recording.load(std::memory_order_relaxed)) SoundFrame();
    // A selected object moves only while the mouse drags it, and holds the cycle meanwhile.
    if (selectedFrame) {
        if (leftDragging)
            selectedFrame->SetRotation(appState->scene.get(), 0.0f, 1.0f, 0.0f, 0.0f);
        else if (rightDragging)
            selectedFrame->SetVelocity(appState->scene.get(), 0.0f, 0.0f, 0.0f, FALSE);
        return;
    }
    if (cycleBackgrounds)
        CountTowards(NextBackground);
    else if (cycleScenes)
        CountTowards(NextScene);
}
