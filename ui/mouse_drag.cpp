// Mouse presses pick, drags turn or move the selected object. A press captures the mouse and
// shows the cross cursor until its button comes up; the frame tick stops whatever spin or
// drift a drag leaves between two moves, so the object follows the mouse only while it moves.
#include "ui/mouse_drag.h"

#include <cmath>

#include "ui/selection.h"

BYTE leftDragging = 0;
BYTE rightDragging = 0;
int lastMouseX = 0;
int lastMouseY = 0;
HCURSOR savedCursor = nullptr;

namespace {

// The client point of a mouse message, as signed 16-bit values (a captured drag goes on
// left of and above the client area).
int ClientX(LPARAM lParam) { return static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam))); }
int ClientY(LPARAM lParam) { return static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam))); }

bool PickingOff() { return flyActive || scriptSceneActive; }

// Turns the selected object about an axis in the camera's view plane, square to the mouse's
// motion: 50 pixels turn it by 45 degrees, and no move turns it by a full radian or more.
void RotateDrag(LPARAM lParam) {
    const int x = ClientX(lParam), y = ClientY(lParam);
    const int dx = x - lastMouseX;
    const int dy = static_cast<short>(y - lastMouseY);
    lastMouseX = x;
    lastMouseY = y;
    const float ny = static_cast<float>(-dy);   // screen y grows downwards
    const float fx = static_cast<float>(dx);
    const float length = std::sqrt(fx * fx + ny * ny);
    const float damped = std::sqrt(length * length + 2500.0f);
    if (length == 0.0f || !appState || !appState->camera) return;
    selectedFrame->SetRotation(appState->camera.get(), ny / length, -fx / length, 0.0f, length / damped);
}

// Moves the selected object in the view plane at its depth: its projection follows the mouse
// pixel for pixel.
void MoveDrag(LPARAM lParam) {
    const int x = ClientX(lParam), y = ClientY(lParam);
    const int dx = x - lastMouseX, dy = y - lastMouseY;
    lastMouseX = x;
    lastMouseY = y;
    if (!appState || !appState->viewport || !appState->scene) return;
    IDirect3DRMFrame3* scene = appState->scene.get();
    D3DVECTOR position;
    selectedFrame->GetPosition(scene, &position);
    D3DRMVECTOR4D screen;
    if (appState->viewport->Transform(&screen, &position) != D3DRM_OK) return;
    screen.x += static_cast<float>(dx) * screen.w;
    screen.y += static_cast<float>(dy) * screen.w;
    if (appState->viewport->InverseTransform(&position, &screen) != D3DRM_OK) return;
    selectedFrame->SetPosition(scene, position.x, position.y, position.z);
}

}  // namespace

void OnMouseButtonDown(HWND hwnd, bool left, LPARAM lParam) {
    if (PickingOff()) return;
    lastMouseX = LOWORD(static_cast<std::uintptr_t>(lParam));
    lastMouseY = HIWORD(static_cast<std::uintptr_t>(lParam));
    PickAt(appState ? appState->viewport.get() : nullptr, lastMouseX, lastMouseY);
    // A drag starts whether or not something was hit; without a selection it moves nothing.
    (left ? leftDragging : rightDragging) = 1;
    SetCapture(hwnd);
    HCURSOR cross = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_CROSS));
    if (!cross) {
        savedCursor = nullptr;
        return;
    }
    HCURSOR previous = SetCursor(cross);
    // The second button of a two-button drag finds the cross already up: the cursor to go
    // back to stays the one the first press replaced.
    if (previous != cross) savedCursor = previous;
}

void OnMouseButtonUp(bool left) {
    (left ? leftDragging : rightDragging) = 0;
    ReleaseCapture();
    if (savedCursor) SetCursor(savedCursor);
}

void OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if ((wParam & MK_LBUTTON) && selectedFrame && leftDragging && !PickingOff())
        RotateDrag(lParam);
    else if ((wParam & MK_RBUTTON) && selectedFrame && rightDragging)
        MoveDrag(lParam);
}
