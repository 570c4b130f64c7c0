// Test hooks of the wave-input layer (winmm_test.h): a sample source in place of the sound
// card, the device count, an open error, and an observer of every call.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "platform/winmm/wave_in_device.h"

namespace winmm_internal {

namespace {

// A test source's mono 16-bit samples in the device's format.
void Encode(const std::int16_t* samples, int count, const WAVEFORMATEX& format, std::vector<Uint8>& bytes) {
    bytes.clear();
    for (int i = 0; i < count; ++i)
        for (int c = 0; c < format.nChannels; ++c) {
            if (format.wBitsPerSample == 8) {
                bytes.push_back(static_cast<Uint8>((samples[i] >> 8) + 128));
            } else {
                const auto value = static_cast<std::uint16_t>(samples[i]);
                bytes.push_back(static_cast<Uint8>(value & 0xFF));
                bytes.push_back(static_cast<Uint8>(value >> 8));
            }
        }
}

}  // namespace

// The clock of a RealTime test source: small blocks at the device's rate, like a card.
void RunSampleClock(OpenDevice* device) {
    using Clock = std::chrono::steady_clock;
    const int rate = static_cast<int>(device->format.nSamplesPerSec);
    const int block = std::max(1, rate / 200);   // 5 ms
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(double(block) / rate));
    std::vector<std::int16_t> samples(static_cast<std::size_t>(block));
    std::vector<Uint8> bytes;
    auto next = Clock::now();
    std::unique_lock lock(State().mutex);
    while (!device->clockStop) {
        next += period;
        device->clockWake.wait_until(lock, next, [&] { return device->clockStop; });
        if (device->clockStop) break;
        if (!device->started) continue;
        lock.unlock();
        device->source(samples.data(), block);
        Encode(samples.data(), block, device->format, bytes);
        lock.lock();
        if (device->started && !device->clockStop) Fill(*device, bytes.data(), bytes.size());
        if (Clock::now() - next > std::chrono::milliseconds(200)) next = Clock::now();   // no burst after a stall
    }
}

}  // namespace winmm_internal

using namespace winmm_internal;

namespace winmmtest {


void SetSampleSource(SampleSource source, Pace pace) {
    // Every copy the layer makes draws from the one source, which keeps its place across
    // deliveries and reopened devices.
    if (source) {
        auto shared = std::make_shared<SampleSource>(std::move(source));
        source = [shared](std::int16_t* samples, int count) { (*shared)(samples, count); };
    }
    std::lock_guard lock(State().mutex);
    State().source = std::move(source);
    State().pace = pace;
}

int Deliver(int count) {
    WaveInState& s = State();
    SampleSource source;
    WAVEFORMATEX format;
    std::uintptr_t number = 0;
    {
        std::lock_guard lock(s.mutex);
        for (const auto& [n, device] : s.devices)
            if (device->deviceId == 0 && device->source && device->pace == Pace::OnDemand) {
                number = n;
                source = device->source;
                format = device->format;
            }
    }
    if (!source || count <= 0) return 0;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
    source(samples.data(), count);
    std::vector<Uint8> bytes;
    Encode(samples.data(), count, format, bytes);
    std::lock_guard lock(s.mutex);
    auto it = s.devices.find(number);
    if (it == s.devices.end() || !it->second->started) return 0;
    return Fill(*it->second, bytes.data(), bytes.size());
}

SampleSource ToneSource(double hertz, int amplitude, int sampleRate) {
    return [hertz, amplitude, sampleRate, n = std::int64_t{0}](std::int16_t* samples, int count) mutable {
        const double step = 2.0 * std::numbers::pi * hertz / sampleRate;
        for (int i = 0; i < count; ++i, ++n)
            samples[i] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(step * static_cast<double>(n))));
    };
}

void SetDeviceCount(int count) {
    std::lock_guard lock(State().mutex);
    State().deviceCount = count;
}

void SetDeviceBusy(bool busy) { SetOpenError(busy ? MMSYSERR_ALLOCATED : MMSYSERR_NOERROR); }

void SetOpenError(MMRESULT error) {
    std::lock_guard lock(State().mutex);
    State().openError = error;
}

void SetCallObserver(CallObserver observer) {
    std::lock_guard lock(State().mutex);
    State().observer = std::move(observer);
}

}  // namespace winmmtest
