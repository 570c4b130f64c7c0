#include "sound/wave_recorder.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr const char* kRecorderTitle = "Virelux Recorder";
constexpr UINT kErrorTextSize = 164;

}  // namespace

WaveRecorder::WaveRecorder(int samplesPerBuffer, int sampleRate, int channels)
    : sampleRate(sampleRate),
      samplesPerBuffer(samplesPerBuffer),
      channels(channels),
      bytesPerFrame(channels * 2),
      bytesPerBuffer(samplesPerBuffer * channels * 2),
      memory(static_cast<std::size_t>(kRingBuffers) * static_cast<std::size_t>(samplesPerBuffer * channels * 2)) {}

WaveRecorder::~WaveRecorder() {
    Close();
    std::lock_guard ring(ringLock);
    if (device.status == MMSYSERR_NOERROR) {
        waveInReset(device.handle);
        waveInClose(device.handle);
    }
}

bool WaveRecorder::Open(HANDLE event) {
    std::string failure;
    if (OpenRing(event, failure)) return true;
    // Told with the ring released: the box runs a modal loop, and the recording thread
    // must not wait for it.
    MessageBoxA(nullptr, failure.c_str(), kRecorderTitle, MB_OK);
    return false;
}

bool WaveRecorder::OpenRing(HANDLE event, std::string& failure) {
    WAVEFORMATEX format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = static_cast<DWORD>(sampleRate);
    format.nAvgBytesPerSec = static_cast<DWORD>(sampleRate * bytesPerFrame);
    format.nBlockAlign = static_cast<WORD>(bytesPerFrame);
    format.wBitsPerSample = 16;
    format.cbSize = 0;

    // Device 0 for both the query and the open, never the mapper.
    if (waveInOpen(nullptr, 0, &format, 0, 0, WAVE_FORMAT_QUERY) != MMSYSERR_NOERROR) {
        failure = "Format not supported";
        return false;
    }
    std::lock_guard ring(ringLock);
    device.status = waveInOpen(&device.handle, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT);
    if (device.status != MMSYSERR_NOERROR) {
        char text[kErrorTextSize] = "";
        if (device.status == MMSYSERR_ALLOCATED)
            std::strcpy(text, "Stop recording !\nAnother application is recording audio.");
        else
            waveInGetErrorTextA(device.status, text, kErrorTextSize);
        failure = text;
        return false;
    }
    // Seven buffers; the eighth joins the ring through the first BufferDone. Buffers the last
    // stop returned and the recording thread has not taken yet are queued afresh here, so
    // that it never reads them.
    for (int i = 0; i < kRingBuffers - 1; ++i) QueueBuffer(i);
    nextBuffer.store(0, std::memory_order_relaxed);
    waveInStart(device.handle);
    return true;
}

void WaveRecorder::Close() {
    std::lock_guard ring(ringLock);
    waveInStop(device.handle);
    if (device.status != MMSYSERR_NOERROR) {
        device.status = MMSYSERR_BADDEVICEID;
        return;
    }
    waveInReset(device.handle);
    if (waveInClose(device.handle) == MMSYSERR_NOERROR) device.status = MMSYSERR_BADDEVICEID;
}

MMRESULT WaveRecorder::BufferDone() {
    const int done = nextBuffer.load(std::memory_order_relaxed);
    waveInUnprepareHeader(device.handle, &headers[done], sizeof(WAVEHDR));
    const int previous = done == 0 ? kRingBuffers - 1 : done - 1;
    nextBuffer.store(done + 1 == kRingBuffers ? 0 : done + 1, std::memory_order_relaxed);
    // The buffer read in the previous pass goes back to the driver; `done` is read now.
    return QueueBuffer(previous);
}

bool WaveRecorder::BufferFilled(int index) {
    return std::atomic_ref<DWORD>(headers[index].dwFlags).load(std::memory_order_acquire) & WHDR_DONE;
}

MMRESULT WaveRecorder::QueueBuffer(int index) {
    WAVEHDR& header = headers[index];
    header.lpData = memory.data() + static_cast<std::ptrdiff_t>(index) * bytesPerBuffer;
    header.dwBufferLength = static_cast<DWORD>(bytesPerBuffer);
    std::atomic_ref<DWORD>(header.dwFlags).store(0, std::memory_order_relaxed);
    header.dwLoops = 0;
    waveInPrepareHeader(device.handle, &header, sizeof(WAVEHDR));
    return waveInAddBuffer(device.handle, &header, sizeof(WAVEHDR));
}

int Pcm16Recorder::GetSample(const char* data, int index) const {
    std::int16_t sample;
    std::memcpy(&sample, data + static_cast<std::ptrdiff_t>(index) * 2, sizeof sample);
    return sample;
}
