#include "render3d/driver.h"

#include <cstring>

#include "app/shared.h"

Ref<IDirect3DRM3> d3drm;
Ref<IDirectDrawClipper> clipper;
int displayBitDepth = 0;
GUID driverGuids[kMaxDrivers];
char driverNames[kMaxDrivers][50];
int driverCount = 0;
int currentDriver = -1;
BYTE currentIsHardware = 0;
BYTE currentIsMono = 0;

bool CreateWindowClipper(HWND window) {
    if (DirectDrawCreateClipper(0, clipper.put(), nullptr) != DD_OK) return false;
    if (clipper->SetHWnd(0, window) != DD_OK) {
        clipper.reset();
        return false;
    }
    HDC dc = GetDC(window);
    displayBitDepth = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(window, dc);
    return true;
}

bool EnumerateDrivers(HMENU menu) {
    // FIXME: one driver, the window's OpenGL renderer, until the device list is enumerated.
    driverCount = 1;
    currentDriver = 0;
    currentIsHardware = 1;
    currentIsMono = 0;
    std::strncpy(driverNames[0], "OpenGL", sizeof driverNames[0]);
    for (int i = 0; i < driverCount; ++i)
        InsertMenuA(menu, static_cast<UINT>(7 + i), MF_BYPOSITION, static_cast<UINT_PTR>(80 + i), driverNames[i]);
    return true;
}

bool CreateDevice(HWND window) {
    Ref<IDirect3DRM> rm;
    if (Direct3DRMCreate(rm.put()) != D3DRM_OK) return false;
    if (rm->QueryInterface(IID_IDirect3DRM3, reinterpret_cast<void**>(d3drm.put())) != S_OK) return false;
    rm.reset();
    delete appState;
    appState = new AppState();
    RECT client;
    GetClientRect(window, &client);
    return d3drm->CreateDeviceFromClipper(clipper.get(), &driverGuids[currentDriver], client.right, client.bottom,
                                          appState->device.put()) == D3DRM_OK;
}

HRESULT CreateSceneViewport(IDirect3DRMDevice3* device, IDirect3DRMFrame3* camera, Ref<IDirect3DRMViewport2>* viewport) {
    return d3drm->CreateViewport(device, camera, 0, 0, device->GetWidth(), device->GetHeight(), viewport->put());
}

static bool RebuildFailed() {
    MessageBoxA(nullptr, "A failure occurred while rebuilding the viewport.\n", "Virelux Message", MB_OK);
    return false;
}

bool RebuildViewport(HWND, int width, int height) {
    AppState& app = *appState;
    if (!app.device || !app.scene || !app.camera) return RebuildFailed();
    const D3DRMRENDERQUALITY quality = app.device->GetQuality();
    const D3DRMTEXTUREQUALITY textureQuality = app.device->GetTextureQuality();
    const BOOL dither = app.device->GetDither();
    const DWORD shades = app.device->GetShades();
    const BOOL fogEnable = app.scene->GetSceneFogEnable();
    D3DVALUE fogStart = 0, fogEnd = 0;
    app.scene->GetSceneFogParams(&fogStart, &fogEnd, nullptr);

    app.device.reset();
    if (d3drm->CreateDeviceFromClipper(clipper.get(), &driverGuids[currentDriver], width, height, app.device.put()) !=
        D3DRM_OK)
        return RebuildFailed();
    Ref<IDirect3DRMViewport2> viewport;
    if (CreateSceneViewport(app.device.get(), app.camera.get(), &viewport) != D3DRM_OK) return RebuildFailed();
    app.viewport = viewport;
    if (app.viewport->SetBack(5000.0f) != D3DRM_OK) return RebuildFailed();

    app.device->SetDither(dither);
    app.device->SetQuality(quality);
    app.device->SetShades(shades);
    app.device->SetTextureQuality(textureQuality);
    app.scene->SetSceneFogEnable(fogEnable);
    app.scene->SetSceneFogParams(fogStart, fogEnd, 1.0f);
    return true;
}

bool ResizeViewport(HWND window, int width, int height) {
    if (appState->viewport && static_cast<int>(appState->viewport->GetWidth()) == width &&
        static_cast<int>(appState->viewport->GetHeight()) == height)
        return true;
    return RebuildViewport(window, width, height);
}
