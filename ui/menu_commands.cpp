// The Controller's command handler: every WM_COMMAND of the main window comes here, from
// the menu, the accelerator, the driver entries and the commands the program posts itself.
#include "settings/shared.h"
#include "render3d/driver.h"
#include "render3d/scene.h"
#include "resources/resource_ids.h"
#include "ui/controller.h"
#include "sound/midi.h"

namespace {

void OpenDocument(HWND window, const char* file) { ShellExecuteA(window, "open", file, nullptr, nullptr, SW_SHOWNORMAL); }

// "with light object" / "without light object": an empty base scene.
void ResetScene(HWND window, BYTE lightObjects) {
    // FIXME: the fly animations are freed here once fly movement exists.
    TearDownScene();
    // FIXME: the script's record counters, flyActive, scriptSceneActive and background
    // cycling are cleared here once those parts exist.
    danceActive = 0;
    withLightObject = lightObjects;
    if (recording.load(std::memory_order_relaxed)) StopMidi();
    CreateScene(window, "");
}

}  // namespace

void Controller::OnCommand(WORD commandId) {
    if (commandId >= IDM_DRIVER_FIRST && commandId <= IDM_DRIVER_LAST) ChangeDriver(hwnd, commandId - IDM_DRIVER_FIRST);
    switch (commandId) {
    case IDM_CLOSE:
        danceActive = 0;
        captureThread.Stop();
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        break;
    case IDM_PLAY_DEMO:
        // FIXME: the splash box (when it plays) or the sound device box (when not) open
        // here once the dialog host exists.
        PlayMidi(hwnd, "demo.mid");
        break;
    case IDM_START_CAPTURE:
        if (!recording.load(std::memory_order_relaxed)) captureThread.Start();
        break;
    case IDM_STOP_CAPTURE:
        if (recording.load(std::memory_order_relaxed)) captureThread.Stop();
        break;
    case IDM_SCENE_WITHOUT_LIGHTS:
        ResetScene(hwnd, 0);
        break;
    case IDM_SCENE_WITH_LIGHTS:
        ResetScene(hwnd, 1);
        break;
    case IDM_MAIN_SCENE:
        TearDownScene();
        CreateMainScene(hwnd);
        break;
    case IDM_DESCRIPTION:
        OpenDocument(hwnd, "doc\\e_minfo.htm");
        break;
    case IDM_HELP_KEYBOARD:
        OpenDocument(hwnd, "doc\\helpk.htm");
        break;
    default:
        // FIXME: the dialogs, object editing and file commands join here with their parts.
        break;
    }
}
