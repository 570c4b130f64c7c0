#include "sound/capture_thread.h"

#include "settings/shared.h"

std::atomic<BYTE> recording{0};

namespace {

void SetSoundColor(BYTE value) {
    for (auto& channel : soundColor) channel.store(value, std::memory_order_relaxed);
}

}  // namespace

CaptureThread::CaptureThread(std::uint32_t* bandSums)
    : bandSums(bandSums), samplesPerBuffer(256), sampleRate(11025), transformPoints(1024) {
    bufferEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    recorder = std::make_unique<Pcm16Recorder>(samplesPerBuffer, sampleRate, 1);
    transform = std::make_unique<SpectrumTransform>(transformPoints, sampleRate);
}

CaptureThread::~CaptureThread() {
    transform.reset();
    recorder.reset();
    CloseHandle(bufferEvent);
}

bool CaptureThread::Start() {
    recording.store(1, std::memory_order_relaxed);
    SetSoundColor(5);
    ResumeThread(thread);   // only the first start lets the thread run; later ones do nothing
    return recorder->Open(bufferEvent);
}

void CaptureThread::Stop() {
    recording.store(0, std::memory_order_relaxed);
    SetSoundColor(5);
    recorder->Close();
}

void CaptureThread::Run() {
    for (;;) {
        // The time-out makes this a poll: completions that came together as one signal are
        // still seen one by one.
        WaitForSingleObject(bufferEvent, 20);
        if (dying.load(std::memory_order_relaxed)) return;
        {
            // Held until the samples are read: a Start on the window's thread re-queues this
            // buffer, and a Stop closes the device under the ring.
            std::lock_guard ring(recorder->ringLock);
            const int index = recorder->nextBuffer.load(std::memory_order_relaxed);
            if (!recorder->BufferFilled(index)) continue;
            // The cursor is made before the ring moves on: BufferDone leaves this buffer out
            // of the driver and hands the one read last time back instead.
            SampleCursor cursor(*recorder, recorder->headers[index].lpData);
            recorder->BufferDone();
            transform->CopyIn(cursor);
        }
        Analyse(bandSums, *transform);
    }
}
