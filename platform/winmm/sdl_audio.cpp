// Internal to platform/winmm: no platform call; the shared reference on SDL's audio.
#include "platform/winmm/sdl_audio.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <mutex>

namespace winmm_internal {

namespace {

// SDL_InitSubSystem and SDL_QuitSubSystem are not thread-safe; the layer's own calls take turns.
std::mutex& AudioInitLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

}  // namespace

bool AcquireSdlAudio() {
    std::lock_guard hold(AudioInitLock());
    SDL_SetHint(SDL_HINT_AUDIO_INCLUDE_MONITORS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) return true;
    static std::atomic<bool> told{false};
    if (!told.exchange(true)) std::fprintf(stderr, "winmm: no audio: %s\n", SDL_GetError());
    return false;
}

void ReleaseSdlAudio() {
    std::lock_guard hold(AudioInitLock());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace winmm_internal
