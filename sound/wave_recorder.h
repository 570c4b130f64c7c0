// Recording from the sound card into a ring of eight buffers of 16-bit mono samples.
#pragma once

#include <vector>

#include "platform/winmm/winmm.h"

constexpr int kRingBuffers = 8;

struct WaveInDevice {
    HWAVEIN handle = nullptr;
    MMRESULT status = MMSYSERR_BADDEVICEID;   // of the last open: 0 open, 2 not open
};

class WaveRecorder {
public:
    WaveRecorder(int samplesPerBuffer, int sampleRate, int channels);
    virtual ~WaveRecorder();
    WaveRecorder(const WaveRecorder&) = delete;
    WaveRecorder& operator=(const WaveRecorder&) = delete;

    // Opens device 0 with `event` signalled per finished buffer, queues seven buffers and
    // starts recording. False (with the device closed again) on failure.
    bool Open(HANDLE event);
    // Stops, resets, unprepares every buffer and closes the device.
    void Close();
    // After buffer `nextBuffer` completed: re-queues the one before it and advances the ring.
    void BufferDone();
    // One sample of a buffer's data.
    virtual int GetSample(const char* data, int index) const = 0;

    int SamplesPerBuffer() const { return samplesPerBuffer; }
    const WAVEHDR& CurrentHeader() const { return headers[nextBuffer]; }

    WaveInDevice device;
    int sampleRate;
    int samplesPerBuffer;
    int channels;
    int bytesPerFrame;
    int bytesPerBuffer;
    int nextBuffer = 0;
    std::vector<char> memory;   // kRingBuffers × bytesPerBuffer
    WAVEHDR headers[kRingBuffers];
};

class Pcm16Recorder final : public WaveRecorder {
public:
    using WaveRecorder::WaveRecorder;
    // The signed 16-bit little-endian sample at `index`, sign-extended.
    int GetSample(const char* data, int index) const override;
};
