// Test hooks of the wave-input layer. Switched on by a test's set-up, never by the program.
// No platform call: test hooks only.
//
// With a sample source installed, device 0 records from it instead of the sound card: the
// same waveIn calls, the same buffer discipline, the same event; SDL audio is not touched.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/winmm/winmm.h"

namespace winmmtest {

// Writes the next `count` mono samples.
using SampleSource = std::function<void(std::int16_t* samples, int count)>;

enum class Pace {
    RealTime,   // a clock of the layer's own delivers samples at the device's rate while started
    OnDemand,   // nothing arrives until the test calls Deliver
};

// Device 0 records from `source` from the next waveInOpen on; an empty function puts the
// sound card back. The device delivers in the format it was opened with (16-bit mono
// samples are widened to stereo or narrowed to 8 bits as needed).
void SetSampleSource(SampleSource source, Pace pace = Pace::RealTime);

// OnDemand: takes `count` samples from the source and hands them to the open, started
// device 0 on the calling thread, exactly as the sound card would. Samples that find no
// queued buffer are lost. Returns the number of buffers this completed.
int Deliver(int count);

// A sine tone of `hertz` with peak `amplitude`, sampled at `sampleRate`.
SampleSource ToneSource(double hertz, int amplitude, int sampleRate = 11025);

// What waveInGetNumDevs reports (and which device ids exist); negative: the real count.
void SetDeviceCount(int count);
// Another application holds device 0: opening it fails with MMSYSERR_ALLOCATED (a format
// query still succeeds).
void SetDeviceBusy(bool busy);
// Opening device 0 fails with `error` (MMSYSERR_NOERROR: opens normally again).
void SetOpenError(MMRESULT error);

// Sees every waveIn call as it begins, on the calling thread, before the layer acts on it.
// `header` is the call's header where it has one, otherwise nullptr.
enum class WaveInCall { Open, Prepare, Unprepare, AddBuffer, Start, Stop, Reset, Close };
using CallObserver = std::function<void(WaveInCall call, HWAVEIN waveIn, const WAVEHDR* header)>;
void SetCallObserver(CallObserver observer);

// The lock file that marks a sound card's device as taken across processes.
std::string DeviceLockPath(UINT deviceId);

}  // namespace winmmtest
