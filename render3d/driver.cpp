#include "render3d/driver.h"

#include <cstring>
#include <string>

#include "settings/shared.h"

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

DWORD DepthToRenderFlags(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1: return DDBD_1;
    case 2: return DDBD_2;
    case 4: return DDBD_4;
    case 8: return DDBD_8;
    case 16: return DDBD_16;
    case 24: return DDBD_24;
    case 32: return DDBD_32;
    default: return 0;
    }
}

// Why the drivers that render at no depth at all were passed over, as they describe it;
// the user reads it under the "no driver" message.
static std::string unusableDrivers;

HRESULT DriverEnumCallback(GUID* guid, LPSTR description, LPSTR name, D3DDEVICEDESC* hardwareDesc,
                           D3DDEVICEDESC* softwareDesc, void* context) {
    int& chosen = *static_cast<int*>(context);
    const bool hardware = hardwareDesc->dcmColorModel != 0;
    const D3DDEVICEDESC& desc = hardware ? *hardwareDesc : *softwareDesc;
    if (!(desc.dwDeviceRenderBitDepth & DepthToRenderFlags(displayBitDepth))) {
        if (desc.dwDeviceRenderBitDepth == 0 && description) unusableDrivers += std::string("\n\n") + description;
        return D3DENUMRET_OK;
    }

    const int n = driverCount;
    driverGuids[n] = *guid;
    std::strncpy(driverNames[n], name, sizeof driverNames[n] - 1);
    driverNames[n][sizeof driverNames[n] - 1] = '\0';

    // Hardware before software; within a kind the first mono driver before RGB ones.
    const bool mono = desc.dcmColorModel == D3DCOLOR_MONO;
    const bool choose = chosen == -1 || (hardware && !currentIsHardware) ||
                        (hardware == static_cast<bool>(currentIsHardware) && mono && !currentIsMono);
    if (choose) {
        chosen = n;
        currentIsHardware = hardware ? 1 : 0;
        currentIsMono = mono ? 1 : 0;
    }
    ++driverCount;
    return driverCount == kMaxDrivers ? D3DENUMRET_CANCEL : D3DENUMRET_OK;
}

static bool DriverMessage(const char* text) {
    MessageBoxA(nullptr, text, "Virelux Message", MB_OK);
    return false;
}

bool EnumerateDrivers(HMENU menu) {
    Ref<IDirectDraw> dd;
    if (DirectDrawCreate(nullptr, dd.put(), nullptr) != S_OK) return DriverMessage("Creation of DirectDraw HEL failed.\n");
    Ref<IDirect3D> d3d;
    if (dd->QueryInterface(IID_IDirect3D, reinterpret_cast<void**>(d3d.put())) != S_OK)
        return DriverMessage("Creation of Direct3D interface failed.\n");
    currentDriver = -1;
    unusableDrivers.clear();
    if (d3d->EnumDevices(DriverEnumCallback, &currentDriver) != S_OK)
        return DriverMessage("Enumeration of drivers failed.\n");
    if (driverCount == 0) {
        const std::string text = "Could not find a D3D driver which is compatible with this display depth" + unusableDrivers;
        return DriverMessage(text.c_str());
    }
    d3d.reset();
    dd.reset();
    // Positions past the popup's end: the names follow its own items, in order.
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
    fogEnable = app.scene->GetSceneFogEnable();

    // The old device and viewport stay in place until their successors exist: a driver that
    // cannot make a device (a failed driver switch) leaves the show on the one it had.
    Ref<IDirect3DRMDevice3> device;
    if (d3drm->CreateDeviceFromClipper(clipper.get(), &driverGuids[currentDriver], width, height, device.put()) !=
        D3DRM_OK)
        return RebuildFailed();
    Ref<IDirect3DRMViewport2> viewport;
    if (CreateSceneViewport(device.get(), app.camera.get(), &viewport) != D3DRM_OK) return RebuildFailed();
    if (viewport->SetBack(5000.0f) != D3DRM_OK) return RebuildFailed();
    app.viewport = viewport;
    app.device = device;

    app.device->SetDither(dither);
    app.device->SetQuality(quality);
    app.device->SetShades(shades);
    app.device->SetTextureQuality(textureQuality);
    app.scene->SetSceneFogEnable(fogEnable);
    app.scene->SetSceneFogParams(fogStart, fogEnd, 1.0f);
    return true;
}

void ChangeDriver(HWND window, int k) {
    if (k == currentDriver || k < 0 || k >= driverCount) return;
    const int previous = currentDriver;
    currentDriver = k;
    RECT client;
    GetClientRect(window, &client);
    if (!RebuildViewport(window, client.right, client.bottom)) currentDriver = previous;
}

bool ResizeViewport(HWND window, int width, int height) {
    if (appState->viewport && static_cast<int>(appState->viewport->GetWidth()) == width &&
        static_cast<int>(appState->viewport->GetHeight()) == height)
        return true;
    return RebuildViewport(window, width, height);
}
