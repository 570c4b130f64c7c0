// The MCI sequencer: opening, playing, stopping and closing real tunes through FluidSynth
// into a private PulseAudio server, the completion notices, and the files it must refuse.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/fs/fs.h"
#include "platform/winmm/winmm.h"
#include "tests/platform/win32_fixture.h"
#include "tests/support/pulse_server.h"
#include "tests/support/tiny_midi.h"
#include "tests/support/wait.h"

namespace {

using namespace std::chrono_literals;

const std::string kCorpus = std::string(VLX_CORPUS_DIR) + "/midi/";

#define SKIP_WITHOUT_CORPUS()                                                                   \
    if (!std::filesystem::is_directory(kCorpus)) GTEST_SKIP() << "no MIDI corpus at " << kCorpus

MCIERROR Open(const char* file, MCIDEVICEID* id = nullptr, const char* type = "sequencer") {
    MCI_OPEN_PARMSA open;
    open.lpstrDeviceType = type;
    open.lpstrElementName = file;
    const MCIERROR error =
        mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open));
    if (id) *id = open.wDeviceID;
    return error;
}

MCIERROR Send(MCIDEVICEID id, UINT command, DWORD flags = 0, HWND window = nullptr) {
    MCI_PLAY_PARMS params;
    params.dwCallback = reinterpret_cast<DWORD_PTR>(window);
    return mciSendCommandA(id, command, flags, reinterpret_cast<DWORD_PTR>(&params));
}

// A window that collects completion notices, and a folder of the test's own.
class Sequencer : public HeadlessWindow {
protected:
    void SetUp() override {
        HeadlessWindow::SetUp();
        folder = std::filesystem::temp_directory_path() / ("vlx-mci-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        fs::SetInstallationFolder(VLX_INSTALL_DIR);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string TinyTunePath() {
        const std::string path = (folder / "tiny.mid").string();
        vlx_test::WriteTinyTune(path);
        return path;
    }

    // Dispatches what waits and keeps the completion notices.
    void Pump() {
        for (const MSG& m : Drain())
            if (m.message == MM_MCINOTIFY) notices.push_back(m);
    }
    // Pumps until `count` notices have come, or `timeout` has passed.
    bool WaitForNotices(std::size_t count, std::chrono::milliseconds timeout = 30s) {
        return vlx_test::WaitUntil(
            [&] {
                Pump();
                return notices.size() >= count;
            },
            timeout);
    }

    std::filesystem::path folder;
    std::vector<MSG> notices;
};

class SequencerWithSound : public Sequencer {
protected:
    void SetUp() override {
        Sequencer::SetUp();
        server = std::make_unique<vlx_test::PulseServer>();
        server->UseInThisProcess();
    }
    std::unique_ptr<vlx_test::PulseServer> server;
};

// ---- What cannot be opened -------------------------------------------------------------

TEST_F(Sequencer, RefusesFilesItCannotPlayAndMalformedRequests) {
    EXPECT_EQ(Open("no-such-tune.mid"), MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(Open(folder.c_str()), MCIERR_FILE_NOT_FOUND);

    const std::string text = (folder / "notes.mid").string();
    std::ofstream(text) << "This is not a tune at all, only words.";
    EXPECT_EQ(Open(text.c_str()), MCIERR_INVALID_FILE);
    const std::string empty = (folder / "empty.mid").string();
    std::ofstream{empty};
    EXPECT_EQ(Open(empty.c_str()), MCIERR_INVALID_FILE);
    // A header that promises a track the file does not hold.
    std::vector<std::uint8_t> cut = vlx_test::TinyTune();
    cut.resize(cut.size() - 10);
    const std::string truncated = (folder / "cut.mid").string();
    std::ofstream(truncated, std::ios::binary).write(reinterpret_cast<const char*>(cut.data()), static_cast<std::streamsize>(cut.size()));
    EXPECT_EQ(Open(truncated.c_str()), MCIERR_INVALID_FILE);

    const std::string tune = TinyTunePath();
    EXPECT_EQ(Open(tune.c_str(), nullptr, "waveaudio"), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, 0), MCIERR_NULL_PARAMETER_BLOCK);
    MCI_OPEN_PARMSA noElement;
    noElement.lpstrDeviceType = "sequencer";
    EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE, reinterpret_cast<DWORD_PTR>(&noElement)),
              MCIERR_MISSING_PARAMETER);
    for (UINT command : {MCI_PLAY, MCI_STOP, MCI_CLOSE}) EXPECT_EQ(Send(0, command), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(Send(77, MCI_PLAY), MCIERR_INVALID_DEVICE_ID);
    EXPECT_EQ(mciSendCommandA(0, 0x0899, 0, 0), MCIERR_UNRECOGNIZED_COMMAND);
}

// No sound server, or a sound system without any device: the device cannot open, and says so
// at once, every time.
TEST_F(Sequencer, WithoutSoundOutputOpeningFailsCleanly) {
    using Kind = vlx_test::NoSoundOutput::Kind;
    for (Kind kind : {Kind::NoServer, Kind::NoCard}) {
        SCOPED_TRACE(kind == Kind::NoServer ? "no sound server" : "no sound card");
        vlx_test::NoSoundOutput nothing(kind);
        nothing.UseInThisProcess();
        const std::string tune = TinyTunePath();
        MCIDEVICEID id = 0;
        EXPECT_EQ(Open(tune.c_str(), &id), MCIERR_CANNOT_LOAD_DRIVER);
        EXPECT_EQ(id, 0u);
        EXPECT_EQ(Open(tune.c_str()), MCIERR_CANNOT_LOAD_DRIVER);
        if (kind == Kind::NoServer) {
            EXPECT_EQ(Open("no-such-tune.mid"), MCIERR_FILE_NOT_FOUND);
        }
    }
}

// ---- Playing -----------------------------------------------------------------------------

TEST_F(SequencerWithSound, OpensPlaysStopsAndClosesTheDemoTune) {
    MCIDEVICEID id = 0;
    // Found in the installation folder, whatever the case of its name.
    ASSERT_EQ(Open("DEMO.MID", &id), 0u);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(Send(id, MCI_PLAY), 0u);
    EXPECT_EQ(Send(id, MCI_STOP), 0u);
    EXPECT_EQ(Send(id, MCI_PLAY), 0u);   // resumes
    EXPECT_EQ(Send(id, MCI_CLOSE), 0u);
    for (UINT command : {MCI_PLAY, MCI_STOP, MCI_CLOSE}) EXPECT_EQ(Send(id, command), MCIERR_INVALID_DEVICE_ID);

    // Two devices at once, each with an id of its own; a closed id is not given out again.
    MCIDEVICEID first = 0, second = 0;
    ASSERT_EQ(Open("demo.mid", &first), 0u);
    ASSERT_EQ(Open(TinyTunePath().c_str(), &second), 0u);
    EXPECT_NE(first, second);
    EXPECT_NE(first, id);
    EXPECT_EQ(Send(first, MCI_PLAY), 0u);
    EXPECT_EQ(Send(second, MCI_PLAY), 0u);
    EXPECT_EQ(Send(first, MCI_CLOSE), 0u);
    EXPECT_EQ(Send(second, MCI_STOP), 0u);
    EXPECT_EQ(Send(second, MCI_CLOSE), 0u);
    Pump();
    EXPECT_TRUE(notices.empty());   // nobody asked for one
}

// One notice when the tune ends; a finished tune plays again from the start, and MCI_WAIT
// returns only at its end.
TEST_F(SequencerWithSound, NotifiesTheWindowOnceWhenTheTuneEndsAndPlaysItAgain) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(Open(TinyTunePath().c_str(), &id), 0u);
    ASSERT_EQ(Send(id, MCI_PLAY, MCI_NOTIFY, hwnd), 0u);
    ASSERT_TRUE(WaitForNotices(1)) << "the one-second tune never ended";
    EXPECT_EQ(notices[0].hwnd, hwnd);
    EXPECT_EQ(notices[0].wParam, MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(notices[0].lParam, static_cast<LPARAM>(id));
    ASSERT_EQ(Send(id, MCI_PLAY, MCI_WAIT), 0u);
    ASSERT_EQ(Send(id, MCI_PLAY, MCI_NOTIFY, hwnd), 0u);
    ASSERT_TRUE(WaitForNotices(2)) << "the third play never ended";
    EXPECT_EQ(notices[1].wParam, MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(Send(id, MCI_CLOSE), 0u);
    Pump();
    EXPECT_EQ(notices.size(), 2u);
}

TEST_F(SequencerWithSound, AnUnfinishedPlayTellsWhyItsNoticeWillNotCome) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(Open("demo.mid", &id), 0u);
    ASSERT_EQ(Send(id, MCI_PLAY, MCI_NOTIFY, hwnd), 0u);
    ASSERT_EQ(Send(id, MCI_PLAY, MCI_NOTIFY, hwnd), 0u);
    ASSERT_EQ(Send(id, MCI_STOP), 0u);
    ASSERT_EQ(Send(id, MCI_PLAY, MCI_NOTIFY, hwnd), 0u);
    ASSERT_EQ(Send(id, MCI_CLOSE), 0u);
    ASSERT_TRUE(WaitForNotices(3, 5s));
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].wParam, MCI_NOTIFY_SUPERSEDED);
    EXPECT_EQ(notices[1].wParam, MCI_NOTIFY_ABORTED);   // the stop
    EXPECT_EQ(notices[2].wParam, MCI_NOTIFY_ABORTED);   // the close
    for (const MSG& m : notices) EXPECT_EQ(m.lParam, static_cast<LPARAM>(id));
}

// ---- The sound itself --------------------------------------------------------------------

// Share of the energy between 22 Hz and 1690 Hz that lies in [low, high] Hz.
double BandShare(const std::vector<std::int16_t>& samples, int rate, double low, double high) {
    double band = 0, total = 0;
    const std::size_t window = static_cast<std::size_t>(rate) / 4;
    for (std::size_t start = 0; start + window <= samples.size(); start += window)
        for (int hertz = 22; hertz <= 1690; hertz += 8) {
            // Goertzel: the power of one frequency over the window.
            const double coefficient = 2 * std::cos(2 * M_PI * hertz / rate);
            double s1 = 0, s2 = 0;
            for (std::size_t i = 0; i < window; ++i) {
                const double s0 = samples[start + i] + coefficient * s1 - s2;
                s2 = s1;
                s1 = s0;
            }
            const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
            total += power;
            if (hertz >= low && hertz <= high) band += power;
        }
    return total > 0 ? band / total : 0;
}

int Peak(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

// The demo tune reaches the loudspeaker — here the null sink, recorded through its monitor —
// with its bass, chords and vibraphone in the show's red, green and blue bands; closing
// the device silences it.
TEST_F(SequencerWithSound, TheDemoTuneReachesTheSoundOutput) {
    constexpr int kRate = 22050;
    ASSERT_LT(Peak(server->Record("testsink.monitor", 300ms, kRate)), 8) << "the sink is not silent to begin with";

    MCIDEVICEID id = 0;
    ASSERT_EQ(Open("demo.mid", &id), 0u);
    ASSERT_EQ(Send(id, MCI_PLAY), 0u);
    const std::vector<std::int16_t> music = server->Record("testsink.monitor", 2000ms, kRate);
    ASSERT_GT(music.size(), static_cast<std::size_t>(kRate));
    EXPECT_GT(Peak(music), 1000);
    EXPECT_GT(BandShare(music, kRate, 22, 334), 0.02) << "no bass";
    EXPECT_GT(BandShare(music, kRate, 345, 775), 0.02) << "no chords";
    EXPECT_GT(BandShare(music, kRate, 786, 1690), 0.02) << "no vibraphone";

    EXPECT_EQ(Send(id, MCI_CLOSE), 0u);
    // What the server had buffered plays out first.
    EXPECT_TRUE(vlx_test::WaitUntil([&] { return Peak(server->Record("testsink.monitor", 300ms, kRate)) < 8; }, 10s))
        << "still sounding after the close";
}

// The sequencer and wave input share the sound system: closing the one leaves the other recording.
TEST_F(SequencerWithSound, ClosingTheSequencerLeavesWaveInputRecording) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(Open("demo.mid", &id), 0u);
    ASSERT_EQ(Send(id, MCI_PLAY), 0u);

    const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 11025, 22050, 2, 16, 0};
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HWAVEIN wave = nullptr;
    ASSERT_EQ(waveInOpen(&wave, 0, &format, reinterpret_cast<DWORD_PTR>(event), 0, CALLBACK_EVENT), MMSYSERR_NOERROR);
    constexpr int kRing = 8;
    std::vector<char> memory(kRing * 512);
    WAVEHDR headers[kRing];
    for (int i = 0; i < kRing; ++i) {
        headers[i].lpData = memory.data() + i * 512;
        headers[i].dwBufferLength = 512;
        ASSERT_EQ(waveInPrepareHeader(wave, &headers[i], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
        ASSERT_EQ(waveInAddBuffer(wave, &headers[i], sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    }
    ASSERT_EQ(waveInStart(wave), MMSYSERR_NOERROR);
    // Takes `count` completed buffers in ring order, putting each straight back.
    int next = 0;
    auto recorded = [&](int count) {
        return vlx_test::WaitUntil(
            [&] {
                WaitForSingleObject(event, 50);
                while (count > 0 && (std::atomic_ref<DWORD>(headers[next].dwFlags).load() & WHDR_DONE)) {
                    if (waveInAddBuffer(wave, &headers[next], sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
                    next = (next + 1) % kRing;
                    --count;
                }
                return count == 0;
            },
            10s);
    };
    ASSERT_TRUE(recorded(4));

    EXPECT_EQ(Send(id, MCI_CLOSE), 0u);
    EXPECT_TRUE(recorded(20)) << "recording ended with the sequencer";
    ASSERT_EQ(waveInReset(wave), MMSYSERR_NOERROR);
    ASSERT_EQ(waveInClose(wave), MMSYSERR_NOERROR);
    CloseHandle(event);
}

// ---- Real-world files --------------------------------------------------------------------

// Real-world files: well-formed ones of many kinds open and play; broken or odd ones either
// fail to open with MCIERR_INVALID_FILE or play to their end like any other tune, and none
// hangs the player. FluidSynth reads neither running status carried across meta or system
// exclusive events nor chunks of unknown kinds, so those files may be refused as well.
TEST_F(SequencerWithSound, CorpusTunesPlayOrAreRefusedCleanly) {
    SKIP_WITHOUT_CORPUS();
    for (const char* name : {"test-c-major-scale.mid", "test-2-tracks-type-1.mid", "test-2-tracks-type-2.mid",
                             "test-karaoke-kar.mid", "test-all-gm-sounds.mid", "test-vlq-4-byte.mid",
                             "test-smpte-offset.mid", "test-empty.mid", "music21-test10.mid", "childrens_corner_2.mid"}) {
        SCOPED_TRACE(name);
        MCIDEVICEID id = 0;
        ASSERT_EQ(Open((kCorpus + name).c_str(), &id), 0u);
        EXPECT_EQ(Send(id, MCI_PLAY, MCI_NOTIFY, hwnd), 0u);
        EXPECT_EQ(Send(id, MCI_CLOSE), 0u);
    }
    ASSERT_TRUE(WaitForNotices(10, 10s));
    for (const MSG& m : notices) EXPECT_EQ(m.wParam, MCI_NOTIFY_ABORTED);

    const std::pair<const char*, bool> odd[] = {   // the name, and whether it must be refused
        {"test-empty-file.mid", true},           {"test-not-a-midi-file.mid", true},
        {"test-corrupt-file-missing-byte.mid", true}, {"test-corrupt-file-extra-byte.mid", false},
        {"test-illegal-message-all.mid", false},  {"test-non-midi-track.mid", false},
        {"test-running-status-metaevent.mid", false}};
    for (const auto& [name, refused] : odd) {
        SCOPED_TRACE(name);
        notices.clear();
        MCIDEVICEID id = 0;
        const MCIERROR error = Open((kCorpus + name).c_str(), &id);
        if (refused || error != 0) {
            EXPECT_EQ(error, MCIERR_INVALID_FILE);
            continue;
        }
        ASSERT_EQ(Send(id, MCI_PLAY, MCI_NOTIFY, hwnd), 0u);
        ASSERT_TRUE(WaitForNotices(1, 60s)) << "never ended";
        EXPECT_EQ(notices[0].wParam, MCI_NOTIFY_SUCCESSFUL);
        EXPECT_EQ(Send(id, MCI_CLOSE), 0u);
    }
}

}  // namespace
