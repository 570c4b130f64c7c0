// The 3D driver, the rendering device and the viewport on the main window.
#pragma once

#include "platform/d3drm/d3drm.h"
#include "platform/win32/win32.h"

constexpr int kMaxDrivers = 5;

extern Ref<IDirectDrawClipper> clipper;   // bound to the main window
extern int displayBitDepth;               // the window's display, measured at creation
extern GUID driverGuids[kMaxDrivers];
extern char driverNames[kMaxDrivers][50];
extern int driverCount;                   // 0..5
extern int currentDriver;                 // index of the chosen driver, -1 before the choice
extern BYTE currentIsHardware;
extern BYTE currentIsMono;

// Makes the clipper for a new window and measures the display depth.
bool CreateWindowClipper(HWND window);
// The DirectDraw bit-depth flag of a display depth (0 for depths no driver renders at).
DWORD DepthToRenderFlags(int bitsPerPixel);
// The device enumeration's callback: keeps up to five drivers that render at the display's
// depth and chooses one (`context` points at currentDriver).
HRESULT DriverEnumCallback(GUID* guid, LPSTR description, LPSTR name, D3DDEVICEDESC* hardwareDesc,
                           D3DDEVICEDESC* softwareDesc, void* context);
// Chooses the driver and appends the drivers' names to `menu` (commands 80..84).
bool EnumerateDrivers(HMENU menu);
// Makes the engine's root object, a new AppState and the device on the window.
bool CreateDevice(HWND window);
// A new device of the given size on the current driver and a new viewport, carrying the
// render settings over; reads the scene's fog switch into fogEnable and puts fogEnable,
// fogStart and fogEnd back on the scene. Reports its own failure, after which the old
// device and viewport are still in place.
bool RebuildViewport(HWND window, int width, int height);
// Switches to driver k (a choice of commands 80..84): rebuilds at the client size, and puts
// the old choice back when the rebuild fails. Choosing the current driver does nothing.
void ChangeDriver(HWND window, int k);
// Rebuilds only when the size differs from the viewport's.
bool ResizeViewport(HWND window, int width, int height);
// The viewport every scene uses: the whole device, far plane at 5000.
HRESULT CreateSceneViewport(IDirect3DRMDevice3* device, IDirect3DRMFrame3* camera, Ref<IDirect3DRMViewport2>* viewport);
