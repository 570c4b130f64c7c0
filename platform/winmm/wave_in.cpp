// Wave input over SDL2 audio capture (PulseAudio, PipeWire or ALSA underneath).
// Implements: waveInGetNumDevs, waveInGetDevCapsA, waveInOpen, waveInPrepareHeader,
// waveInUnprepareHeader, waveInAddBuffer, waveInStart, waveInStop, waveInReset, waveInClose,
// waveInGetErrorTextA; and the test hooks of winmm_test.h.
// Leaves out: callbacks other than CALLBACK_EVENT and CALLBACK_NULL (window, function and
// thread callbacks give MMSYSERR_INVALFLAG) and the callback instance value; formats other
// than PCM of 8 or 16 bits, one or two channels, 1000..192000 samples a second.
//
// Device 0 is the system's default capture source. An open device owns a queue of the
// headers the program added; whoever produces samples — SDL's audio thread, the clock of a
// test's sample source, or a test delivering by hand — copies them into the oldest queued
// header and completes each header that is full, strictly in the order the headers were
// queued: WHDR_DONE set, dwBytesRecorded filled in, the event signalled.
//
// Threads: waveIn calls may come from any thread (the program records on a thread of its
// own). One mutex guards every open device and its queue; SDL is never called with it held,
// because SDL runs its audio callback with the device's own lock held and the callback takes
// ours. A header's dwFlags is read by the program without any lock while the header is
// queued, so the layer changes it atomically, releasing the samples with WHDR_DONE.
//
// Device 0 on a PulseAudio server (PipeWire's included) records through PulseAudio itself
// rather than SDL: a sound driver keeps a recording device alive when its source goes away
// and another comes, and so does PulseCapture (see pulse_capture.h). SDL 2.26 cannot: its
// lost capture device is never opened again, and its PulseAudio hot-plug thread was seen to
// crash (strdup of a missing default source's name) when every source disappears while its
// audio runs. Devices named by number, and other sound systems, record through SDL.
// FIXME: such an SDL device that its sound system loses stays silent until the program
// closes and opens it again.
#include <SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/winmm/pulse_capture.h"
#include "platform/winmm/sdl_audio.h"
#include "platform/winmm/winmm.h"
#include "platform/winmm/wave_in_device.h"
#include "platform/winmm/winmm_test.h"

using winmmtest::WaveInCall;
using namespace winmm_internal;

WaveInState& winmm_internal::State() {
    static WaveInState* state = new WaveInState;
    return *state;
}

namespace {

constexpr DWORD CALLBACK_TYPEMASK = 0x00070000;
constexpr DWORD kAllStandardFormats = 0x000FFFFF;   // WAVE_FORMAT_1M08 .. WAVE_FORMAT_96S16

std::uintptr_t HandleNumber(HWAVEIN waveIn) { return reinterpret_cast<std::uintptr_t>(waveIn); }

// The open device behind a handle; the state's mutex must be held.
OpenDevice* Find(HWAVEIN waveIn) {
    auto& devices = State().devices;
    auto it = devices.find(HandleNumber(waveIn));
    return it == devices.end() ? nullptr : it->second.get();
}

void Observe(WaveInCall call, HWAVEIN waveIn, const WAVEHDR* header) {
    winmmtest::CallObserver observer;
    {
        std::lock_guard lock(State().mutex);
        observer = State().observer;
    }
    if (observer) observer(call, waveIn, header);
}

DWORD Flags(WAVEHDR* header) { return std::atomic_ref<DWORD>(header->dwFlags).load(std::memory_order_acquire); }

void ChangeFlags(WAVEHDR* header, DWORD set, DWORD clear) {
    std::atomic_ref<DWORD> flags(header->dwFlags);
    DWORD old = flags.load(std::memory_order_relaxed);
    while (!flags.compare_exchange_weak(old, (old | set) & ~clear, std::memory_order_release, std::memory_order_relaxed)) {
    }
}

// Returns the oldest queued header to the program. Mutex held.
void CompleteOldest(OpenDevice& device) {
    WAVEHDR* header = device.queue.front();
    device.queue.pop_front();
    ChangeFlags(header, WHDR_DONE, WHDR_INQUEUE);
    if (device.event) SetEvent(device.event);
}

}  // namespace

// Bytes that find no header are lost, as with a card that records into no buffer.
int winmm_internal::Fill(OpenDevice& device, const std::uint8_t* bytes, std::size_t size) {
    int completed = 0;
    while (size > 0 && !device.queue.empty()) {
        WAVEHDR* header = device.queue.front();
        const std::size_t n = std::min<std::size_t>(header->dwBufferLength - header->dwBytesRecorded, size);
        std::memcpy(header->lpData + header->dwBytesRecorded, bytes, n);
        header->dwBytesRecorded += static_cast<DWORD>(n);
        bytes += n;
        size -= n;
        if (header->dwBytesRecorded == header->dwBufferLength) {
            CompleteOldest(device);
            ++completed;
        }
    }
    return completed;
}

namespace {


// A reference to SDL's audio for the length of one query.
class AudioForQuery {
public:
    AudioForQuery() : held_(winmm_internal::AcquireSdlAudio()) {}
    ~AudioForQuery() {
        if (held_) winmm_internal::ReleaseSdlAudio();
    }
    AudioForQuery(const AudioForQuery&) = delete;
    AudioForQuery& operator=(const AudioForQuery&) = delete;
    explicit operator bool() const { return held_; }

private:
    bool held_;
};

// The capture devices SDL lists; when it lists none, 1 if the default source opens anyway.
int SoundCardCount() {
    AudioForQuery audio;
    if (!audio) return 0;
    const int listed = SDL_GetNumAudioDevices(1);
    if (listed > 0) return listed;
    SDL_AudioSpec want{};
    want.freq = 11025;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 256;
    const SDL_AudioDeviceID probe = SDL_OpenAudioDevice(nullptr, 1, &want, nullptr, 0);
    if (probe == 0) return 0;
    SDL_CloseAudioDevice(probe);
    return 1;
}

int DeviceCount() {
    {
        WaveInState& s = State();
        std::lock_guard lock(s.mutex);
        if (s.deviceCount >= 0) return s.deviceCount;
        if (s.source) return 1;
    }
    return SoundCardCount();
}

bool ValidFormat(const WAVEFORMATEX& f) {
    if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
    if (f.nChannels < 1 || f.nChannels > 2) return false;
    if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
    if (f.nSamplesPerSec < 1000 || f.nSamplesPerSec > 192000) return false;
    if (f.nBlockAlign != f.nChannels * f.wBitsPerSample / 8) return false;
    return f.nAvgBytesPerSec == f.nSamplesPerSec * f.nBlockAlign;
}

// Marks a sound card's device as taken for other processes too. -1 when another process
// holds it; otherwise the descriptor to close (or -2 when no lock file could be made, in
// which case only this process knows).
int TakeDeviceLock(UINT deviceId) {
    const std::string path = winmmtest::DeviceLockPath(deviceId);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -2;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        close(fd);
        return taken ? -1 : -2;
    }
    return fd;
}

// SDL's sample-frame count per callback: a power of two near 20 ms.
Uint16 CallbackFrames(DWORD rate) {
    Uint16 frames = 64;
    while (frames < 8192 && frames < rate / 50) frames *= 2;
    return frames;
}

// Hands bytes a sound card recorded to the device `number`, if it still records.
void Recorded(std::uintptr_t number, const Uint8* bytes, std::size_t size) {
    WaveInState& s = State();
    std::lock_guard lock(s.mutex);
    auto it = s.devices.find(number);
    if (it != s.devices.end() && it->second->started) Fill(*it->second, bytes, size);
}

// The default source through PulseAudio; null when no PulseAudio server records for us.
std::unique_ptr<winmm_internal::PulseCapture> OpenPulseSource(const OpenDevice& device, std::uintptr_t number) {
    if (device.deviceId != 0 || !winmm_internal::PulseAudioChosen()) return nullptr;
    winmm_internal::CaptureFormat format;
    format.eightBit = device.format.wBitsPerSample == 8;
    format.channels = device.format.nChannels;
    format.rate = static_cast<int>(device.format.nSamplesPerSec);
    format.blockBytes = CallbackFrames(device.format.nSamplesPerSec) * device.format.nBlockAlign;
    return winmm_internal::PulseCapture::Open(
        format, [number](const std::uint8_t* bytes, std::size_t size) { Recorded(number, bytes, size); });
}

MMRESULT OpenSoundCard(OpenDevice& device, std::uintptr_t number) {
    const int lockFd = TakeDeviceLock(device.deviceId);
    if (lockFd == -1) return MMSYSERR_ALLOCATED;
    if (auto pulse = OpenPulseSource(device, number)) {
        std::lock_guard lock(State().mutex);
        device.pulse = std::move(pulse);
        device.lockFd = lockFd;
        return MMSYSERR_NOERROR;
    }
    if (!winmm_internal::AcquireSdlAudio()) {
        if (lockFd >= 0) close(lockFd);
        return MMSYSERR_NODRIVER;
    }
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(device.format.nSamplesPerSec);
    want.format = device.format.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    want.channels = static_cast<Uint8>(device.format.nChannels);
    want.samples = CallbackFrames(device.format.nSamplesPerSec);
    want.callback = [](void* userdata, Uint8* stream, int length) {
        Recorded(reinterpret_cast<std::uintptr_t>(userdata), stream, static_cast<std::size_t>(length));
    };
    want.userdata = reinterpret_cast<void*>(number);
    // Device 0 is the default source; SDL converts from whatever it records.
    const char* name = device.deviceId == 0 ? nullptr : SDL_GetAudioDeviceName(static_cast<int>(device.deviceId), 1);
    const SDL_AudioDeviceID sdl = SDL_OpenAudioDevice(name, 1, &want, nullptr, 0);
    if (sdl == 0) {
        std::fprintf(stderr, "winmm: cannot record: %s\n", SDL_GetError());
        if (lockFd >= 0) close(lockFd);
        winmm_internal::ReleaseSdlAudio();
        return MMSYSERR_NODRIVER;
    }
    {
        std::lock_guard lock(State().mutex);
        device.sdl = sdl;
        device.lockFd = lockFd;
        device.audioHeld = true;
    }
    return MMSYSERR_NOERROR;
}

void PauseSoundCard(HWAVEIN waveIn, int pause) {
    SDL_AudioDeviceID sdl = 0;
    {
        std::lock_guard lock(State().mutex);
        if (OpenDevice* device = Find(waveIn)) sdl = device->sdl;
    }
    if (sdl) SDL_PauseAudioDevice(sdl, pause);
}

const char* ErrorText(MMRESULT error) {
    switch (error) {
    case MMSYSERR_NOERROR: return "The specified command was carried out.";
    case MMSYSERR_ERROR: return "Undefined external error.";
    case MMSYSERR_BADDEVICEID: return "A device ID has been used that is out of range for your system.";
    case MMSYSERR_NOTENABLED: return "The driver was not enabled.";
    case MMSYSERR_ALLOCATED: return "The specified device is already in use. Wait until it is free, and then try again.";
    case MMSYSERR_INVALHANDLE: return "The specified device handle is invalid.";
    case MMSYSERR_NODRIVER: return "There is no driver installed on your system.";
    case MMSYSERR_NOMEM:
        return "There is not enough memory available for this task. Quit one or more applications to increase "
               "available memory, and then try again.";
    case MMSYSERR_INVALFLAG: return "An invalid flag was passed to a system function.";
    case MMSYSERR_INVALPARAM: return "An invalid parameter was passed to a system function.";
    case WAVERR_BADFORMAT:
        return "The specified format is not supported or cannot be translated. Use the Capabilities function to "
               "determine the supported formats.";
    case WAVERR_STILLPLAYING:
        return "Cannot perform this operation while media data is still playing. Reset the device, or wait until "
               "the data is finished playing.";
    case WAVERR_UNPREPARED:
        return "The wave header was not prepared. Use the Prepare function to prepare the header, and then try "
               "again.";
    default: return nullptr;
    }
}

constexpr MMRESULT MMSYSERR_BADERRNUM = 9;

}  // namespace

// ---- The calls -------------------------------------------------------------------------------

UINT waveInGetNumDevs() { return static_cast<UINT>(DeviceCount()); }

MMRESULT waveInGetDevCapsA(UINT_PTR deviceId, WAVEINCAPSA* caps, UINT size) {
    if (!caps || size == 0) return MMSYSERR_INVALPARAM;
    if (deviceId == WAVE_MAPPER) deviceId = 0;
    if (deviceId >= static_cast<UINT_PTR>(DeviceCount())) return MMSYSERR_BADDEVICEID;
    WAVEINCAPSA found;
    found.vDriverVersion = 0x0100;
    found.dwFormats = kAllStandardFormats;
    found.wChannels = 2;
    std::string name = "Default capture device";
    bool fromSource;
    {
        std::lock_guard lock(State().mutex);
        fromSource = deviceId == 0 && State().source;
    }
    if (fromSource) {
        name = "Test sample source";
        found.wChannels = 1;
    } else if (AudioForQuery audio; audio) {
        char* defaultName = nullptr;
        SDL_AudioSpec format{};
        if (deviceId == 0 && SDL_GetDefaultAudioInfo(&defaultName, &format, 1) == 0) {
            if (defaultName) name = defaultName;
            SDL_free(defaultName);
        } else if (deviceId > 0) {
            const char* listed = SDL_GetAudioDeviceName(static_cast<int>(deviceId), 1);
            if (!listed) return MMSYSERR_BADDEVICEID;
            name = listed;
            SDL_GetAudioDeviceSpec(static_cast<int>(deviceId), 1, &format);
        }
        if (format.channels == 1) found.wChannels = 1;
    }
    std::strncpy(found.szPname, name.c_str(), MAXPNAMELEN - 1);
    std::memcpy(caps, &found, std::min<std::size_t>(size, sizeof found));
    return MMSYSERR_NOERROR;
}

MMRESULT waveInOpen(HWAVEIN* waveIn, UINT deviceId, const WAVEFORMATEX* format, DWORD_PTR callback, DWORD_PTR,
                    DWORD flags) {
    Observe(WaveInCall::Open, nullptr, nullptr);
    if (!format) return MMSYSERR_INVALPARAM;
    if (deviceId == WAVE_MAPPER) deviceId = 0;
    const DWORD callbackType = flags & CALLBACK_TYPEMASK;
    if (callbackType != CALLBACK_NULL && callbackType != CALLBACK_EVENT) return MMSYSERR_INVALFLAG;
    if (deviceId >= static_cast<UINT>(DeviceCount())) return MMSYSERR_BADDEVICEID;
    if (!ValidFormat(*format)) return WAVERR_BADFORMAT;
    if (flags & WAVE_FORMAT_QUERY) return MMSYSERR_NOERROR;
    if (!waveIn) return MMSYSERR_INVALPARAM;

    auto created = std::make_unique<OpenDevice>();
    OpenDevice& device = *created;
    device.deviceId = deviceId;
    device.format = *format;
    if (callbackType == CALLBACK_EVENT) device.event = reinterpret_cast<HANDLE>(callback);
    WaveInState& s = State();
    std::uintptr_t number;
    {
        std::lock_guard lock(s.mutex);
        if (deviceId == 0 && s.openError != MMSYSERR_NOERROR) return s.openError;
        for (const auto& [n, open] : s.devices)
            if (open->deviceId == deviceId) return MMSYSERR_ALLOCATED;
        if (deviceId == 0 && s.source) {
            device.source = s.source;
            device.pace = s.pace;
        }
        // Registered at once, so that a second open meanwhile finds the device taken.
        number = s.nextHandle++;
        s.devices.emplace(number, std::move(created));
    }
    if (!device.source) {
        const MMRESULT result = OpenSoundCard(device, number);
        if (result != MMSYSERR_NOERROR) {
            std::lock_guard lock(s.mutex);
            s.devices.erase(number);
            return result;
        }
    } else if (device.pace == winmmtest::Pace::RealTime) {
        device.clock = std::thread(RunSampleClock, &device);
    }
    if (device.event) SetEvent(device.event);
    *waveIn = reinterpret_cast<HWAVEIN>(number);
    return MMSYSERR_NOERROR;
}

MMRESULT waveInPrepareHeader(HWAVEIN waveIn, WAVEHDR* header, UINT size) {
    Observe(WaveInCall::Prepare, waveIn, header);
    std::lock_guard lock(State().mutex);
    if (!Find(waveIn)) return MMSYSERR_INVALHANDLE;
    if (!header || size < sizeof(WAVEHDR) || !header->lpData) return MMSYSERR_INVALPARAM;
    if (Flags(header) & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
    ChangeFlags(header, WHDR_PREPARED, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT waveInUnprepareHeader(HWAVEIN waveIn, WAVEHDR* header, UINT size) {
    Observe(WaveInCall::Unprepare, waveIn, header);
    std::lock_guard lock(State().mutex);
    if (!Find(waveIn)) return MMSYSERR_INVALHANDLE;
    if (!header || size < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
    if (Flags(header) & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
    ChangeFlags(header, 0, WHDR_PREPARED);
    return MMSYSERR_NOERROR;
}

MMRESULT waveInAddBuffer(HWAVEIN waveIn, WAVEHDR* header, UINT size) {
    Observe(WaveInCall::AddBuffer, waveIn, header);
    std::lock_guard lock(State().mutex);
    OpenDevice* device = Find(waveIn);
    if (!device) return MMSYSERR_INVALHANDLE;
    if (!header || size < sizeof(WAVEHDR) || !header->lpData || header->dwBufferLength == 0) return MMSYSERR_INVALPARAM;
    const DWORD flags = Flags(header);
    if (!(flags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
    if (flags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
    header->dwBytesRecorded = 0;
    ChangeFlags(header, WHDR_INQUEUE, WHDR_DONE);
    device->queue.push_back(header);
    return MMSYSERR_NOERROR;
}

MMRESULT waveInStart(HWAVEIN waveIn) {
    Observe(WaveInCall::Start, waveIn, nullptr);
    {
        std::lock_guard lock(State().mutex);
        OpenDevice* device = Find(waveIn);
        if (!device) return MMSYSERR_INVALHANDLE;
        device->started = true;
    }
    PauseSoundCard(waveIn, 0);
    return MMSYSERR_NOERROR;
}

// Stops recording: with `everyHeader` every queued header is returned in order, otherwise
// only one that holds part of a recording, with what it has.
static MMRESULT Halt(HWAVEIN waveIn, WaveInCall call, bool everyHeader) {
    Observe(call, waveIn, nullptr);
    {
        std::lock_guard lock(State().mutex);
        OpenDevice* device = Find(waveIn);
        if (!device) return MMSYSERR_INVALHANDLE;
        device->started = false;
        if (everyHeader) {
            while (!device->queue.empty()) CompleteOldest(*device);
        } else if (!device->queue.empty() && device->queue.front()->dwBytesRecorded > 0) {
            CompleteOldest(*device);
        }
    }
    PauseSoundCard(waveIn, 1);
    return MMSYSERR_NOERROR;
}

// Stops recording; a header that holds part of a recording is returned with what it has.
MMRESULT waveInStop(HWAVEIN waveIn) { return Halt(waveIn, WaveInCall::Stop, false); }

// Stops recording and returns every queued header, in order.
MMRESULT waveInReset(HWAVEIN waveIn) { return Halt(waveIn, WaveInCall::Reset, true); }

// Fails while the device records into queued headers. A stopped device closes, and returns
// the headers still queued as Reset does: those a recording thread put back between the
// program's reset and its close, which it may do the moment the reset wakes it. Refusing
// the close then, as the platform does, would leave the device open for good.
MMRESULT waveInClose(HWAVEIN waveIn) {
    Observe(WaveInCall::Close, waveIn, nullptr);
    std::unique_ptr<OpenDevice> device;
    {
        WaveInState& s = State();
        std::lock_guard lock(s.mutex);
        auto it = s.devices.find(HandleNumber(waveIn));
        if (it == s.devices.end()) return MMSYSERR_INVALHANDLE;
        if (it->second->started && !it->second->queue.empty()) return WAVERR_STILLPLAYING;
        device = std::move(it->second);
        s.devices.erase(it);
        while (!device->queue.empty()) CompleteOldest(*device);
        device->clockStop = true;
        device->clockWake.notify_all();
    }
    if (device->clock.joinable()) device->clock.join();
    device->pulse.reset();
    if (device->sdl) SDL_CloseAudioDevice(device->sdl);
    if (device->audioHeld) winmm_internal::ReleaseSdlAudio();
    if (device->lockFd >= 0) close(device->lockFd);
    if (device->event) SetEvent(device->event);
    return MMSYSERR_NOERROR;
}

MMRESULT waveInGetErrorTextA(MMRESULT error, LPSTR text, UINT size) {
    if (!text || size == 0) return MMSYSERR_INVALPARAM;
    const char* message = ErrorText(error);
    const std::size_t n = message ? std::min<std::size_t>(std::strlen(message), size - 1) : 0;
    if (message) std::memcpy(text, message, n);
    text[n] = '\0';
    return message ? MMSYSERR_NOERROR : MMSYSERR_BADERRNUM;
}

// The lock file that marks a sound card's device as taken, also for other processes.
namespace winmmtest {

std::string DeviceLockPath(UINT deviceId) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder = runtime && *runtime ? runtime : "/tmp";
    return folder + "/winmm-wavein" + std::to_string(deviceId) + "-" + std::to_string(getuid()) + ".lock";
}

}  // namespace winmmtest
