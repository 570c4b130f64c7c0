// Internal to platform/d3drm: the clipper object behind IDirectDrawClipper.
#pragma once

#include "platform/d3drm/object.h"

class Clipper final : public RefCounted<IDirectDrawClipper> {
public:
    HRESULT SetHWnd(DWORD flags, HWND hwnd) override;
    HRESULT GetHWnd(HWND* hwnd) override;

    HWND Window() const { return hwnd_; }

protected:
    void* Query(REFIID iid) override;

private:
    HWND hwnd_ = nullptr;
};
