#include "render3d/render_quality.h"

#include "settings/shared.h"

int fillChoice = 0;
int shadeChoice = 0;
BYTE ditherOn = 1;
BYTE filterOn = 1;

static int FillChoiceOf(DWORD fill) {
    switch (fill) {
    case D3DRMFILL_POINTS: return 0;
    case D3DRMFILL_WIREFRAME: return 1;
    case D3DRMFILL_SOLID: return 2;
    default: return -1;
    }
}

static int ShadeChoiceOf(DWORD shade) {
    switch (shade) {
    case D3DRMSHADE_FLAT: return 4;
    case D3DRMSHADE_GOURAUD: return 5;
    case D3DRMSHADE_PHONG: return 6;
    default: return -1;
    }
}

// Replaces only the bits of `mask` in the device's quality.
static bool SetQualityBits(DWORD mask, DWORD bits) {
    IDirect3DRMDevice3* device = appState->device.get();
    return device && device->SetQuality((device->GetQuality() & ~mask) | bits) == D3DRM_OK;
}

bool SetFillMode(HWND, DWORD fill) {
    if (!SetQualityBits(D3DRMFILL_MASK, fill)) {
        ReportError("Setting the fill mode failed.");
        return false;
    }
    fillChoice = FillChoiceOf(fill);
    return true;
}

bool SetShadeMode(HWND, DWORD shade) {
    if (!SetQualityBits(D3DRMSHADE_MASK, shade)) {
        ReportError("Setting the shade mode failed");
        return false;
    }
    shadeChoice = ShadeChoiceOf(shade);
    return true;
}

bool ToggleDither(HWND) {
    IDirect3DRMDevice3* device = appState->device.get();
    if (!device || device->SetDither(!device->GetDither()) != D3DRM_OK) {
        ReportError("Toggling dithering failed.");
        return false;
    }
    ditherOn = !ditherOn;
    return true;
}

bool ToggleFiltering(HWND) {
    IDirect3DRMDevice3* device = appState->device.get();
    const D3DRMTEXTUREQUALITY next =
        device && device->GetTextureQuality() == D3DRMTEXTURE_LINEAR ? D3DRMTEXTURE_NEAREST : D3DRMTEXTURE_LINEAR;
    if (!device || device->SetTextureQuality(next) != D3DRM_OK) {
        ReportError("Setting texture filtering failed.");
        return false;
    }
    filterOn = !filterOn;
    return true;
}
