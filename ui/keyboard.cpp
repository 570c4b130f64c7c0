// The show's keys. The camera keys fly and turn the camera relative to the scene; the object
// keys drift, spin and scale the selected object; F5 to F8 and Esc switch the dance and the
// automatic cycling. A velocity or spin set on a press lasts, frame after frame, until a
// release or another key changes it; auto-repeat only sets the same value again.
#include "ui/keyboard.h"

#include "settings/shared.h"
#include "ui/selection.h"

namespace {

constexpr D3DVALUE kSideStep = 0.1f;      // the arrows' speed, a share of the camera's up and right
constexpr D3DVALUE kPadStep = 0.05f;      // the pad's forward and backward speed
constexpr D3DVALUE kPadSpin = 0.001f;     // the pad's turn per frame
constexpr D3DVALUE kObjectSpin = 0.01f;   // Insert and Delete
constexpr D3DVALUE kGrow = 1.1f;          // numeric pad +
constexpr D3DVALUE kShrink = 0.9f;        // numeric pad −

// The camera's axes in scene coordinates, read at each key press: forward as it is, up and
// right already scaled for the arrows.
struct CameraAxes {
    D3DVECTOR dir, up, right;
};

CameraAxes ReadCameraAxes(IDirect3DRMFrame3* camera, IDirect3DRMFrame3* scene) {
    CameraAxes a;
    camera->GetOrientation(scene, &a.dir, &a.up);
    D3DRMVectorCrossProduct(&a.right, &a.up, &a.dir);
    a.up = D3DVECTOR{a.up.x * kSideStep, a.up.y * kSideStep, a.up.z * kSideStep};
    a.right = D3DVECTOR{a.right.x * kSideStep, a.right.y * kSideStep, a.right.z * kSideStep};
    return a;
}

void Velocity(IDirect3DRMFrame3* frame, IDirect3DRMFrame3* scene, const D3DVECTOR& v, D3DVALUE sign, BOOL withRotation) {
    frame->SetVelocity(scene, sign * v.x, sign * v.y, sign * v.z, withRotation);
}

// The object keys need a selection; without one they say so.
bool Selected() {
    if (selectedFrame) return true;
    ReportError("No key function.");
    return false;
}

// Numeric pad + and −: the selected mesh grows or shrinks, and its marker is built anew to fit.
void ScaleSelected(D3DVALUE factor) {
    if (!selectedFrame || !selectedVisual) return;
    selectedVisual->Scale(factor, factor, factor);
    SetSelection(selectedVisual, selectedFrame);
}

}  // namespace

void OnKeyDown(HWND hwnd, WPARAM key) {
    if (danceActive && key != VK_ESCAPE) {
        MessageBoxA(hwnd, "Please Key -ESC- !", "Virelux Report", MB_OK);
        return;
    }
    switch (key) {
    case VK_F6:   // backgrounds cycle, the first change after about 500 idle frames
        cycleBackgrounds = 1;
        cycleScenes = 0;
        cycleCounter = 500.0f;
        return;
    case VK_F7:   // cycling stops, and the next scene comes at once
        cycleBackgrounds = 0;
        cycleScenes = 0;
        NextScene();
        return;
    case VK_F8:   // scenes cycle
        cycleScenes = 1;
        cycleBackgrounds = 0;
        cycleCounter = 500.0f;
        return;
    default:
        break;
    }
    // Without a scene (one that failed to build) there is nothing to fly or turn.
    if (!appState || !appState->camera || !appState->scene) return;
    IDirect3DRMFrame3* camera = appState->camera.get();
    IDirect3DRMFrame3* scene = appState->scene.get();
    const CameraAxes axes = ReadCameraAxes(camera, scene);
    switch (key) {
    case VK_PRIOR: Velocity(camera, scene, axes.dir, -1.0f, FALSE); break;   // backwards
    case VK_NEXT: Velocity(camera, scene, axes.dir, 1.0f, FALSE); break;     // forwards
    case VK_END:
        if (Selected()) Velocity(selectedFrame, scene, axes.dir, -1.0f, FALSE);
        break;
    case VK_HOME:
        if (Selected()) Velocity(selectedFrame, scene, axes.dir, 1.0f, FALSE);
        break;
    case VK_LEFT: Velocity(camera, scene, axes.right, 1.0f, TRUE); break;
    case VK_UP: Velocity(camera, scene, axes.up, -1.0f, TRUE); break;
    case VK_RIGHT: Velocity(camera, scene, axes.right, -1.0f, TRUE); break;
    case VK_DOWN: Velocity(camera, scene, axes.up, 1.0f, TRUE); break;
    case VK_INSERT:
        if (Selected()) selectedFrame->SetRotation(camera, 0.0f, 1.0f, 0.0f, kObjectSpin);
        break;
    case VK_DELETE:
        if (Selected()) selectedFrame->SetRotation(camera, 0.0f, 1.0f, 0.0f, -kObjectSpin);
        break;
    case VK_NUMPAD2: camera->SetRotation(scene, 1.0f, 0.0f, 0.0f, -kPadSpin); break;
    case VK_NUMPAD3: Velocity(camera, scene, axes.dir, kPadStep, FALSE); break;
    case VK_NUMPAD4: camera->SetRotation(scene, 0.0f, 1.0f, 0.0f, kPadSpin); break;
    case VK_NUMPAD5: camera->SetRotation(scene, 0.0f, 1.0f, 0.0f, 0.0f); break;
    case VK_NUMPAD6: camera->SetRotation(scene, 0.0f, 1.0f, 0.0f, -kPadSpin); break;
    case VK_NUMPAD8: camera->SetRotation(scene, 1.0f, 0.0f, 0.0f, kPadSpin); break;
    case VK_NUMPAD9: Velocity(camera, scene, axes.dir, -kPadStep, FALSE); break;
    case VK_ADD: ScaleSelected(kGrow); break;
    case VK_SUBTRACT: ScaleSelected(kShrink); break;
    case VK_F5:   // the camera dances about where it stands now, while the sound is recorded
        if (recording.load(std::memory_order_relaxed) && !danceActive) {
            danceActive = 1;
            camera->GetPosition(scene, &danceBase);
        }
        break;
    default:
        break;
    }
}

void OnKeyUp(HWND, WPARAM key) {
    if (key == VK_ESCAPE) {
        cycleBackgrounds = 0;
        cycleScenes = 0;
        danceActive = 0;
        return;
    }
    if (!appState || !appState->camera || !appState->scene) return;
    IDirect3DRMFrame3* camera = appState->camera.get();
    IDirect3DRMFrame3* scene = appState->scene.get();
    switch (key) {
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:   // the camera stops turning and flying
        camera->SetRotation(scene, 0.0f, 1.0f, 0.0f, 0.0f);
        camera->SetVelocity(scene, 0.0f, 0.0f, 0.0f, FALSE);
        break;
    case VK_END:
    case VK_HOME:
        if (selectedFrame) selectedFrame->SetVelocity(scene, 0.0f, 0.0f, 0.0f, FALSE);
        break;
    case VK_INSERT:
    case VK_DELETE:
        if (selectedFrame) selectedFrame->SetRotation(camera, 0.0f, 1.0f, 0.0f, 0.0f);
        break;
    default:
        break;
    }
}
