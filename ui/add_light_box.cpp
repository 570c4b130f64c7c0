// The Add Light Box: a light type and a colour chosen with three sliders; OK hangs the light
// at (0, 15, -5) facing straight down with a lamp model a fifth of its size.
#include "ui/add_light_box.h"

#include <cstdio>

#include "settings/shared.h"
#include "content/object_loading.h"
#include "render3d/lights.h"
#include "resources/resource_ids.h"
#include "ui/scroll_step.h"

int addLightKind = 0;
float addLightColor[3] = {0.5f, 0.5f, 0.5f};

namespace {

// The type radio buttons by light kind 1..5.
constexpr int kKindButtons[] = {IDC_LIG_DIRECTIONAL, IDC_LIG_PARALLEL_POINT, IDC_LIG_POINT, IDC_LIG_SPOT,
                                IDC_LIG_AMBIENT};
constexpr int kColorBars[] = {IDC_LIG_RED, IDC_LIG_GREEN, IDC_LIG_BLUE};
constexpr int kColorTexts[] = {IDC_LIG_RED_TEXT, IDC_LIG_GREEN_TEXT, IDC_LIG_BLUE_TEXT};
constexpr int kSliderMax = 100;

// The colour sliders' positions while the box is open: red, green, blue.
int positions[3];

void ShowComponent(HWND dialog, int i) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", addLightColor[i]);
    SetDlgItemTextA(dialog, kColorTexts[i], text);
}

BOOL OnInitDialog(HWND dialog) {
    if (addLightKind >= 1 && addLightKind <= 5)
        SendDlgItemMessageA(dialog, kKindButtons[addLightKind - 1], BM_SETCHECK, BST_CHECKED, 0);
    for (int i = 0; i < 3; ++i) {
        positions[i] = static_cast<int>(addLightColor[i] * 100.0);
        HWND bar = GetDlgItem(dialog, kColorBars[i]);
        SetScrollRange(bar, SB_CTL, 0, kSliderMax, FALSE);
        SetScrollPos(bar, SB_CTL, positions[i], FALSE);
        ShowComponent(dialog, i);
    }
    return TRUE;
}

BOOL OnScroll(HWND dialog, WPARAM wParam, HWND bar) {
    const int i = GetWindowLongA(bar, GWL_ID) - IDC_LIG_RED;
    if (i < 0 || i > 2) return FALSE;
    const std::optional<int> moved = SteppedPosition(positions[i], wParam, kSliderMax);
    if (!moved) return FALSE;
    positions[i] = *moved;
    addLightColor[i] = static_cast<float>(*moved * 0.01);
    ShowComponent(dialog, i);
    SetScrollPos(bar, SB_CTL, *moved, TRUE);
    return TRUE;
}

// OK: the light of the chosen kind, or a word that none is chosen. The box stays open when
// nothing was added.
BOOL AddChosenLight(HWND dialog) {
    if (addLightKind == 0) {
        MessageBoxA(dialog, "Please define light type.", "Virelux Report", MB_OK);
        return FALSE;
    }
    danceActive = 0;
    // Facing along (0, -1, 0) and not turning: straight down from above the scene's centre.
    SetPlacement(addLightColor[0], addLightColor[1], addLightColor[2], 0.0f, 15.0f, -5.0f, 0.2f, 0.2f, 0.2f, 0.0f,
                 -1.0f, 0.0f, 0.0f);
    if (!AddLight(addLightKind)) return FALSE;   // it has said why
    EndDialog(dialog, 0);
    return TRUE;
}

BOOL OnCommand(HWND dialog, WORD id) {
    for (int kind = 1; kind <= 5; ++kind)
        if (id == kKindButtons[kind - 1]) {
            addLightKind = kind;
            return FALSE;
        }
    switch (id) {
    case IDOK: return AddChosenLight(dialog);
    case IDCANCEL:
        addLightKind = 0;
        EndDialog(dialog, 0);
        return TRUE;
    default: return FALSE;
    }
}

}  // namespace

INT_PTR LigBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_HSCROLL: return OnScroll(dialog, wParam, reinterpret_cast<HWND>(lParam));
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}
