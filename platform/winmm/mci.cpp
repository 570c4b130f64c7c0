// The MCI sequencer over FluidSynth: each open device is a synthesiser with a General MIDI
// sound font, a MIDI file player and its own SDL2 sound output. The player runs on the
// audio thread; a watcher thread per device notices the end of a tune and posts the
// completion notice to the window that asked for it.
// Implements: mciSendCommandA with MCI_OPEN (device type "sequencer", MCI_OPEN_ELEMENT),
// MCI_PLAY, MCI_STOP and MCI_CLOSE, each with MCI_NOTIFY; MCI_PLAY also with MCI_WAIT.
// Leaves out: every other command (MCIERR_UNRECOGNIZED_COMMAND), MCI_PLAY's MCI_FROM and
// MCI_TO (playing resumes where it stopped), and device types other than the sequencer.
#include <fluidsynth.h>

#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/fs/fs.h"
#include "platform/winmm/sdl_audio.h"
#include "platform/winmm/winmm.h"

namespace {

// Debian's General MIDI fonts, the small one first (it loads in a tenth of a second).
const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

// How often the watcher looks at a playing tune.
constexpr std::chrono::milliseconds kWatchPeriod(20);

bool EqualsNoCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
    return *a == *b;
}

void PostNotice(HWND window, WPARAM code, MCIDEVICEID device) {
    if (window) PostMessageA(window, MM_MCINOTIFY, code, static_cast<LPARAM>(device));
}

// The notice that a command itself completed (MCI_NOTIFY on open, stop or close).
void NotifyCompleted(DWORD_PTR flags, DWORD_PTR params, MCIDEVICEID device) {
    if ((flags & MCI_NOTIFY) && params)
        PostNotice(reinterpret_cast<HWND>(reinterpret_cast<MCI_GENERIC_PARMS*>(params)->dwCallback),
                   MCI_NOTIFY_SUCCESSFUL, device);
}

// FluidSynth reports through its log; the caller learns what failed from the MCI error.
void QuietFluidSynth() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
    });
}

// FluidSynth reads a tune only once its player starts, on the audio thread, and then
// silently skips a file it cannot read. So the tune is tried here first on a player of a
// silent synthesiser of its own: its first block of sound loads the file, and a player that
// is done at once could not read it.
bool FluidSynthCanPlay(const std::vector<char>& tune) {
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return false;
    fluid_settings_setint(settings, "synth.polyphony", 16);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_player_t* player = synth ? new_fluid_player(synth) : nullptr;
    bool ok = false;
    if (player && fluid_player_add_mem(player, tune.data(), tune.size()) == FLUID_OK &&
        fluid_player_play(player) == FLUID_OK) {
        float left[256], right[256];
        fluid_synth_write_float(synth, 256, left, 0, 1, right, 0, 1);
        ok = fluid_player_get_status(player) == FLUID_PLAYER_PLAYING;
    }
    if (player) delete_fluid_player(player);
    if (synth) delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return ok;
}

class Sequencer {
public:
    explicit Sequencer(MCIDEVICEID id) : id_(id) {}
    ~Sequencer() { Release(); }

    MCIERROR Open(const std::vector<char>& tune) {
        if (!winmm_internal::AcquireSdlAudio()) return MCIERR_CANNOT_LOAD_DRIVER;
        audioStarted_ = true;
        settings_ = new_fluid_settings();
        if (!settings_) return MCIERR_CANNOT_LOAD_DRIVER;
        fluid_settings_setstr(settings_, "audio.driver", "sdl2");
        fluid_settings_setnum(settings_, "synth.gain", 0.4);
        // Only the instruments the tune selects are read from the font, not all of it (5 MB
        // less for the small General MIDI font). FIXME: an instrument's samples are read when
        // the tune first selects it, on the audio thread; from the page cache that is quick,
        // from a cold disk it could cost a period of sound.
        fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
        // FluidSynth makes every voice up front: its default of 256 holds 2 MB more than the
        // 64 that a General MIDI tune (at most 24 notes at once by that standard) ever needs.
        fluid_settings_setint(settings_, "synth.polyphony", 64);
        synth_ = new_fluid_synth(settings_);
        if (!synth_) return MCIERR_CANNOT_LOAD_DRIVER;
        bool fontLoaded = false;
        for (const char* font : kSoundFonts)
            if (std::filesystem::exists(font) && fluid_synth_sfload(synth_, font, 1) != FLUID_FAILED) {
                fontLoaded = true;
                break;
            }
        if (!fontLoaded) return MCIERR_CANNOT_LOAD_DRIVER;
        player_ = new_fluid_player(synth_);
        if (!player_ || fluid_player_add_mem(player_, tune.data(), tune.size()) != FLUID_OK) return MCIERR_INVALID_FILE;
        driver_ = new_fluid_audio_driver(settings_, synth_);
        if (!driver_) return MCIERR_CANNOT_LOAD_DRIVER;
        watcher_ = std::thread([this] { Watch(); });
        return 0;
    }

    MCIERROR Play(DWORD_PTR flags, const MCI_PLAY_PARMS* params) {
        if ((flags & MCI_NOTIFY) && !params) return MCIERR_NULL_PARAMETER_BLOCK;
        std::unique_lock<std::mutex> hold(lock_);
        if (noticeWindow_) PostNotice(std::exchange(noticeWindow_, nullptr), MCI_NOTIFY_SUPERSEDED, id_);
        // A stopped player resumes where it stopped; one that has finished starts again.
        if (fluid_player_play(player_) != FLUID_OK) return MCIERR_CANNOT_LOAD_DRIVER;
        playing_ = true;
        if (flags & MCI_NOTIFY) noticeWindow_ = reinterpret_cast<HWND>(params->dwCallback);
        changed_.notify_all();
        if (flags & MCI_WAIT) changed_.wait(hold, [this] { return !playing_; });
        return 0;
    }

    void Stop() {
        std::lock_guard<std::mutex> hold(lock_);
        if (noticeWindow_) PostNotice(std::exchange(noticeWindow_, nullptr), MCI_NOTIFY_ABORTED, id_);
        if (playing_) fluid_player_stop(player_);
        playing_ = false;
        changed_.notify_all();
    }

    // Stops the watcher, then the sound output, then frees the player and the synthesiser.
    void Release() {
        if (watcher_.joinable()) {
            Stop();
            {
                std::lock_guard<std::mutex> hold(lock_);
                closing_ = true;
                changed_.notify_all();
            }
            watcher_.join();
        }
        if (driver_) delete_fluid_audio_driver(driver_);
        if (player_) delete_fluid_player(player_);
        if (synth_) delete_fluid_synth(synth_);
        if (settings_) delete_fluid_settings(settings_);
        driver_ = nullptr;
        player_ = nullptr;
        synth_ = nullptr;
        settings_ = nullptr;
        if (audioStarted_) winmm_internal::ReleaseSdlAudio();
        audioStarted_ = false;
    }

private:
    void Watch() {
        std::unique_lock<std::mutex> hold(lock_);
        while (!closing_) {
            if (playing_) changed_.wait_for(hold, kWatchPeriod);
            else changed_.wait(hold);
            if (playing_ && fluid_player_get_status(player_) == FLUID_PLAYER_DONE) {
                playing_ = false;
                if (noticeWindow_) PostNotice(std::exchange(noticeWindow_, nullptr), MCI_NOTIFY_SUCCESSFUL, id_);
                changed_.notify_all();
            }
        }
    }

    const MCIDEVICEID id_;
    bool audioStarted_ = false;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;

    std::mutex lock_;                    // guards what follows, shared with the watcher
    std::condition_variable changed_;
    bool playing_ = false;               // started and not yet stopped or ended
    HWND noticeWindow_ = nullptr;        // waits for the end of the tune
    bool closing_ = false;
    std::thread watcher_;
};

// The open devices. Closed at exit at the latest, before the libraries go.
class Devices {
public:
    ~Devices() {
        std::map<MCIDEVICEID, std::unique_ptr<Sequencer>> left;
        {
            std::lock_guard<std::mutex> hold(lock_);
            left.swap(open_);
        }
        left.clear();
    }

    MCIDEVICEID Add(std::unique_ptr<Sequencer> sequencer, MCIDEVICEID id) {
        std::lock_guard<std::mutex> hold(lock_);
        open_[id] = std::move(sequencer);
        return id;
    }
    MCIDEVICEID NextId() {
        std::lock_guard<std::mutex> hold(lock_);
        return nextId_++;
    }
    Sequencer* Find(MCIDEVICEID id) {
        std::lock_guard<std::mutex> hold(lock_);
        auto it = open_.find(id);
        return it == open_.end() ? nullptr : it->second.get();
    }
    std::unique_ptr<Sequencer> Remove(MCIDEVICEID id) {
        std::lock_guard<std::mutex> hold(lock_);
        auto it = open_.find(id);
        if (it == open_.end()) return nullptr;
        std::unique_ptr<Sequencer> sequencer = std::move(it->second);
        open_.erase(it);
        return sequencer;
    }

private:
    std::mutex lock_;
    std::map<MCIDEVICEID, std::unique_ptr<Sequencer>> open_;
    MCIDEVICEID nextId_ = 1;   // never reused: a stale id cannot reach a newer device
};

Devices& OpenDevices() {
    static Devices devices;
    return devices;
}

bool ReadFile(const std::string& path, std::vector<char>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

MCIERROR Open(DWORD_PTR flags, MCI_OPEN_PARMSA* params) {
    if (!params) return MCIERR_NULL_PARAMETER_BLOCK;
    if ((flags & MCI_OPEN_TYPE) && (!params->lpstrDeviceType || !EqualsNoCase(params->lpstrDeviceType, "sequencer")))
        return MCIERR_INVALID_DEVICE_NAME;
    if (!(flags & MCI_OPEN_ELEMENT) || !params->lpstrElementName || !*params->lpstrElementName)
        return MCIERR_MISSING_PARAMETER;
    const std::optional<std::string> path = fs::Resolve(params->lpstrElementName);
    if (!path || std::filesystem::is_directory(*path)) return MCIERR_FILE_NOT_FOUND;
    std::vector<char> tune;
    if (!ReadFile(*path, tune)) return MCIERR_FILE_NOT_FOUND;
    QuietFluidSynth();
    if (tune.size() < 14 || std::memcmp(tune.data(), "MThd", 4) != 0 || !FluidSynthCanPlay(tune))
        return MCIERR_INVALID_FILE;

    const MCIDEVICEID id = OpenDevices().NextId();
    auto sequencer = std::make_unique<Sequencer>(id);
    if (const MCIERROR error = sequencer->Open(tune)) return error;
    OpenDevices().Add(std::move(sequencer), id);
    params->wDeviceID = id;
    NotifyCompleted(flags, reinterpret_cast<DWORD_PTR>(params), id);
    return 0;
}

}  // namespace

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params) {
    if (message == MCI_OPEN) return Open(flags, reinterpret_cast<MCI_OPEN_PARMSA*>(params));
    if (message != MCI_PLAY && message != MCI_STOP && message != MCI_CLOSE) return MCIERR_UNRECOGNIZED_COMMAND;
    if (message == MCI_CLOSE) {
        std::unique_ptr<Sequencer> sequencer = OpenDevices().Remove(device);
        if (!sequencer) return MCIERR_INVALID_DEVICE_ID;
        sequencer.reset();
        NotifyCompleted(flags, params, device);
        return 0;
    }
    Sequencer* sequencer = OpenDevices().Find(device);
    if (!sequencer) return MCIERR_INVALID_DEVICE_ID;
    if (message == MCI_PLAY) return sequencer->Play(flags, reinterpret_cast<const MCI_PLAY_PARMS*>(params));
    sequencer->Stop();
    NotifyCompleted(flags, params, device);
    return 0;
}
