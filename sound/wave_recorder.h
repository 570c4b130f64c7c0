// Recording from the sound card into a ring of eight buffers of 16-bit mono samples.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "platform/winmm/winmm.h"

constexpr int kRingBuffers = 8;

struct WaveInDevice {
    HWAVEIN handle = nullptr;
    MMRESULT status = MMSYSERR_BADDEVICEID;   // of the last open: 0 open, 2 not open
};

// Seven buffers are queued in the driver while the eighth, the one that completed last, is
// read; each completion puts the buffer read before it back into the queue.
//
// Open and Close run on the window's thread, BufferDone and the reading of a buffer on the
// recording thread. `ringLock` keeps them apart: a start that follows a stop at once, while
// the recording thread still takes back the buffers the stop returned, must neither meet it
// half-way through a header nor have its fresh ring order overwritten.
class WaveRecorder {
public:
    WaveRecorder(int samplesPerBuffer, int sampleRate, int channels);
    virtual ~WaveRecorder();
    WaveRecorder(const WaveRecorder&) = delete;
    WaveRecorder& operator=(const WaveRecorder&) = delete;

    // Opens device 0 with `event` signalled per finished buffer, queues buffers 0 to 6 and
    // starts recording. On failure tells the user and returns false. Takes `ringLock`.
    bool Open(HANDLE event);
    // Open without telling anyone: on failure false, with the text Open would show in
    // `failure`. For a caller that reports the failure its own way.
    bool OpenRing(HANDLE event, std::string& failure);
    // Stops and resets the device and closes it; the device counts as open while the close
    // fails. Takes `ringLock`.
    void Close();
    // After buffer `nextBuffer` completed: takes it out of the driver, advances the ring and
    // re-queues the buffer before it. The result of that add. The caller holds `ringLock`
    // from its look at the buffer's flag until it has read the buffer's samples.
    MMRESULT BufferDone();
    // One sample of a buffer's data.
    virtual int GetSample(const char* data, int index) const = 0;

    int SamplesPerBuffer() const { return samplesPerBuffer; }
    // Whether buffer `index` is back from the driver. The driver sets the flag from a thread
    // of its own, so it is read atomically.
    bool BufferFilled(int index);

    // Guards `device`, `nextBuffer`, `headers` and the samples of the buffer being read
    // against a concurrent Open or Close.
    std::mutex ringLock;
    WaveInDevice device;
    int sampleRate;
    int samplesPerBuffer;
    int channels;
    int bytesPerFrame;
    int bytesPerBuffer;
    // The buffer the driver completes next. Written by Open on the window's thread and by
    // BufferDone on the recording thread, both under `ringLock`.
    std::atomic<int> nextBuffer{0};
    std::vector<char> memory;   // kRingBuffers × bytesPerBuffer
    WAVEHDR headers[kRingBuffers];

private:
    MMRESULT QueueBuffer(int index);
};

class Pcm16Recorder final : public WaveRecorder {
public:
    using WaveRecorder::WaveRecorder;
    // The signed 16-bit little-endian sample at `index`, sign-extended.
    int GetSample(const char* data, int index) const override;
};
