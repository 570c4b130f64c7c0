// The DirectDraw clipper: remembers the window a device renders into.
// Implements: DirectDrawCreateClipper, IDirectDrawClipper's SetHWnd and GetHWnd.
// Leaves out: clip lists; the flags of DirectDrawCreateClipper and SetHWnd are ignored.
#include "platform/d3drm/clipper.h"

void* Clipper::Query(REFIID iid) {
    if (iid == IID_IDirectDrawClipper) return static_cast<IDirectDrawClipper*>(this);
    return RefCounted::Query(iid);
}

HRESULT Clipper::SetHWnd(DWORD, HWND hwnd) {
    if (!IsWindow(hwnd)) return DDERR_INVALIDPARAMS;
    hwnd_ = hwnd;
    return DD_OK;
}

HRESULT Clipper::GetHWnd(HWND* hwnd) {
    if (!hwnd) return DDERR_INVALIDPARAMS;
    *hwnd = hwnd_;
    return DD_OK;
}

HRESULT DirectDrawCreateClipper(DWORD, IDirectDrawClipper** clipper, IUnknown* outer) {
    if (!clipper || outer) return DDERR_INVALIDPARAMS;
    *clipper = new Clipper();
    return DD_OK;
}
