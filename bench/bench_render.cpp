// Frames of the main scene on Mesa's llvmpipe under a private Xvfb, side by side with the
// render floor: a program that draws one textured quad over the whole window per frame (the
// least a frame with a background picture can cost here), run as a child under the same
// X server at the same size. Reported per presented frame: the process's CPU time, llvmpipe's
// rendering threads included, ours and the floor's, measured in alternating rounds so that
// other load on the machine hits both alike, and their ratio. Then the resident memory of the
// running show (main scene, the demo tune playing on a private sound server, capture from a
// silent test source) beside the floor's at 320 x 320.
// Presents are not paced while measuring.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "app/main_loop.h"
#include "app/report.h"
#include "settings/shared.h"
#include "app/startup.h"
#include "app/window_defs.h"
#include "platform/fs/fs.h"
#include "platform/win32/win32_test.h"
#include "platform/winmm/winmm_test.h"
#include "resources/resource_ids.h"
#include "sound/midi.h"
#include "tests/support/pulse_server.h"
#include "tests/support/xvfb_server.h"

namespace {

// The show's start-up on a private X server, once for the whole run.
struct Show {
    Show() {
        setenv("PLATFORM_NO_PACING", "1", 1);
        // A sound server of its own, so that the demo tune really plays: without one SDL finds
        // no output and the sequencer, sound font and all, is gone by the time memory is read.
        pulse = std::make_unique<vlx_test::PulseServer>();
        pulse->UseInThisProcess();
        xvfb = std::make_unique<vlx_test::XvfbServer>();
        setenv("DISPLAY", xvfb->Display().c_str(), 1);
        win32test::EnableRecordedInteraction();
        // The start-up splash is clicked away as a user would: the tune plays on.
        win32test::SetDialogScript("RunBox", [](HWND box) { win32test::ClickControl(box, IDC_SPLASH_PICTURE); });
        fs::SetInstallationFolder(VLX_INSTALL_DIR);
        winmmtest::SetDeviceCount(1);   // a silent sound card: the show starts without asking
        winmmtest::SetSampleSource([](std::int16_t* samples, int count) { std::fill(samples, samples + count, 0); },
                                   winmmtest::Pace::OnDemand);
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WinClassDef classDef(instance);
        classDef.Register();
        WinCreateDef createDef(instance, "Virelux 2.5 (Freeware version)");
        ok = createDef.Create() && InitDisplay(createDef.Window(), SW_SHOWDEFAULT);
        window = createDef.Window();
    }
    std::unique_ptr<vlx_test::PulseServer> pulse;
    std::unique_ptr<vlx_test::XvfbServer> xvfb;
    HWND window = nullptr;
    bool ok = false;
};

Show& TheShow() {
    static Show show;
    return show;
}

// One turn of the show's loop: the waiting messages, then a frame.
void Frame() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    RenderFrame(true);
}

// Gives the window a client area of width x height; false when the device did not follow.
bool Resize(Show& show, int width, int height) {
    MoveWindow(show.window, 0, 0, width, height + win32test::MenuBarHeight(), TRUE);
    for (int i = 0; i < 50; ++i) Frame();   // the resize arrives; textures and meshes are uploaded
    return appState->viewport->GetWidth() == static_cast<DWORD>(width) &&
           appState->viewport->GetHeight() == static_cast<DWORD>(height);
}

double CpuSeconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage);
}

// The resident memory of this process now, in MB.
double ResidentMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0.0;
}

#ifdef VLX_RENDER_FLOOR
// One run of the floor program: its CPU time per presented frame, and its peak resident
// memory. Its frames are counted by the swap counter linked into it, which prints
// "swaps N" at its exit.
struct FloorRun {
    bool ok = false;
    double cpuMsPerFrame = 0.0;
    double residentMb = 0.0;
};

FloorRun RunFloor(int width, int height, int seconds) {
    FloorRun run;
    int out[2];
    if (pipe(out) != 0) return run;
    const pid_t pid = fork();
    if (pid < 0) return run;
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        const std::string w = std::to_string(width), h = std::to_string(height), s = std::to_string(seconds);
        execl(VLX_RENDER_FLOOR, VLX_RENDER_FLOOR, w.c_str(), h.c_str(), s.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return run;
    unsigned long swaps = 0;
    if (std::sscanf(text.c_str(), "swaps %lu", &swaps) != 1 || swaps == 0) return run;
    run.ok = true;
    run.cpuMsPerFrame = CpuSeconds(usage) * 1000.0 / static_cast<double>(swaps);
    run.residentMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}
#endif

// Our CPU time per frame over about `seconds` of frames.
double OursCpuMsPerFrame(double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    const double start = ProcessCpuSeconds();
    long frames = 0;
    while (std::chrono::steady_clock::now() < end || frames < 10) {
        RenderFrame(true);
        ++frames;
    }
    return (ProcessCpuSeconds() - start) * 1000.0 / static_cast<double>(frames);
}

// Runs first, while the show still has its start-up size (a 320 x 320 window), with its
// sound running as after any start: the demo tune, capture from the silent source.
void BM_MemoryBesideFloor(benchmark::State& state) {
    Show& show = TheShow();
    if (!show.ok) {
        state.SkipWithError("the show did not start");
        return;
    }
    for (auto _ : state)
        for (int i = 0; i < 300; ++i) Frame();
    if (!midiPlaying) {
        state.SkipWithError("the demo tune is not playing");
        return;
    }
    const double ours = ResidentMb();
    // VLX_SMAPS=<file> keeps the process's memory map with each mapping's resident size, to
    // see where the memory went.
    if (const char* smaps = getenv("VLX_SMAPS")) {
        std::ifstream in("/proc/self/smaps");
        std::ofstream(smaps) << in.rdbuf();
    }
    state.counters["ours_MB"] = ours;
#ifdef VLX_RENDER_FLOOR
    const FloorRun floor = RunFloor(320, 320, 2);
    if (!floor.ok) {
        state.SkipWithError("the render floor did not run");
        return;
    }
    state.counters["floor_MB"] = floor.residentMb;
    state.counters["over_floor_MB"] = ours - floor.residentMb;
#endif
}
BENCHMARK(BM_MemoryBesideFloor)->Iterations(1)->Unit(benchmark::kMillisecond);

// Rounds of ours then the floor's at the same size; the counters are the means per frame.
void BM_MainSceneBesideFloor(benchmark::State& state) {
    Show& show = TheShow();
    if (!show.ok) {
        state.SkipWithError("the show did not start");
        return;
    }
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    if (!Resize(show, width, height)) {
        state.SkipWithError("the window did not take the size");
        return;
    }
    constexpr int kSeconds = 3;
    double ours = 0.0, floor = 0.0;
    int rounds = 0;
    for (auto _ : state) {
        ours += OursCpuMsPerFrame(kSeconds);
#ifdef VLX_RENDER_FLOOR
        // The floor's window is the whole of ours, menu bar included.
        const FloorRun run = RunFloor(width, height + win32test::MenuBarHeight(), kSeconds);
        if (!run.ok) {
            state.SkipWithError("the render floor did not run");
            return;
        }
        floor += run.cpuMsPerFrame;
#endif
        ++rounds;
    }
    state.counters["ours_cpu_ms"] = ours / rounds;
#ifdef VLX_RENDER_FLOOR
    state.counters["floor_cpu_ms"] = floor / rounds;
    state.counters["ratio"] = ours / floor;
#endif
}
BENCHMARK(BM_MainSceneBesideFloor)->Args({1280, 720})->Iterations(3)->Unit(benchmark::kMillisecond);

// Wall and CPU time per frame at two sizes, frames per second following from them.
void BM_MainSceneFrame(benchmark::State& state) {
    Show& show = TheShow();
    if (!show.ok) {
        state.SkipWithError("the show did not start");
        return;
    }
    if (!Resize(show, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
        state.SkipWithError("the window did not take the size");
        return;
    }
    for (auto _ : state) RenderFrame(true);
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MainSceneFrame)->Args({640, 480})->Args({1280, 720})->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
#ifndef VLX_RENDER_FLOOR
    std::fprintf(stderr, "bench_render: no render floor (../shared/anchors/render-floor.cpp is missing): "
                         "our figures are reported alone\n");
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
