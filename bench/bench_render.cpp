// Frames of the main scene on Mesa's llvmpipe under a private Xvfb, at two window sizes.
// Reports wall time per frame (frames per second follow from it) and the process's CPU time
// per frame, llvmpipe's rendering threads included. Presents are not paced while measuring.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <memory>

#include "app/main_loop.h"
#include "app/report.h"
#include "settings/shared.h"
#include "app/startup.h"
#include "app/window_defs.h"
#include "platform/fs/fs.h"
#include "platform/win32/win32_test.h"
#include "platform/winmm/winmm_test.h"
#include "resources/resource_ids.h"
#include "tests/support/xvfb_server.h"

namespace {

// The show's start-up on a private X server, once for the whole run.
struct Show {
    Show() {
        setenv("PLATFORM_NO_PACING", "1", 1);
        xvfb = std::make_unique<vlx_test::XvfbServer>();
        setenv("DISPLAY", xvfb->Display().c_str(), 1);
        win32test::EnableRecordedInteraction();
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
    std::unique_ptr<vlx_test::XvfbServer> xvfb;
    HWND window = nullptr;
    bool ok = false;
};

Show& TheShow() {
    static Show show;
    return show;
}

void BM_MainSceneFrame(benchmark::State& state) {
    Show& show = TheShow();
    if (!show.ok) {
        state.SkipWithError("the show did not start");
        return;
    }
    // A client area of the requested size: the window is the menu bar taller.
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    MoveWindow(show.window, 0, 0, width, height + win32test::MenuBarHeight(), TRUE);
    for (int i = 0; i < 50; ++i) {   // the resize arrives; textures and meshes are uploaded
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        RenderFrame(true);
    }
    if (appState->viewport->GetWidth() != static_cast<DWORD>(width)) {
        state.SkipWithError("the window did not take the size");
        return;
    }
    for (auto _ : state) RenderFrame(true);
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MainSceneFrame)->Args({640, 480})->Args({1280, 720})->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace
