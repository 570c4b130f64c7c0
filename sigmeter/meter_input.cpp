// The meter records and analyses on its window's thread: the show's ring of eight buffers
// holds about 160 ms of sound, many frames' worth, so one look per frame loses nothing.
#include "sigmeter/meter_input.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/winmm/winmm.h"
#include "settings/shared.h"

namespace {

// The show's capture parameters.
constexpr int kSamplesPerBuffer = 256;
constexpr int kSampleRate = 11025;
constexpr int kTransformPoints = analysisPoints;

}  // namespace

MeterInput::MeterInput()
    : recorder(kSamplesPerBuffer, kSampleRate, 1), transform(kTransformPoints, kSampleRate) {
    if (waveInGetNumDevs() == 0) {
        reading.failure = "no capture device";
        return;
    }
    // No event: the meter looks at the ring once per frame instead of waiting on it.
    reading.open = recorder.OpenRing(nullptr, reading.failure);
}

bool MeterInput::Poll() {
    if (!reading.open) return false;
    bool any = false;
    for (;;) {
        std::lock_guard ring(recorder.ringLock);
        const int index = recorder.nextBuffer.load(std::memory_order_relaxed);
        if (!recorder.BufferFilled(index)) break;
        // As the capture thread: the cursor is made before the ring moves on.
        SampleCursor cursor(recorder, recorder.headers[index].lpData);
        recorder.BufferDone();
        transform.CopyIn(cursor);
        reading.divisor = bandDivisor.load(std::memory_order_relaxed);
        Analyse(reading.bandSums, transform);
        ++reading.buffers;
        any = true;
    }
    if (!any) return false;
    TakeReading();
    return true;
}

void MeterInput::TakeReading() {
    // The newest samples are the window's last buffer.
    const double* fresh = transform.window.data() + (transform.points - kSamplesPerBuffer);
    double peak = 0.0, energy = 0.0;
    for (int k = 0; k < kSamplesPerBuffer; ++k) {
        peak = std::max(peak, std::abs(fresh[k]));
        energy += fresh[k] * fresh[k];
    }
    reading.peak = peak / 32768.0;
    reading.rms = std::sqrt(energy / kSamplesPerBuffer) / 32768.0;
    // The values the analysis summed: the same bins, over the divisor it used.
    transform.BandValues(2, binEnd - 2, reading.divisor, reading.binValue + 2);
    for (int c = 0; c < 3; ++c) reading.colour[c] = soundColor[c].load(std::memory_order_relaxed);
}
