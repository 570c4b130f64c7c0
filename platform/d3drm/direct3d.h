// DirectDraw and Direct3D as far as driver enumeration goes: the display's DirectDraw
// object and the list of 3D devices it offers, described by the real OpenGL renderer.
// Declares: DirectDrawCreate and the device enumeration; no surfaces or display modes.
#pragma once

#include "platform/win32/win32.h"

using D3DCOLORMODEL = DWORD;
constexpr DWORD D3DCOLOR_MONO = 1;
constexpr DWORD D3DCOLOR_RGB = 2;

// DirectDraw bit-depth flags.
constexpr DWORD DDBD_1 = 0x4000;
constexpr DWORD DDBD_2 = 0x2000;
constexpr DWORD DDBD_4 = 0x1000;
constexpr DWORD DDBD_8 = 0x0800;
constexpr DWORD DDBD_16 = 0x0400;
constexpr DWORD DDBD_24 = 0x0200;
constexpr DWORD DDBD_32 = 0x0100;

// What a device can do, as far as the enumeration tells it.
struct D3DDEVICEDESC {
    DWORD dwSize = sizeof(D3DDEVICEDESC);
    DWORD dwFlags = 0;
    D3DCOLORMODEL dcmColorModel = 0;       // 0: this description does not apply
    DWORD dwDeviceRenderBitDepth = 0;      // DDBD_* flags of the depths it renders at
};

constexpr HRESULT D3DENUMRET_CANCEL = 0;
constexpr HRESULT D3DENUMRET_OK = 1;

// Called once per device: its GUID, description and name, and its hardware and software
// (emulation) descriptions. Returns D3DENUMRET_OK to go on. A device that renders at no
// depth at all (dwDeviceRenderBitDepth 0) is unusable here, and its description says why.
using LPD3DENUMDEVICESCALLBACK = HRESULT (*)(GUID* guid, LPSTR description, LPSTR name, D3DDEVICEDESC* hardware,
                                             D3DDEVICEDESC* software, void* context);

extern const IID IID_IDirect3D;
extern const IID IID_IDirectDraw;

struct IDirect3D : IUnknown {
    virtual HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK callback, void* context) = 0;
};

// QueryInterface(IID_IDirect3D) gives the 3D side.
struct IDirectDraw : IUnknown {};

// nullptr: the primary display's driver.
HRESULT DirectDrawCreate(GUID* driver, IDirectDraw** directDraw, IUnknown* outer);
