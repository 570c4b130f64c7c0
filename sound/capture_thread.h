// The recording thread: waits for filled capture buffers and hands each one to the
// transform and the colour analysis.
#pragma once

#include <cstdint>
#include <memory>

#include "sound/analysis.h"
#include "sound/wave_recorder.h"
#include "sound/worker_thread.h"

class CaptureThread final : public WorkerThread {
public:
    // Sets everything up without opening the device; the thread waits, suspended, for the
    // first Start. `bandSums` are the three band counters the analysis writes.
    explicit CaptureThread(std::uint32_t* bandSums);
    ~CaptureThread() override;

    void Init() override {}
    void Run() override;
    void Finish() override {}

    // Window's thread. Start sets `recording` and the colour (5, 5, 5), lets the thread run
    // and opens the device; false when the device could not be opened (the user was told).
    bool Start();
    // Window's thread: clears `recording`, sets the colour (5, 5, 5) and closes the device.
    // The thread keeps polling.
    void Stop();

    std::uint32_t* bandSums;
    int samplesPerBuffer;
    int sampleRate;
    int transformPoints;
    HANDLE bufferEvent = nullptr;   // auto-reset; the driver signals it per finished buffer
    std::unique_ptr<WaveRecorder> recorder;
    std::unique_ptr<SpectrumTransform> transform;
};
