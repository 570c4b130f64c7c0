// The sound on the lamps, as a user of the show meets it: the program records what a private
// PulseAudio server plays through its null sink and reports the lamp colours it presents
// (PLATFORM_DIAG_VALUES=1).
#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "tests/e2e/staged_program.h"
#include "tests/support/sound_probe.h"
#include "tests/support/wait.h"

namespace vlx_test {
namespace {

constexpr int kLoud = 64;    // a band this bright is lit by the music
constexpr int kQuiet = 16;   // a band no brighter than this is dark

class E2eSoundOnTheLamps : public StagedProgramTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StagedProgramTest::SetUp());
        StartDisplay();
    }

    std::unique_ptr<Process> StartShow() {
        std::unique_ptr<Process> program = StartProgram({{"PLATFORM_DIAG_VALUES", "1"}});
        XWindowId window = 0;
        WaitForFirstFrame(*program, &window);
        window_ = window;
        return program;
    }

    void CloseShow(Process& program) {
        x_->Close(window_);
        EXPECT_EQ(program.Wait(kPatience), ExitStatus::Exited(kCloseStatus)) << program.Stderr();
    }

    // Waits until capture runs and the colours have settled at rest: red 2, green 1, blue 1.
    void WaitForRest(Process& program);
    // Plays a 215 Hz tone (bin 20 of the analysis, in the low band) and waits until most of
    // the latest kWindow lamp frames after the frame `from` are red only (see MostlyRedOnly).
    // Returns the player.
    std::unique_ptr<Process> PlayLowToneUntilRed(Process& program, size_t from);

    XWindowId window_ = 0;
};

std::string Describe(const std::vector<LampFrame>& frames, size_t from) {
    std::ostringstream out;
    out << frames.size() - std::min(from, frames.size()) << " frames with new colours (red green blue):";
    for (size_t i = from; i < frames.size() && i < from + 40; ++i)
        out << " (" << frames[i].Red() << " " << frames[i].Green() << " " << frames[i].Blue() << ")";
    return out.str();
}

bool RedOnly(const LampFrame& f) { return f.Red() >= kLoud && f.Green() <= kQuiet && f.Blue() <= kQuiet; }

constexpr size_t kWindow = 40;   // lamp frames judged together, about a second of a steady tone

// More than half of frames [first, last) are red-only: a tone in the wrong band, or bands
// mixed up on the lamps, leaves next to none; a stall of the player on a loaded machine
// clicks, which lights every band for up to a second, and spoils fewer.
bool MostlyRedOnly(const std::vector<LampFrame>& frames, size_t first, size_t last) {
    const auto redOnly = std::count_if(frames.begin() + static_cast<std::ptrdiff_t>(first),
                                       frames.begin() + static_cast<std::ptrdiff_t>(last), RedOnly);
    return static_cast<size_t>(redOnly) * 2 > last - first;
}

void E2eSoundOnTheLamps::WaitForRest(Process& program) {
    const bool resting = WaitUntil(
        [&] {
            const std::vector<LampFrame> frames = ParseLampFrames(program.Stderr());
            return !frames.empty() && frames.back().lamp[0] == 0x00020100u && frames.back().lamp[1] == 0x00000101u;
        },
        kPatience);
    ASSERT_TRUE(resting) << Describe(ParseLampFrames(program.Stderr()), 0) << "\nstderr:\n" << program.Stderr();
}

std::unique_ptr<Process> E2eSoundOnTheLamps::PlayLowToneUntilRed(Process& program, size_t from) {
    const std::string wav = pulse_->Folder() + "/tone215.wav";
    // Long enough to outlast both checks on a slow machine; the player ends with the test.
    WriteToneWav(wav, 215.0, 20.0);
    ProcessOptions options;   // played into the test server's default sink
    options.setEnv = pulse_->ClientEnvironment();
    auto player = std::make_unique<Process>(std::vector<std::string>{"paplay", wav}, options);
    const bool settled = WaitUntil(
        [&] {
            const std::vector<LampFrame> frames = ParseLampFrames(program.Stderr());
            return frames.size() >= from + kWindow && MostlyRedOnly(frames, frames.size() - kWindow, frames.size());
        },
        kPatience);
    EXPECT_TRUE(settled) << Describe(ParseLampFrames(program.Stderr()), from) << "\nplayer: " << player->Stderr()
                         << "\nstderr:\n" << program.Stderr();
    return player;
}

// Every source of the sound server goes away during capture, as when a USB headset is
// unplugged, and a new one comes: the show records from the new default source by itself,
// where a low tone lights the first lamp red and leaves blue dark.
TEST_F(E2eSoundOnTheLamps, CaptureFollowsANewDefaultSourceWhereALowToneLightsRed) {
    // Without the demo tune the show starts all the same and listens to silence.
    ASSERT_NO_FATAL_FAILURE(StageInstallationWithout("demo.mid"));
    std::unique_ptr<Process> program = StartShow();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_NO_FATAL_FAILURE(WaitForRest(*program));

    // The sinks go too: their monitors are sources.
    for (const char* module : {"module-remap-source", "module-loopback", "module-null-sink"})
        ASSERT_EQ(pulse_->Pactl({"unload-module", module}), 0) << module;
    // The same set-up under new names, with the new source as the default.
    for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
             {"load-module", "module-null-sink", "sink_name=headset"},
             {"load-module", "module-null-sink", "sink_name=headsetdrain"},
             {"load-module", "module-loopback", "source=headset.monitor", "sink=headsetdrain", "latency_msec=10"},
             {"load-module", "module-remap-source", "master=headset.monitor", "source_name=headsetmic"},
             {"set-default-sink", "headset"},
             {"set-default-source", "headsetmic"},
             {"suspend-sink", "headset", "1"},
             {"suspend-sink", "headset", "0"}})
        ASSERT_EQ(pulse_->Pactl(command), 0) << command[0] << " " << command[1];

    const size_t before = ParseLampFrames(program->Stderr()).size();
    std::unique_ptr<Process> player = PlayLowToneUntilRed(*program, before);
    ASSERT_FALSE(HasFailure());
    // And so it stays while the tone goes on: judged over the next lamp frames together.
    const size_t from = ParseLampFrames(program->Stderr()).size();
    ASSERT_TRUE(WaitUntil([&] { return ParseLampFrames(program->Stderr()).size() >= from + 2 * kWindow; }, kPatience))
        << Describe(ParseLampFrames(program->Stderr()), from);
    const std::vector<LampFrame> frames = ParseLampFrames(program->Stderr());
    EXPECT_TRUE(MostlyRedOnly(frames, from, from + 2 * kWindow)) << Describe(frames, from);
    for (size_t i = from; i < frames.size(); ++i)
        EXPECT_EQ(frames[i].lamp[2], (frames[i].lamp[0] & 0xFF0000u) | (frames[i].lamp[1] & 0xFFu))
            << "the third lamp shows red and blue; frame " << i;
    CloseShow(*program);
}

// The show plays "demo.mid" on its own when it starts; its bass, middle voice and high voice
// come back through the sound server's capture source. Then the server goes away.
TEST_F(E2eSoundOnTheLamps, TheDemoTuneMovesAllThreeBandsAndTheShowOutlivesTheSoundServer) {
    std::unique_ptr<Process> program = StartProgram(
        {{"PLATFORM_DIAG_VALUES", "1"}, {"PLATFORM_DIAG_FRAMES", "1"}, {"PLATFORM_DIAG_FIRST_FRAME", "1"}});
    ASSERT_NO_FATAL_FAILURE(WaitForFirstFrame(*program, &window_));
    EXPECT_NE(program->Stderr().find("win32: first frame presented "), std::string::npos) << "it was asked for";

    // A band's colour only rises when louder sound arrives, and otherwise falls; a single
    // click rises once. The tune makes every band rise again and again.
    int peak[3] = {0, 0, 0}, rises[3] = {0, 0, 0};
    auto allMoved = [&] {
        const std::vector<LampFrame> frames = ParseLampFrames(program->Stderr());
        std::fill(peak, peak + 3, 0);
        std::fill(rises, rises + 3, 0);
        for (size_t i = 0; i < frames.size(); ++i)
            for (int b = 0; b < 3; ++b) {
                peak[b] = std::max(peak[b], frames[i].Band(b));
                rises[b] += i > 0 && frames[i].Band(b) > frames[i - 1].Band(b);
            }
        return std::all_of(peak, peak + 3, [](int p) { return p >= kLoud; }) &&
               std::all_of(rises, rises + 3, [](int r) { return r >= 10; });
    };
    EXPECT_TRUE(WaitUntil(allMoved, kPatience, std::chrono::milliseconds(100)))
        << "peaks red " << peak[0] << ", green " << peak[1] << ", blue " << peak[2] << "; rises " << rises[0] << ", "
        << rises[1] << ", " << rises[2] << "\n" << Describe(ParseLampFrames(program->Stderr()), 0);

    // The server ends while the show records from it and plays the demo through it.
    pulse_.reset();
    auto framesSoFar = [&] {
        const std::string text = program->Stderr();
        const size_t at = text.rfind("win32: ");
        return at == std::string::npos ? 0ull : std::strtoull(text.c_str() + at + 7, nullptr, 10);
    };
    const unsigned long long before = framesSoFar();
    // The show goes on drawing: more frames are presented (reported once a second).
    EXPECT_TRUE(WaitUntil([&] { return framesSoFar() >= before + 30; }, kPatience))
        << "frames stopped at " << before << "; stderr:\n" << program->Stderr();
    // And it ends normally: closing stops the capture without waiting on the lost device.
    CloseShow(*program);
}

}  // namespace
}  // namespace vlx_test
