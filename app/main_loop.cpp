#include "app/main_loop.h"

#include "app/diagnostics.h"
#include "settings/shared.h"

int RunMainLoop(HACCEL accelerators, void (*renderFrame)(bool idle)) {
    MSG msg;
    for (;;) {
        bool idle = true;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT || appState->quitRequested) return static_cast<int>(msg.wParam);
            idle = false;
            if (!TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (appState->minimized) {
            WaitMessage();
            continue;
        }
        renderFrame(idle);
    }
}

void RenderFrame(bool tick) {
    if (tick) FrameTick();
    // After a failed rebuild the device or viewport may be missing; nothing is drawn then.
    if (!appState->scene || !appState->viewport || !appState->device) return;
    appState->scene->Move(1.0f);
    appState->viewport->Clear(D3DRMCLEAR_ALL);
    appState->viewport->Render(appState->scene.get());
    ReportLampColours();   // printed by the platform after the present, when asked for
    appState->device->Update();
}
