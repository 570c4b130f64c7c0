// The MCI sequencer: opening, playing, stopping and closing tunes through FluidSynth into a
// private PulseAudio server, the completion notices, and the files it must refuse.
#include <gtest/gtest.h>

#include <unistd.h>

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

TEST_F(Sequencer, RefusesFilesItCannotPlayAndMalformedRequests) {
    EXPECT_EQ(Open("no-such-tune.mid"), MCIERR_FILE_NOT_FOUND);
    const std::string text = (folder / "notes.mid").string();
    std::ofstream(text) << "This is not a tune at all, only words.";
    EXPECT_EQ(Open(text.c_str()), MCIERR_INVALID_FILE);
    EXPECT_EQ(Open(TinyTunePath().c_str(), nullptr, "waveaudio"), MCIERR_INVALID_DEVICE_NAME);
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
    }
}

// One notice when a tune ends. An unfinished play tells why its notice will not come:
// superseded by the next play, or closed.
// Names are found in the installation folder whatever their case; ids are never given out twice.
TEST_F(SequencerWithSound, NotifiesWhyEachPlayEndedAndGivesEveryDeviceItsOwnId) {
    MCIDEVICEID id = 0, tiny = 0;
    ASSERT_EQ(Open(TinyTunePath().c_str(), &tiny), 0u);
    ASSERT_EQ(Send(tiny, MCI_PLAY, MCI_NOTIFY, hwnd), 0u);
    ASSERT_TRUE(WaitForNotices(1)) << "the one-second tune never ended";
    EXPECT_EQ(notices[0].hwnd, hwnd);
    EXPECT_EQ(notices[0].wParam, MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(notices[0].lParam, static_cast<LPARAM>(tiny));
    ASSERT_EQ(Open("DEMO.MID", &id), 0u);
    EXPECT_NE(id, tiny);
    ASSERT_EQ(Send(id, MCI_PLAY, MCI_NOTIFY, hwnd), 0u);
    ASSERT_EQ(Send(id, MCI_PLAY, MCI_NOTIFY, hwnd), 0u);
    ASSERT_EQ(Send(id, MCI_CLOSE), 0u);
    EXPECT_EQ(Send(tiny, MCI_CLOSE), 0u);
    EXPECT_EQ(Send(tiny, MCI_PLAY), MCIERR_INVALID_DEVICE_ID);
    ASSERT_TRUE(WaitForNotices(3, 5s));
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[1].wParam, MCI_NOTIFY_SUPERSEDED);
    EXPECT_EQ(notices[2].wParam, MCI_NOTIFY_ABORTED);   // the close
    for (int i = 1; i < 3; ++i) EXPECT_EQ(notices[i].lParam, static_cast<LPARAM>(id));
    MCIDEVICEID next = 0;
    ASSERT_EQ(Open("demo.mid", &next), 0u);
    EXPECT_TRUE(next != id && next != tiny) << "a closed id was given out again";
    EXPECT_EQ(Send(next, MCI_CLOSE), 0u);
}

// Well-formed real-world files of many kinds open and play; broken ones are refused.
TEST_F(SequencerWithSound, CorpusTunesPlayOrAreRefusedCleanly) {
    SKIP_WITHOUT_CORPUS();
    for (const char* name : {"test-2-tracks-type-1.mid", "test-2-tracks-type-2.mid", "test-karaoke-kar.mid",
                             "test-vlq-4-byte.mid", "test-smpte-offset.mid", "test-empty.mid"}) {
        SCOPED_TRACE(name);
        MCIDEVICEID id = 0;
        ASSERT_EQ(Open((kCorpus + name).c_str(), &id), 0u);
        EXPECT_EQ(Send(id, MCI_PLAY, MCI_NOTIFY, hwnd), 0u);
        EXPECT_EQ(Send(id, MCI_CLOSE), 0u);
    }
    ASSERT_TRUE(WaitForNotices(6, 10s));
    for (const MSG& m : notices) EXPECT_EQ(m.wParam, MCI_NOTIFY_ABORTED);

    for (const char* name : {"test-not-a-midi-file.mid", "test-corrupt-file-missing-byte.mid"})
        EXPECT_EQ(Open((kCorpus + name).c_str()), MCIERR_INVALID_FILE) << name;
}

}  // namespace
