// The Render Box: fill and shade mode, dithering and filtering and the fog switch act on the
// device and scene at once; the fog sliders do too while fog is on; the material sliders
// only change what objects loaded later get.
#include "ui/render_box.h"

#include <algorithm>
#include <cstdio>

#include "settings/shared.h"
#include "render3d/render_quality.h"
#include "render3d/scene.h"
#include "resources/resource_ids.h"
#include "ui/scroll_step.h"

namespace {

enum Slider { kFogStart, kFogEnd, kFogRed, kFogGreen, kFogBlue, kEmissive, kSpecular, kPower, kSliderCount };

struct SliderDef {
    int bar;     // the scroll bar's id
    int label;   // the id of the text that shows its value
    int max;     // its range is 0..max
};
constexpr SliderDef kSliders[kSliderCount] = {
    {IDC_REN_FOG_START, IDC_REN_FOG_START_TEXT, 200}, {IDC_REN_FOG_END, IDC_REN_FOG_END_TEXT, 200},
    {IDC_REN_FOG_RED, IDC_REN_FOG_RED_TEXT, 255},     {IDC_REN_FOG_GREEN, IDC_REN_FOG_GREEN_TEXT, 255},
    {IDC_REN_FOG_BLUE, IDC_REN_FOG_BLUE_TEXT, 255},   {IDC_REN_EMISSIVE, IDC_REN_EMISSIVE_TEXT, 100},
    {IDC_REN_SPECULAR, IDC_REN_SPECULAR_TEXT, 100},   {IDC_REN_POWER, IDC_REN_POWER_TEXT, 100},
};

// The sliders' positions while the box is open, by Slider.
int positions[kSliderCount];

// What Cancel puts back: the values found when the box opened.
struct Saved {
    D3DVALUE fogStart = 0.0f;
    D3DVALUE fogEnd = 0.0f;
    BYTE fogColor[3] = {0, 0, 0};
    D3DVALUE emissive = 0.0f;
    D3DVALUE specular = 0.0f;
    D3DVALUE power = 0.0f;
} saved;

constexpr const char* kReportTitle = "Virelux Report";

int SliderOfBar(int id) {
    for (int i = 0; i < kSliderCount; ++i)
        if (kSliders[i].bar == id) return i;
    return -1;
}

bool IsFogSlider(int slider) { return slider <= kFogBlue; }

// The slider's position for the current value, truncated towards zero.
int PositionOfValue(int slider) {
    double p = 0.0;
    switch (slider) {
    case kFogStart: p = fogStart * 0.005 * 200; break;
    case kFogEnd: p = fogEnd * 0.005 * 200; break;
    case kFogRed:
    case kFogGreen:
    case kFogBlue: p = fogColor[slider - kFogRed] * (1.0 / 255) * 255; break;
    case kEmissive: p = (defaultMaterial.emissive - 0.001) * 1.001001 * 100; break;
    case kSpecular: p = (defaultMaterial.specular - 0.001) * 1.001001 * 100; break;
    case kPower: p = (defaultMaterial.power - 1.0) * 0.010101 * 100; break;
    default: break;
    }
    return std::clamp(static_cast<int>(p), 0, kSliders[slider].max);
}

// Shows the slider's value in its label: whole fog distances and colour bytes, material to
// three places.
void ShowValue(HWND dialog, int slider) {
    char text[32];
    switch (slider) {
    case kFogStart: std::snprintf(text, sizeof text, "%3d", static_cast<int>(fogStart)); break;
    case kFogEnd: std::snprintf(text, sizeof text, "%3d", static_cast<int>(fogEnd)); break;
    case kFogRed:
    case kFogGreen:
    case kFogBlue: std::snprintf(text, sizeof text, "%3d", fogColor[slider - kFogRed]); break;
    case kEmissive: std::snprintf(text, sizeof text, "%.3f", defaultMaterial.emissive); break;
    case kSpecular: std::snprintf(text, sizeof text, "%.3f", defaultMaterial.specular); break;
    case kPower: std::snprintf(text, sizeof text, "%.3f", defaultMaterial.power); break;
    default: return;
    }
    SetDlgItemTextA(dialog, kSliders[slider].label, text);
}

// Stores the value of the slider's new position.
void SetValue(int slider, int p) {
    switch (slider) {
    case kFogStart: fogStart = static_cast<D3DVALUE>(p); break;
    case kFogEnd: fogEnd = static_cast<D3DVALUE>(p); break;
    case kFogRed:
    case kFogGreen:
    case kFogBlue: fogColor[slider - kFogRed] = static_cast<BYTE>(p); break;
    case kEmissive: defaultMaterial.emissive = static_cast<D3DVALUE>(p * 0.00999 + 0.001); break;
    case kSpecular: defaultMaterial.specular = static_cast<D3DVALUE>(p * 0.00999 + 0.001); break;
    case kPower: defaultMaterial.power = static_cast<D3DVALUE>(p * 0.99 + 1.0); break;
    default: break;
    }
}

IDirect3DRMFrame3* Scene() { return appState ? appState->scene.get() : nullptr; }

void Check(HWND dialog, int id, bool on) {
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

BOOL OnInitDialog(HWND dialog) {
    saved.fogStart = fogStart;
    saved.fogEnd = fogEnd;
    std::copy(fogColor, fogColor + 3, saved.fogColor);
    saved.emissive = defaultMaterial.emissive;
    saved.specular = defaultMaterial.specular;
    saved.power = defaultMaterial.power;

    if (fillChoice >= 0 && fillChoice <= 2) Check(dialog, IDC_REN_POINTS + fillChoice, true);
    if (shadeChoice >= 4 && shadeChoice <= 6) Check(dialog, IDC_REN_FLAT + shadeChoice - 4, true);
    Check(dialog, IDC_REN_DITHER, ditherOn != 0);
    Check(dialog, IDC_REN_FILTER, filterOn != 0);
    Check(dialog, IDC_REN_FOG, fogEnable != 0);

    for (int i = 0; i < kSliderCount; ++i) {
        positions[i] = PositionOfValue(i);
        HWND bar = GetDlgItem(dialog, kSliders[i].bar);
        SetScrollRange(bar, SB_CTL, 0, kSliders[i].max, FALSE);
        SetScrollPos(bar, SB_CTL, positions[i], FALSE);
        ShowValue(dialog, i);
    }
    return TRUE;
}

BOOL OnScroll(HWND dialog, WPARAM wParam, HWND bar) {
    const int slider = SliderOfBar(GetWindowLongA(bar, GWL_ID));
    if (slider < 0) return FALSE;
    const std::optional<int> moved = SteppedPosition(positions[slider], wParam, kSliders[slider].max);
    if (!moved) return FALSE;
    // Fog values only change while the scene shows fog.
    if (IsFogSlider(slider) && !fogEnable) {
        MessageBoxA(dialog, "Fog not turned on!", kReportTitle, MB_OK);
        return FALSE;
    }
    positions[slider] = *moved;
    SetValue(slider, *moved);
    ShowValue(dialog, slider);
    SetScrollPos(bar, SB_CTL, *moved, TRUE);
    if (!IsFogSlider(slider)) return FALSE;   // the material waits for the next load

    if (IDirect3DRMFrame3* scene = Scene()) {
        if (slider == kFogStart || slider == kFogEnd)
            scene->SetSceneFogParams(fogStart, fogEnd, 1.0f);
        else
            scene->SetSceneFogColor((static_cast<D3DCOLOR>(fogColor[0]) << 16) |
                                    (static_cast<D3DCOLOR>(fogColor[1]) << 8) | fogColor[2]);
    }
    return TRUE;
}

BOOL OnCommand(HWND dialog, WORD id) {
    switch (id) {
    case IDC_REN_POINTS: SetFillMode(dialog, D3DRMFILL_POINTS); break;
    case IDC_REN_WIRE: SetFillMode(dialog, D3DRMFILL_WIREFRAME); break;
    case IDC_REN_SOLID: SetFillMode(dialog, D3DRMFILL_SOLID); break;
    case IDC_REN_FLAT: SetShadeMode(dialog, D3DRMSHADE_FLAT); break;
    case IDC_REN_GOURAUD: SetShadeMode(dialog, D3DRMSHADE_GOURAUD); break;
    case IDC_REN_PHONG: SetShadeMode(dialog, D3DRMSHADE_PHONG); break;
    case IDC_REN_DITHER: ToggleDither(dialog); break;
    case IDC_REN_FILTER: ToggleFiltering(dialog); break;
    case IDC_REN_FOG:
        fogEnable = !fogEnable;
        if (Scene()) ApplyFog();
        break;
    case IDOK:
        EndDialog(dialog, 1);
        return TRUE;
    case IDCANCEL:
        // The settings go back; the scene keeps its fog until the next scene takes them.
        fogStart = saved.fogStart;
        fogEnd = saved.fogEnd;
        std::copy(saved.fogColor, saved.fogColor + 3, fogColor);
        defaultMaterial.emissive = saved.emissive;
        defaultMaterial.specular = saved.specular;
        defaultMaterial.power = saved.power;
        EndDialog(dialog, 0);
        return TRUE;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

INT_PTR RenBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_HSCROLL: return OnScroll(dialog, wParam, reinterpret_cast<HWND>(lParam));
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    default: return FALSE;
    }
}
