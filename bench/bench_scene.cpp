// Reading and building the catalogue's scenes, headless (a null renderer: no drawing, only
// the scene work a catalogue step does on the window's thread). Cold is a scene's first
// build in the process, its models parsed in the parser's child process; warm is every build
// after that. Warm has to stay well under a 60 Hz frame (16.7 ms), so that a catalogue step
// never drops one.
#include <benchmark/benchmark.h>

#include <string>

#include "app/startup.h"
#include "app/window_defs.h"
#include "content/scene_script.h"
#include "content/script_build.h"
#include "platform/d3drm/d3drm_test.h"
#include "platform/fs/fs.h"
#include "platform/win32/win32_test.h"
#include "platform/winmm/winmm_test.h"
#include "settings/shared.h"
#include "ui/selection.h"

namespace {

// The scene with the most to load, by its warm build time on this machine (main03.txt, the
// largest demo scene, is measured beside it): scene02.txt, the castle, at 4.1 ms against
// 2.9 to 3.7 ms for the next ones.
constexpr int kHeaviestScene = 3;

bool StartShow() {
    static const bool ok = [] {
        win32test::EnableNoWindowSystem();
        win32test::EnableRecordedInteraction();
        fs::SetInstallationFolder(VLX_INSTALL_DIR);
        winmmtest::SetDeviceCount(0);   // no sound card ("No Sound card install!"): the scene work alone
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WinClassDef classDef(instance);
        classDef.Register();
        WinCreateDef createDef(instance, "Virelux");
        const bool started = createDef.Create() && InitDisplay(createDef.Window(), SW_SHOWDEFAULT);
        win32test::ClearRecordedMessageBoxes();   // "No Sound card install!": expected here
        return started;
    }();
    return ok;
}

// One catalogue step to the scene at `position`, as F7 takes it.
bool StepTo(int position) {
    sceneIndex = position;
    NextScene();
    return sceneIndex == position + 1 && win32test::RecordedMessageBoxes().empty();
}

void CatalogueStep(benchmark::State& state, bool cold) {
    if (!StartShow()) {
        state.SkipWithError("the show did not start");
        return;
    }
    const int position = static_cast<int>(state.range(0));
    if (!cold && !StepTo(position)) {
        state.SkipWithError("the scene did not build without a message");
        return;
    }
    const int parsesBefore = d3drmtest::ParsesStarted();
    for (auto _ : state)
        if (!StepTo(position)) {
            state.SkipWithError("the scene did not build without a message");
            return;
        }
    // Models parsed by the parser program, each in a process of its own.
    state.counters["parses"] = benchmark::Counter(d3drmtest::ParsesStarted() - parsesBefore, benchmark::Counter::kAvgIterations);
}

// Registered first: nothing of the heaviest scene is loaded yet.
void BM_NextSceneCold(benchmark::State& state) { CatalogueStep(state, true); }
BENCHMARK(BM_NextSceneCold)->Arg(kHeaviestScene)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NextSceneWarm(benchmark::State& state) { CatalogueStep(state, false); }
BENCHMARK(BM_NextSceneWarm)->DenseRange(0, 18)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading and building a demo scene by its name, as the Scene box does.
void BM_ReadAndBuildDemoScene(benchmark::State& state) {
    if (!StartShow()) {
        state.SkipWithError("the show did not start");
        return;
    }
    const std::string file = "main0" + std::to_string(state.range(0)) + ".txt";
    for (auto _ : state)
        if (!ReadSceneScript(nullptr, file.c_str(), false) || !RunSceneScript(nullptr)) {
            state.SkipWithError("the demo scene did not build");
            return;
        }
    state.SetLabel(file);
}
BENCHMARK(BM_ReadAndBuildDemoScene)->DenseRange(1, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

// One mouse press's pick on the heaviest scene, through the centre of the client area: the
// ray from the camera tested against every mesh of the scene. Goal: well under 1 ms.
void BM_PickAt(benchmark::State& state) {
    if (!StartShow() || !StepTo(kHeaviestScene)) {
        state.SkipWithError("the scene did not build without a message");
        return;
    }
    IDirect3DRMViewport2* viewport = appState->viewport.get();
    const int x = static_cast<int>(viewport->GetWidth() / 2), y = static_cast<int>(viewport->GetHeight() / 2);
    for (auto _ : state) PickAt(viewport, x, y);
    state.SetLabel(selectedFrame ? "hit" : "missed");
    ClearSelection();
}
BENCHMARK(BM_PickAt)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
