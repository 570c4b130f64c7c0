// How long a sound takes to reach the screen: from an onset entering the capture source of a
// private PulseAudio server to the first presented frame in which the first lamp turns
// redder. The real program runs under a private Xvfb and reports the lamp colours it presents
// (PLATFORM_DIAG_VALUES=1); a player stream writes silence and, on request, a loud 215 Hz tone
// into the server's null sink, whose monitor is the default source the show records. Without
// sound a band's colour only holds or falls, so the first frame in which red rises shows the
// onset.
//
// The same measurement runs first on latency_reference, a minimal program that records the
// same source through SDL in the show's format and clears its window red with each block's
// loudness, presenting under the same pacing. Its median is the yardstick: the show's line
// reports it beside its own median ("reference_median_ms") and the difference
// ("over_reference_ms"), both from the same run.
//
// The onset enters the source when the sink plays it: the time its first sample was written
// plus the stream's latency at that moment, both on CLOCK_MONOTONIC, as the show's reports are.
// The reported time per iteration is that latency; "player_ms" is the part spent in the
// player's own buffer, which the show never sees.
#include <benchmark/benchmark.h>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/pulse_server.h"
#include "tests/support/sound_probe.h"
#include "tests/support/wait.h"
#include "tests/support/x_client.h"
#include "tests/support/xvfb_server.h"

namespace {

constexpr int kRate = 44100;
constexpr int kChunk = kRate / 200;   // 5 ms written at a time
constexpr int kDark = 20;             // red below this is back at rest

std::int64_t NowNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000ll + ts.tv_nsec;
}

// A playback stream that writes 5 ms chunks without pause: silence, or a tone from an onset
// asked for until it is silenced again.
class Player {
public:
    explicit Player(const std::string& server) {
        const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
        pa_buffer_attr attr;
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = kChunk * 2 * 2;   // two chunks queued: as little delay as writing allows
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        int error = 0;
        stream_ = pa_simple_new(server.c_str(), "bench_latency", PA_STREAM_PLAYBACK, nullptr, "onsets", &format, nullptr,
                                &attr, &error);
        if (!stream_) {
            failure_ = pa_strerror(error);
            return;
        }
        thread_ = std::thread([this] { Run(); });
    }
    ~Player() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (stream_) pa_simple_free(stream_);
    }
    const std::string& Failure() const { return failure_; }

    // Starts the tone with the next chunk; returns when the onset is in the stream, with the
    // time it enters the sink and the time it was written (both 0 when the stream is stuck).
    void Onset(std::int64_t* atSourceNs, std::int64_t* writtenNs) {
        onsetAtSource_ = 0;
        tone_ = true;
        vlx_test::WaitUntil([&] { return onsetAtSource_.load() != 0; }, std::chrono::milliseconds(2000),
                            std::chrono::milliseconds(1));
        *atSourceNs = onsetAtSource_;
        *writtenNs = onsetWritten_;
    }
    void Silence() { tone_ = false; }

private:
    void Run() {
        std::vector<std::int16_t> chunk(kChunk);
        long phase = 0;
        bool sounding = false;
        while (!stop_) {
            const bool tone = tone_;
            if (tone && !sounding) phase = 0;   // the onset starts the sine at zero
            for (int i = 0; i < kChunk; ++i, ++phase)
                chunk[static_cast<size_t>(i)] =
                    tone ? static_cast<std::int16_t>(20000 * std::sin(2 * M_PI * 215.0 * phase / kRate)) : 0;
            int error = 0;
            const std::int64_t before = NowNs();
            if (pa_simple_write(stream_, chunk.data(), chunk.size() * 2, &error) < 0) break;
            if (tone && !sounding) {
                // The latency now covers the chunk just written: its first sample plays that
                // long from now, less the chunk's own length.
                const pa_usec_t latency = pa_simple_get_latency(stream_, &error);
                const std::int64_t after = NowNs();
                onsetWritten_ = before;
                onsetAtSource_ = after + static_cast<std::int64_t>(latency) * 1000 - 5000000;
            }
            sounding = tone;
        }
    }

    pa_simple* stream_ = nullptr;
    std::string failure_;
    std::thread thread_;
    std::atomic<bool> stop_{false}, tone_{false};
    std::atomic<std::int64_t> onsetAtSource_{0}, onsetWritten_{0};
};

// The sound server, the display and the player stream, once for the whole run.
struct Servers {
    Servers() {
        try {
            pulse = std::make_unique<vlx_test::PulseServer>();
            xvfb = std::make_unique<vlx_test::XvfbServer>();
            player = std::make_unique<Player>(pulse->ClientEnvironment().at("PULSE_SERVER"));
            if (!player->Failure().empty()) throw std::runtime_error("player: " + player->Failure());
        } catch (const std::exception& e) {
            failure = e.what();
        }
    }
    vlx_test::ProcessOptions Options() const {
        vlx_test::ProcessOptions options;
        options.setEnv = pulse->ClientEnvironment();
        options.setEnv["XDG_RUNTIME_DIR"] = pulse->Folder();
        options.setEnv["DISPLAY"] = xvfb->Display();
        options.setEnv["PLATFORM_DIAG_VALUES"] = "1";
        options.unsetEnv = {"WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};
        return options;
    }

    std::unique_ptr<vlx_test::PulseServer> pulse;
    std::unique_ptr<vlx_test::XvfbServer> xvfb;
    std::unique_ptr<Player> player;
    std::string failure;
};

Servers& TheServers() {
    static Servers servers;
    return servers;
}

// A program that reports its lamp colours under `label`, started on the servers and stopped
// when the measurement ends.
struct Subject {
    Subject(const std::vector<std::string>& command, vlx_test::ProcessOptions options, std::string label_)
        : label(std::move(label_)) {
        try {
            program = std::make_unique<vlx_test::Process>(command, options);
            // Without its demo tune the show opens the sound-device box at start-up: Esc ends it.
            vlx_test::XClient x(options.setEnv.at("DISPLAY"));
            bool answered = false;
            auto answerBox = [&] {
                for (const vlx_test::XWindowId box : x.ViewableWindowsOf(program->Pid()))
                    if (!answered && x.Title(box) == "Sound device") {
                        vlx_test::ProcessOptions keys;
                        keys.setEnv["DISPLAY"] = options.setEnv.at("DISPLAY");
                        vlx_test::Process xdotool({"xdotool", "windowfocus", "--sync", std::to_string(box), "key", "Escape"}, keys);
                        answered = xdotool.Wait(std::chrono::seconds(10)) == vlx_test::ExitStatus::Exited(0);
                    }
            };
            // Listening, and at rest: the show rests at red 2, green 1, blue 1 once capture runs.
            if (!vlx_test::WaitUntil([&] { answerBox(); return !Frames().empty() && Latest().Red() < kDark; },
                                     std::chrono::seconds(30)))
                throw std::runtime_error("never came to rest: " + program->Stderr());
        } catch (const std::exception& e) {
            failure = e.what();
        }
    }
    std::vector<vlx_test::LampFrame> Frames() const { return vlx_test::ParseLampFrames(program->Stderr(), label); }
    vlx_test::LampFrame Latest() const {
        const std::vector<vlx_test::LampFrame> frames = Frames();
        return frames.empty() ? vlx_test::LampFrame{} : frames.back();
    }
    // The first frame presented at or after `ns` in which red rose; none when it took 2 s.
    std::optional<vlx_test::LampFrame> FirstRiseAfter(std::int64_t ns) const {
        std::optional<vlx_test::LampFrame> found;
        vlx_test::WaitUntil(
            [&] {
                const std::vector<vlx_test::LampFrame> frames = Frames();
                for (size_t i = 1; i < frames.size(); ++i)
                    if (frames[i].presentedNs >= ns && frames[i].Red() > frames[i - 1].Red()) {
                        found = frames[i];
                        return true;
                    }
                return false;
            },
            std::chrono::milliseconds(2000), std::chrono::milliseconds(2));
        return found;
    }

    std::string label;
    std::unique_ptr<vlx_test::Process> program;
    std::string failure;
};

// Times onsets to the first redder frame of `subject`; returns the median in ms (NaN when
// nothing was measured).
double MeasureOnsets(benchmark::State& state, Subject& subject) {
    Player& player = *TheServers().player;
    std::vector<double> latencies, playerDelays;
    for (auto _ : state) {
        if (!vlx_test::WaitUntil([&] { return subject.Latest().Red() < kDark; }, std::chrono::seconds(10))) {
            state.SkipWithError("the red band never went back to rest");
            break;
        }
        std::int64_t atSource = 0, written = 0;
        player.Onset(&atSource, &written);
        if (atSource == 0) {
            state.SkipWithError("the player stream stopped");
            break;
        }
        const std::optional<vlx_test::LampFrame> lit = subject.FirstRiseAfter(written);
        player.Silence();
        if (!lit) {
            state.SkipWithError("no presented frame showed the onset");
            break;
        }
        const double seconds = static_cast<double>(lit->presentedNs - atSource) / 1e9;
        state.SetIterationTime(std::max(seconds, 0.0));
        latencies.push_back(seconds * 1e3);
        playerDelays.push_back(static_cast<double>(atSource - written) / 1e6);
    }
    if (latencies.empty()) return std::nan("");
    std::sort(latencies.begin(), latencies.end());
    const double median = latencies[latencies.size() / 2];
    state.counters["min_ms"] = latencies.front();
    state.counters["median_ms"] = median;
    state.counters["max_ms"] = latencies.back();
    double sum = 0;
    for (double d : playerDelays) sum += d;
    state.counters["player_ms"] = sum / static_cast<double>(playerDelays.size());
    return median;
}

double referenceMedianMs = std::nan("");   // set by the reference's run, which comes first

void BM_ReferenceOnsetToRed(benchmark::State& state) {
    Servers& servers = TheServers();
    if (!servers.failure.empty()) {
        state.SkipWithError(servers.failure.c_str());
        return;
    }
    Subject reference({VLX_REFERENCE_PROGRAM}, servers.Options(), "reference: lamps");
    if (!reference.failure.empty()) {
        state.SkipWithError(("reference: " + reference.failure).c_str());
        return;
    }
    referenceMedianMs = MeasureOnsets(state, reference);
}
BENCHMARK(BM_ReferenceOnsetToRed)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// The installation is a copy without "demo.mid", so that the show listens to nothing but the
// player.
void BM_OnsetToLampColour(benchmark::State& state) {
    Servers& servers = TheServers();
    if (!servers.failure.empty()) {
        state.SkipWithError(servers.failure.c_str());
        return;
    }
    char folder[] = "/tmp/vlx-bench-XXXXXX";
    if (!mkdtemp(folder)) {
        state.SkipWithError("mkdtemp failed");
        return;
    }
    const std::string install = folder;
    std::filesystem::copy(VLX_INSTALL_DIR, install, std::filesystem::copy_options::recursive);
    std::filesystem::remove(install + "/demo.mid");
    {
        vlx_test::ProcessOptions options = servers.Options();
        options.workingDirectory = install;
        Subject show({install + "/virelux"}, options, "virelux: lamps");
        if (!show.failure.empty()) {
            state.SkipWithError(("the show " + show.failure).c_str());
        } else {
            const double median = MeasureOnsets(state, show);
            if (!std::isnan(median) && !std::isnan(referenceMedianMs)) {
                state.counters["reference_median_ms"] = referenceMedianMs;
                state.counters["over_reference_ms"] = median - referenceMedianMs;
            }
        }
    }
    std::filesystem::remove_all(install);
}
BENCHMARK(BM_OnsetToLampColour)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
