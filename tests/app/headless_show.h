// The show's start-up without a window system: the real window class, window procedure,
// device (a null renderer that counts frames) and main scene; message boxes are recorded.
// Also the helpers tests use to look into the scene a command or a load built.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/report.h"
#include "settings/shared.h"
#include "app/startup.h"
#include "app/window_defs.h"
#include "platform/fs/fs.h"
#include "platform/win32/win32_test.h"
#include "platform/winmm/winmm_test.h"
#include "resources/resource_ids.h"

// A sound card that records silence, delivered only when a test asks: the window's sound
// check passes quietly and capture starts without a real device.
inline void InstallQuietSoundCard() {
    winmmtest::SetDeviceCount(1);
    winmmtest::SetSampleSource([](std::int16_t* samples, int count) { std::fill(samples, samples + count, 0); },
                               winmmtest::Pace::OnDemand);
}

// The direct children of the current scene, oldest first.
inline std::vector<Ref<IDirect3DRMFrame3>> SceneChildren() {
    Ref<IDirect3DRMFrameArray> children;
    appState->scene->GetChildren(children.put());
    std::vector<Ref<IDirect3DRMFrame3>> frames(children->GetSize());
    for (DWORD i = 0; i < children->GetSize(); ++i) children->GetElement(i, frames[i].put());
    return frames;
}
// The newest child of the scene: what the last load or light made.
inline Ref<IDirect3DRMFrame3> LastChild() { return SceneChildren().back(); }
inline int VisualCount(IDirect3DRMFrame3* frame) {
    DWORD count = 0;
    frame->GetVisuals(&count, nullptr);
    return static_cast<int>(count);
}
// The first visual of a frame, as the interface asked for (empty when it has none of that kind).
template <class T>
Ref<T> FirstVisual(IDirect3DRMFrame3* frame, REFIID iid) {
    IUnknown* visual = nullptr;
    DWORD count = 1;
    frame->GetVisuals(&count, &visual);
    Ref<T> typed;
    if (visual) {
        visual->QueryInterface(iid, reinterpret_cast<void**>(typed.put()));
        visual->Release();
    }
    return typed;
}

class HeadlessShow : public ::testing::Test {
protected:
    void SetUp() override {
        win32test::EnableNoWindowSystem();
        win32test::EnableRecordedInteraction();
        fs::SetInstallationFolder(VLX_INSTALL_DIR);   // the staged data: models, pictures
        InstallQuietSoundCard();
        instance = GetModuleHandleA(nullptr);
        WinClassDef classDef(instance);
        classDef.Register();
        char title[256] = "";
        LoadResString(title, instance, IDS_TITLE);
        WinCreateDef createDef(instance, title);
        ASSERT_TRUE(createDef.Create());
        window = createDef.Window();
        ASSERT_TRUE(InitDisplay(window, SW_SHOWDEFAULT));
        accelerators = LoadAcceleratorsA(instance, kAcceleratorTable);
        ASSERT_NE(accelerators, nullptr);
        appState->quitRequested = 0;
    }

    // Handles whatever start-up left waiting (the first WM_SIZE and paint).
    void Settle() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }

    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HACCEL accelerators = nullptr;
};
