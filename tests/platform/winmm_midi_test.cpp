// The MCI sequencer: opening, playing, stopping and closing tunes through FluidSynth into a
// private PulseAudio server, and the completion notices.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
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

MCIERROR Open(const char* file, MCIDEVICEID* id) {
    MCI_OPEN_PARMSA open;
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = file;
    const MCIERROR error =
        mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open));
    *id = open.wDeviceID;
    return error;
}

MCIERROR Send(MCIDEVICEID id, UINT command, DWORD flags = 0, HWND window = nullptr) {
    MCI_PLAY_PARMS params;
    params.dwCallback = reinterpret_cast<DWORD_PTR>(window);
    return mciSendCommandA(id, command, flags, reinterpret_cast<DWORD_PTR>(&params));
}

// A window that collects completion notices, a folder of the test's own and a private
// sound server.
class SequencerWithSound : public HeadlessWindow {
protected:
    void SetUp() override {
        HeadlessWindow::SetUp();
        folder = std::filesystem::temp_directory_path() / ("vlx-mci-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        fs::SetInstallationFolder(VLX_INSTALL_DIR);
        server = std::make_unique<vlx_test::PulseServer>();
        server->UseInThisProcess();
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
    std::unique_ptr<vlx_test::PulseServer> server;
};

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

}  // namespace
