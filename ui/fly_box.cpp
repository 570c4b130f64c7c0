// The Fly movement Box. It remembers the last path and object button across openings; a
// new scene forgets them, Reset forgets the path and lets an object flight start again.
#include "ui/fly_box.h"

#include <algorithm>
#include <cstdio>

#include "fly/fly_movement.h"
#include "resources/resource_ids.h"
#include "settings/shared.h"

int pathChoice = 0;
int objectChoice = 0;
int lastObject = -1;
int speedPosition = 0;

namespace {

constexpr int kSpeedMax = 200;
constexpr int kSpeedPage = 11;

// The slider maps 0..200 onto a path speed of 0.001..0.010.
float SpeedAt(int position) { return static_cast<float>(position * 0.000045 + 0.001); }
// Back from a speed to the slider, truncated.
int PositionOf(float speed) { return static_cast<int>((speed - 0.001) * 111.11111 * 200); }

void ShowSpeed(HWND box) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", pathSpeed);
    SetDlgItemTextA(box, IDC_FLY_SPEED_TEXT, text);
}

// Object flight 1 "Birds", 2 "Ufo's" or 3 "Light": one start per Reset.
void StartObjectFlight(int flight) {
    if (lastObject == objectChoice) return;
    objectChoice = flight;
    lastObject = flight;
    flockSpeed = 0.01f;
    flyLight = flight == 3 ? 1 : 0;
    bool started = false;
    switch (flight) {
    case 1: started = StartFlock("xda\\vogel1.x", "xda\\vogel1.x", "xda\\vogel1.x", 1); break;
    case 2: started = StartFlock("xda\\ufo.x", "xda\\ufo.x", "xda\\ufo.x", 1); break;
    default: started = StartFollowFly("xda\\ufo.x"); break;
    }
    if (!started) {
        ReportError("No run!");
        return;
    }
    danceActive = 0;
    flyActive = 1;
}

// WM_HSCROLL: any scroll forgets the path button; the speed slider moves and sets the speed.
void OnScroll(HWND box, WPARAM wParam, LPARAM lParam) {
    pathChoice = 0;
    HWND bar = reinterpret_cast<HWND>(lParam);
    if (GetWindowLongA(bar, GWL_ID) != IDC_FLY_SPEED) return;
    int position = speedPosition;
    switch (LOWORD(wParam)) {
    case SB_LINELEFT: position -= 1; break;
    case SB_LINERIGHT: position += 1; break;
    case SB_PAGELEFT: position -= kSpeedPage; break;
    case SB_PAGERIGHT: position += kSpeedPage; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: position = HIWORD(wParam); break;
    case SB_LEFT: position = 0; break;
    case SB_RIGHT: position = kSpeedMax; break;
    default: break;
    }
    speedPosition = std::clamp(position, 0, kSpeedMax);
    pathSpeed = SpeedAt(speedPosition);
    ShowSpeed(box);
    SetScrollPos(bar, SB_CTL, speedPosition, TRUE);
}

}  // namespace

INT_PTR FlyBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        speedPosition = std::clamp(PositionOf(pathSpeed), 0, kSpeedMax);
        flyLight = 0;
        HWND bar = GetDlgItem(box, IDC_FLY_SPEED);
        SetScrollRange(bar, SB_CTL, 0, kSpeedMax, FALSE);
        SetScrollPos(bar, SB_CTL, speedPosition, FALSE);
        ShowSpeed(box);
        if (pathChoice >= 1 && pathChoice <= 4)
            SendDlgItemMessageA(box, IDC_PATH_STANDARD - 1 + pathChoice, BM_SETCHECK, BST_CHECKED, 0);
        if (objectChoice >= 1 && objectChoice <= 3)
            SendDlgItemMessageA(box, IDC_FLY_BIRDS - 1 + objectChoice, BM_SETCHECK, BST_CHECKED, 0);
        return TRUE;
    }
    case WM_HSCROLL:
        OnScroll(box, wParam, lParam);
        return FALSE;
    case WM_COMMAND:
        break;
    default:
        return FALSE;
    }

    const int id = LOWORD(wParam);
    switch (id) {
    case IDOK:
        EndDialog(box, 0);
        return TRUE;
    case IDCANCEL:   // "Reset": running flights go on
        flyActive = 0;
        pathChoice = 0;
        lastObject = -1;
        EndDialog(box, 0);
        return TRUE;
    case IDC_PATH_STANDARD:
    case IDC_PATH_WAVE:
    case IDC_PATH_ZOOM:
    case IDC_PATH_ROUND:
        pathChoice = id - IDC_PATH_STANDARD + 1;
        StartCameraPath(id - IDC_PATH_STANDARD);
        return TRUE;
    case IDC_FLY_BIRDS:
    case IDC_FLY_UFOS:
    case IDC_FLY_LIGHT:
        StartObjectFlight(id - IDC_FLY_BIRDS + 1);
        return FALSE;
    default:
        return FALSE;
    }
}
