// The DirectDraw objects the program needs: a clipper bound to a window, through which the
// 3D device renders into that window.
// Declares: IDirectDrawClipper (SetHWnd, GetHWnd) and DirectDrawCreateClipper; no clip lists.
#pragma once

#include "platform/win32/win32.h"

constexpr HRESULT DD_OK = 0;
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_INVALIDOBJECT = static_cast<HRESULT>(0x88760082);

extern const IID IID_IDirectDrawClipper;

struct IDirectDrawClipper : IUnknown {
    virtual HRESULT SetHWnd(DWORD flags, HWND hwnd) = 0;   // binds the clipper to a window
    virtual HRESULT GetHWnd(HWND* hwnd) = 0;
};

HRESULT DirectDrawCreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer);
