// The process's start-up sequence and the end of the show.
#include <new>

#include "app/main_loop.h"
#include "app/report.h"
#include "settings/shared.h"
#include "app/startup.h"
#include "app/window_defs.h"
#include "render3d/driver.h"
#include "render3d/scene.h"
#include "resources/resource_ids.h"

bool InitDisplay(HWND window, int nCmdShow) {
    if (!EnumerateDrivers(GetSubMenu(GetMenu(window), 1))) return false;
    if (!CreateDevice(window)) return false;
    if (!CreateMainScene(window)) {
        ReportError("Failed to create device.\nNo find Direct3DRM");
        DestroyWindow(window);
        return false;
    }
    ShowWindow(window, nCmdShow);
    UpdateWindow(window);
    return true;
}

static int EndStartUp() {
    delete appState;
    appState = nullptr;
    return 0;
}

int WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
    std::set_new_handler(OnOutOfMemory);
    WinClassDef classDef(hInstance);

    // One show at a time: bring the running one forward instead.
    if (HWND running = FindRunningInstance(classDef.ClassName())) {
        SetForegroundWindow(running);
        if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
        return 0;
    }
    classDef.Register();

    char title[256] = "";
    LoadResString(title, hInstance, IDS_TITLE);
    WinCreateDef createDef(hInstance, title);
    if (!createDef.Create()) return EndStartUp();
    if (!InitDisplay(createDef.Window(), nCmdShow)) return EndStartUp();

    appState->quitRequested = 0;
    HACCEL accelerators = LoadAcceleratorsA(hInstance, kAcceleratorTable);
    if (!accelerators) return 0;

    const int status = RunMainLoop(accelerators, RenderFrame);
    delete appState;
    appState = nullptr;
    return status;
}
