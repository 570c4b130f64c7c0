// Recording from the sound server's default source through PulseAudio, kept alive across
// the server's life as a sound driver keeps a device alive: when the source goes away (a
// headset unplugged, every source unloaded) or the server itself restarts, a new stream on
// whatever is then the default source is opened by itself, and recording goes on.
// Internal to platform/winmm.
//
// Everything PulseAudio does for one recording runs on a loop thread of its own; closing
// stops that thread, which never waits on the server.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace winmm_internal {

struct CaptureFormat {
    bool eightBit = false;   // unsigned 8-bit samples, otherwise signed 16-bit little-endian
    int channels = 1;
    int rate = 11025;        // samples per second
    int blockBytes = 512;    // how much the server should hand over at a time
};

// Receives recorded bytes on the loop thread, in order.
using CaptureSink = std::function<void(const std::uint8_t* bytes, std::size_t size)>;

class PulseCapture {
public:
    // Connects to the sound server and records its default source into `sink`. Null when
    // no server answers or it has no source to record now.
    static std::unique_ptr<PulseCapture> Open(const CaptureFormat& format, CaptureSink sink);
    // Stops recording; `sink` is not called once this returns.
    ~PulseCapture();
    PulseCapture(const PulseCapture&) = delete;
    PulseCapture& operator=(const PulseCapture&) = delete;

    struct Loop;

private:
    explicit PulseCapture(std::unique_ptr<Loop> loop);
    std::unique_ptr<Loop> loop_;
};

// True when the sound server is to be reached through PulseAudio: SDL_AUDIODRIVER names
// no other driver.
bool PulseAudioChosen();

}  // namespace winmm_internal
