// The MIDI demo player: real tunes through the real sequencer into a private PulseAudio
// server, message boxes recorded.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/fs/fs.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_test.h"
#include "sound/midi.h"
#include "tests/support/pulse_server.h"

namespace {

// A window for the box, an empty installation folder and working directory of the test's own.
class MidiDemo : public ::testing::Test {
protected:
    void SetUp() override {
        win32test::EnableNoWindowSystem();
        win32test::EnableRecordedInteraction();
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "MidiTestClass";
        ASSERT_NE(RegisterClassExA(&wc), 0);
        box = CreateWindowExA(0, "MidiTestClass", "Music", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(box, nullptr);
        folder = std::filesystem::temp_directory_path() / ("vlx-midi-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder / "install");
        std::filesystem::current_path(folder);
        fs::SetInstallationFolder((folder / "install").string());
    }
    void TearDown() override {
        StopMidi();
        std::filesystem::current_path("/");
        std::filesystem::remove_all(folder);
    }

    void StartSound() {
        server = std::make_unique<vlx_test::PulseServer>();
        server->UseInThisProcess();
    }
    // The staged installation, with the generated demo tune.
    void UseStagedInstallation() { fs::SetInstallationFolder(VLX_INSTALL_DIR); }

    bool DeviceOpen(MCIDEVICEID id) { return mciSendCommandA(id, MCI_STOP, 0, 0) == 0; }

    HWND box = nullptr;
    std::filesystem::path folder;
    std::unique_ptr<vlx_test::PulseServer> server;
};

// Without a tune nothing plays. Each play opens a new sequencer and closes the one before; a
// stop closes it.
TEST_F(MidiDemo, EachPlayReplacesTheDeviceAndAStopClosesIt) {
    StartSound();
    EXPECT_FALSE(PlayMidi(box, kDemoTune));
    EXPECT_EQ(midiPlaying, 0);
    EXPECT_EQ(midiOpen.wDeviceID, 0u);

    UseStagedInstallation();
    ASSERT_TRUE(PlayMidi(box, kDemoTune));
    const MCIDEVICEID first = midiOpen.wDeviceID;
    EXPECT_NE(first, 0u);
    EXPECT_STREQ(midiOpen.lpstrDeviceType, "sequencer");
    ASSERT_TRUE(DeviceOpen(first));
    StopMidi();
    EXPECT_EQ(midiPlaying, 0);
    EXPECT_FALSE(DeviceOpen(first));

    ASSERT_TRUE(PlayMidi(box, kDemoTune));
    const MCIDEVICEID second = midiOpen.wDeviceID;
    ASSERT_TRUE(PlayMidi(box, kDemoTune));
    EXPECT_EQ(midiPlaying, 1);
    EXPECT_NE(midiOpen.wDeviceID, second);
    EXPECT_FALSE(DeviceOpen(second));
    // The box's Start does the same, quietly.
    const MCIDEVICEID third = midiOpen.wDeviceID;
    StartMidiDemo(box);
    EXPECT_EQ(midiPlaying, 1);
    EXPECT_FALSE(DeviceOpen(third));
    EXPECT_TRUE(win32test::RecordedMessageBoxes().empty());

    // A tune that cannot play after one that did: the old device is closed all the same.
    const MCIDEVICEID fourth = midiOpen.wDeviceID;
    std::ofstream("words.mid") << "no tune in here";
    EXPECT_FALSE(PlayMidi(box, "words.mid"));
    EXPECT_EQ(midiPlaying, 0);
    EXPECT_EQ(midiOpen.wDeviceID, 0u);
    EXPECT_FALSE(DeviceOpen(fourth));
}

TEST_F(MidiDemo, StartTellsTheUserWhenTheDemoCannotPlay) {
    vlx_test::NoSoundOutput nothing;
    nothing.UseInThisProcess();
    UseStagedInstallation();
    EXPECT_FALSE(PlayMidi(box, kDemoTune));
    EXPECT_EQ(midiPlaying, 0);

    StartMidiDemo(box);
    EXPECT_EQ(midiPlaying, 0);
    ASSERT_EQ(win32test::RecordedMessageBoxes().size(), 1u);
    const win32test::RecordedMessageBox& shown = win32test::RecordedMessageBoxes()[0];
    EXPECT_EQ(shown.text, "MIDI device not run.");
    EXPECT_EQ(shown.caption, "Virelux Report");
    EXPECT_EQ(shown.owner, box);
    EXPECT_EQ(shown.type, static_cast<UINT>(MB_OK));
}

}  // namespace
