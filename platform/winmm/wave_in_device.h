// The state of the wave-input layer that its sound-card path (wave_in.cpp) and its test hooks
// (wave_in_test_hooks.cpp) share: the open devices and their header queues. Internal to
// platform/winmm.
#pragma once

#include <SDL.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/winmm/pulse_capture.h"
#include "platform/winmm/winmm.h"
#include "platform/winmm/winmm_test.h"

namespace winmm_internal {

struct OpenDevice {
    UINT deviceId = 0;
    WAVEFORMATEX format;
    HANDLE event = nullptr;          // CALLBACK_EVENT: signalled on open, per buffer, on close
    std::deque<WAVEHDR*> queue;      // added and not yet completed, oldest first
    bool started = false;

    SDL_AudioDeviceID sdl = 0;       // the sound card through SDL
    std::unique_ptr<winmm_internal::PulseCapture> pulse;   // or the default source through PulseAudio
    int lockFd = -1;                 // holds the card's lock file while open
    bool audioHeld = false;          // holds a reference to SDL's audio

    winmmtest::SampleSource source;  // a test's source instead of the card
    winmmtest::Pace pace = winmmtest::Pace::RealTime;
    std::thread clock;               // RealTime: delivers the source's samples
    bool clockStop = false;
    std::condition_variable clockWake;
};

struct WaveInState {
    std::mutex mutex;
    // Handles are numbers that are never reused, so a call with the handle of a closed
    // device fails rather than reaching a later one.
    std::map<std::uintptr_t, std::unique_ptr<OpenDevice>> devices;
    std::uintptr_t nextHandle = 0x100;

    winmmtest::SampleSource source;
    winmmtest::Pace pace = winmmtest::Pace::RealTime;
    int deviceCount = -1;
    MMRESULT openError = MMSYSERR_NOERROR;
    winmmtest::CallObserver observer;
};

// The layer's one state. Never destroyed: a recording thread may still make calls while the
// process exits.
WaveInState& State();

// Copies recorded bytes into the device's queued headers, oldest first, completing each that
// is full; bytes that find no header are lost. State().mutex held. Returns the headers
// completed.
int Fill(OpenDevice& device, const std::uint8_t* bytes, std::size_t size);

// The clock of a test's RealTime sample source: runs on a thread of its own until the device's
// clockStop is set (wave_in_test_hooks.cpp).
void RunSampleClock(OpenDevice* device);

}  // namespace winmm_internal
