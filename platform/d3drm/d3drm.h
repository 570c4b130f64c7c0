// The retained-mode 3D engine: COM-shaped, reference-counted interfaces with the platform's
// names, returning D3DRM_OK (0) on success. Program code holds owned references in Ref<T>.
#pragma once

#include "platform/d3drm/d3drm_types.h"
#include "platform/d3drm/ddraw.h"
#include "platform/d3drm/ref.h"
#include "platform/win32/win32.h"

struct IDirect3DRMObject;
struct IDirect3DRMFrame3;
struct IDirect3DRMDevice3;
struct IDirect3DRMViewport2;

extern const IID IID_IDirect3DRM;
extern const IID IID_IDirect3DRM3;
extern const IID IID_IDirect3DRMObject;
extern const IID IID_IDirect3DRMVisual;
extern const IID IID_IDirect3DRMFrame3;
extern const IID IID_IDirect3DRMDevice3;
extern const IID IID_IDirect3DRMWinDevice;
extern const IID IID_IDirect3DRMViewport2;

using D3DRMOBJECTCALLBACK = void (*)(IDirect3DRMObject* object, void* arg);
using D3DRMFRAME3MOVECALLBACK = void (*)(IDirect3DRMFrame3* frame, void* arg, D3DVALUE delta);

// Every engine object: reference counting, destroy callbacks (run once, when the last
// reference goes), application data and a name.
struct IDirect3DRMObject : IUnknown {
    virtual HRESULT AddDestroyCallback(D3DRMOBJECTCALLBACK callback, void* arg) = 0;
    virtual HRESULT DeleteDestroyCallback(D3DRMOBJECTCALLBACK callback, void* arg) = 0;
    virtual HRESULT SetAppData(DWORD data) = 0;
    virtual DWORD GetAppData() = 0;
    virtual HRESULT SetName(LPCSTR name) = 0;
    virtual HRESULT GetName(DWORD* size, LPSTR name) = 0;
};

// Anything a frame can show.
struct IDirect3DRMVisual : IDirect3DRMObject {};

// A node of the scene graph. `reference` names the frame whose coordinates the values are
// given in; nullptr means the frame's parent.
struct IDirect3DRMFrame3 : IDirect3DRMVisual {
    // Hierarchy. A child re-parented with AddChild keeps its local transform.
    virtual HRESULT AddChild(IDirect3DRMFrame3* child) = 0;
    virtual HRESULT DeleteChild(IDirect3DRMFrame3* child) = 0;
    virtual HRESULT GetParent(IDirect3DRMFrame3** parent) = 0;   // nullptr for a root
    virtual HRESULT GetScene(IDirect3DRMFrame3** scene) = 0;     // the root of the hierarchy

    // Placement.
    virtual HRESULT SetPosition(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z) = 0;
    virtual HRESULT GetPosition(IDirect3DRMFrame3* reference, D3DVECTOR* position) = 0;
    virtual HRESULT SetOrientation(IDirect3DRMFrame3* reference, D3DVALUE dx, D3DVALUE dy, D3DVALUE dz, D3DVALUE ux,
                                   D3DVALUE uy, D3DVALUE uz) = 0;
    virtual HRESULT GetOrientation(IDirect3DRMFrame3* reference, D3DVECTOR* dir, D3DVECTOR* up) = 0;

    // Motion, applied once per Move: velocity in units per move, rotation in radians per move.
    virtual HRESULT SetVelocity(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, BOOL withRotation) = 0;
    virtual HRESULT SetRotation(IDirect3DRMFrame3* reference, D3DVALUE x, D3DVALUE y, D3DVALUE z, D3DVALUE theta) = 0;
    virtual HRESULT AddMoveCallback(D3DRMFRAME3MOVECALLBACK callback, void* arg, DWORD flags) = 0;
    virtual HRESULT DeleteMoveCallback(D3DRMFRAME3MOVECALLBACK callback, void* arg) = 0;
    // Advances this frame and its whole hierarchy once: rotation, velocity, then callbacks.
    virtual HRESULT Move(D3DVALUE delta) = 0;

    // Scene settings (meaningful on a root frame).
    virtual HRESULT SetSceneBackgroundRGB(D3DVALUE red, D3DVALUE green, D3DVALUE blue) = 0;
    virtual HRESULT SetSceneBackground(D3DCOLOR color) = 0;
    virtual D3DCOLOR GetSceneBackground() = 0;
    virtual HRESULT SetSceneFogEnable(BOOL enable) = 0;
    virtual BOOL GetSceneFogEnable() = 0;
    virtual HRESULT SetSceneFogMode(D3DRMFOGMODE mode) = 0;
    virtual D3DRMFOGMODE GetSceneFogMode() = 0;
    virtual HRESULT SetSceneFogColor(D3DCOLOR color) = 0;
    virtual D3DCOLOR GetSceneFogColor() = 0;
    virtual HRESULT SetSceneFogParams(D3DVALUE start, D3DVALUE end, D3DVALUE density) = 0;
    virtual HRESULT GetSceneFogParams(D3DVALUE* start, D3DVALUE* end, D3DVALUE* density) = 0;
};

// The rendering device on a window. Render state is plain state the renderer reads.
struct IDirect3DRMDevice3 : IDirect3DRMObject {
    virtual HRESULT Update() = 0;   // shows the rendered frame in the window and presents it
    virtual DWORD GetWidth() = 0;
    virtual DWORD GetHeight() = 0;
    virtual HRESULT SetQuality(D3DRMRENDERQUALITY quality) = 0;
    virtual D3DRMRENDERQUALITY GetQuality() = 0;
    virtual HRESULT SetDither(BOOL dither) = 0;
    virtual BOOL GetDither() = 0;
    virtual HRESULT SetShades(DWORD shades) = 0;
    virtual DWORD GetShades() = 0;
    virtual HRESULT SetTextureQuality(D3DRMTEXTUREQUALITY quality) = 0;
    virtual D3DRMTEXTUREQUALITY GetTextureQuality() = 0;
};

// The device's window-message side, reached with QueryInterface(IID_IDirect3DRMWinDevice).
struct IDirect3DRMWinDevice : IDirect3DRMObject {
    virtual HRESULT HandlePaint(HDC dc) = 0;        // shows the last frame again
    virtual HRESULT HandleActivate(WORD state) = 0;
};

// A camera's view of a scene on a device. Defaults: field 0.5, front 1.0, back 100.0.
struct IDirect3DRMViewport2 : IDirect3DRMObject {
    virtual HRESULT Clear(DWORD flags) = 0;   // to the camera's scene background
    virtual HRESULT Render(IDirect3DRMFrame3* scene) = 0;
    virtual HRESULT SetBack(D3DVALUE back) = 0;
    virtual D3DVALUE GetBack() = 0;
    virtual HRESULT SetFront(D3DVALUE front) = 0;
    virtual D3DVALUE GetFront() = 0;
    virtual HRESULT SetField(D3DVALUE field) = 0;
    virtual D3DVALUE GetField() = 0;
    virtual DWORD GetWidth() = 0;
    virtual DWORD GetHeight() = 0;
    virtual HRESULT SetCamera(IDirect3DRMFrame3* camera) = 0;
    virtual HRESULT GetCamera(IDirect3DRMFrame3** camera) = 0;
};

// The first version of the root object; QueryInterface gives IDirect3DRM3.
struct IDirect3DRM : IUnknown {};

// The root object through which every engine object is made.
struct IDirect3DRM3 : IDirect3DRM {
    virtual HRESULT CreateFrame(IDirect3DRMFrame3* parent, IDirect3DRMFrame3** frame) = 0;
    // A device of width x height on the clipper's window, rendering offscreen until Update.
    virtual HRESULT CreateDeviceFromClipper(IDirectDrawClipper* clipper, const GUID* driver, int width, int height,
                                            IDirect3DRMDevice3** device) = 0;
    virtual HRESULT CreateViewport(IDirect3DRMDevice3* device, IDirect3DRMFrame3* camera, DWORD x, DWORD y,
                                   DWORD width, DWORD height, IDirect3DRMViewport2** viewport) = 0;
    // The folders searched for files that are not found as named (after the current
    // directory and the installation folder).
    virtual HRESULT AddSearchPath(LPCSTR path) = 0;
    virtual HRESULT SetSearchPath(LPCSTR path) = 0;
};

HRESULT Direct3DRMCreate(IDirect3DRM** root);
