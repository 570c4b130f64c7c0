// Internal to platform/d3drm: a picture in RGBA, with its decal settings.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3drm/object.h"

class Texture final : public Object<IDirect3DRMTexture3> {
public:
    Texture(int width, int height, std::vector<std::uint8_t> rgba)
        : width(width), height(height), rgba(std::move(rgba)) {}

    HRESULT SetDecalOrigin(LONG x, LONG y) override;
    HRESULT GetDecalOrigin(LONG* x, LONG* y) override;
    HRESULT SetDecalScale(DWORD scale) override;
    DWORD GetDecalScale() override { return decalScale; }
    HRESULT SetDecalSize(D3DVALUE w, D3DVALUE h) override;
    HRESULT GetDecalSize(D3DVALUE* w, D3DVALUE* h) override;
    HRESULT SetDecalTransparency(BOOL transparent) override;
    BOOL GetDecalTransparency() override { return transparency; }
    HRESULT SetDecalTransparentColor(D3DCOLOR color) override;
    D3DCOLOR GetDecalTransparentColor() override { return transparentColor; }
    DWORD GetWidth() override { return static_cast<DWORD>(width); }
    DWORD GetHeight() override { return static_cast<DWORD>(height); }

    static Texture* From(IDirect3DRMTexture3* t) { return static_cast<Texture*>(t); }
    // The texel at (x, y) from the top left as 0xAARRGGBB.
    D3DCOLOR Texel(int x, int y) const;

    const int width;
    const int height;
    const std::vector<std::uint8_t> rgba;   // rows from the top, 4 bytes a texel
    LONG decalOriginX = 0;
    LONG decalOriginY = 0;
    DWORD decalScale = TRUE;
    D3DVALUE decalWidth = 1.0f;
    D3DVALUE decalHeight = 1.0f;
    BOOL transparency = FALSE;
    D3DCOLOR transparentColor = 0xFF000000;
    unsigned version = 0;   // changes whenever the renderer must upload it again

protected:
    void* Query(REFIID iid) override;
};
