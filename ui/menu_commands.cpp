// The Controller's command handler: every WM_COMMAND of the main window comes here, from
// the menu, the accelerator, the driver entries and the commands the program posts itself.
#include "settings/shared.h"

#include <cstdio>

#include "content/object_loading.h"
#include "fly/camera_path.h"
#include "render3d/driver.h"
#include "render3d/scene.h"
#include "resources/resource_ids.h"
#include "sound/midi.h"
#include "ui/add_light_box.h"
#include "ui/background_box.h"
#include "ui/controller.h"
#include "ui/fly_box.h"
#include "ui/information_box.h"
#include "ui/music_box.h"
#include "ui/object_editing.h"
#include "ui/objects_box.h"
#include "ui/open_file_dialog.h"
#include "ui/render_box.h"
#include "ui/scene_box.h"
#include "ui/script_box.h"
#include "ui/sound_device_box.h"
#include "ui/selection.h"
#include "ui/splash_box.h"

namespace {

// The "Select box" entry sits in the second popup of the menu bar.
constexpr int kFunctionsMenu = 1;

// A modal box of the window's instance over the window; its result is not used.
void ShowBox(HWND window, const char* templateName, DLGPROC procedure) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    DialogBoxParamA(instance, templateName, window, procedure, 0);
}

void OpenDocument(HWND window, const char* file) { ShellExecuteA(window, "open", file, nullptr, nullptr, SW_SHOWNORMAL); }

// The object commands act on the selection only; without one they say so and do nothing.
bool HaveSelection() {
    if (selectedFrame) return true;
    ReportError("No key function.");
    return false;
}

// "with light object" / "without light object": an empty base scene, after every flight,
// script scene, dance and background cycle of the old one has been let go.
void ResetScene(HWND window, BYTE lightObjects) {
    if (flyActive) {
        // The record the animation tick advanced last is let go; it is freed with its frame
        // in the teardown below.
        lastAnimationRecord = nullptr;
        pathAnimation.reset();
    }
    TearDownScene();
    flyPathCount = 0;
    movePathCount = 0;
    flyActive = 0;
    scriptSceneActive = 0;
    danceActive = 0;
    cycleBackgrounds = 0;
    withLightObject = lightObjects;
    if (recording.load(std::memory_order_relaxed)) StopMidi();
    CreateScene(window, "");
}

// After the Music Tools box: capture follows the box's request where it differs.
void FollowSoundRequest(CaptureThread& capture) {
    const bool on = recording.load(std::memory_order_relaxed) != 0;
    if (soundRequest == 1 && !on) capture.Start();
    if (soundRequest == 2 && on) capture.Stop();
}

}  // namespace

void Controller::OnCommand(WORD commandId) {
    if (commandId >= IDM_DRIVER_FIRST && commandId <= IDM_DRIVER_LAST) ChangeDriver(hwnd, commandId - IDM_DRIVER_FIRST);
    switch (commandId) {
    case IDM_EDIT_BACKGROUND:
        danceActive = 0;
        // The bitmap goes to the desktop's own picture editor.
        if (const char* file = OpenFileDialog(hwnd, "Edit Background image (*.BMP)", kOpenImage))
            OpenDocument(hwnd, file);
        break;
    case IDM_EDIT_SCRIPT:
        danceActive = 0;
        // The script opens in the desktop's text editor; the Script Box tests and builds it.
        if (const char* file = OpenFileDialog(hwnd, "Edit script scene (*.TXT)", kOpenScript)) {
            OpenDocument(hwnd, file);
            std::snprintf(scriptBoxFile, sizeof scriptBoxFile, "%s", file);
            ShowBox(hwnd, "EdiBox", EdiBoxProc);
        }
        break;
    case IDM_CLOSE:
        danceActive = 0;
        captureThread.Stop();
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        break;
    case IDM_PLAY_DEMO:
        // The splash over the demo tune; without the tune the user is asked about the sound.
        if (PlayMidi(hwnd, kDemoTune))
            ShowBox(hwnd, "RunBox", RunBoxProc);
        else
            ShowBox(hwnd, "DevBox", DevBoxProc);
        break;
    case IDM_CUT:
        if (!HaveSelection()) break;
        danceActive = 0;
        addLightKind = 0;
        CutSelected();
        break;
    case IDM_COPY:
        if (!HaveSelection()) break;
        danceActive = 0;
        CopySelected();
        break;
    case IDM_PASTE:
        // An object must be selected even though the clipboard alone would do.
        if (!HaveSelection()) break;
        danceActive = 0;
        if (appState) PasteCopied(appState->scene.get());
        break;
    case IDM_DELETE:
        if (!HaveSelection()) break;
        danceActive = 0;
        addLightKind = 0;
        DeleteSelected();
        break;
    case IDM_GROUND_COLOR:
        if (!HaveSelection()) break;
        danceActive = 0;
        ColorSelected(hwnd);
        break;
    case IDM_SELECT_BOX: {
        const bool on = ToggleSelectBox();
        CheckMenuItem(GetSubMenu(GetMenu(hwnd), kFunctionsMenu), IDM_SELECT_BOX,
                      MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
        break;
    }
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
    case IDM_ABOUT:
        ShowBox(hwnd, "InfBox", InfBoxProc);
        break;
    case IDM_MUSIC:
        ShowBox(hwnd, "MusBox", MusBoxProc);
        FollowSoundRequest(captureThread);
        break;
    case IDM_HELP_INTRODUCTION:   // also F1
        ShowBox(hwnd, "DevBox", DevBoxProc);
        break;
    case IDM_LOAD_BACKGROUND:
        ShowBox(hwnd, "BgrBox", BgrBoxProc);
        break;
    case IDM_LOAD_SCENE:
        ShowBox(hwnd, "SceBox", SceBoxProc);
        break;
    case IDM_LOAD_OBJECT:
        ShowBox(hwnd, "BasBox", BasBoxProc);
        break;
    case IDM_FLY_MOVEMENT:
        ShowBox(hwnd, "FlyBox", FlyBoxProc);
        break;
    case IDM_RENDERER:
        ShowBox(hwnd, "RenBox", RenBoxProc);
        break;
    case IDM_LIGHT:
        ShowBox(hwnd, "LigBox", LigBoxProc);
        break;
    default:
        break;   // ids of no command are ignored
    }
}
