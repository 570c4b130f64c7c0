// Internal to platform/d3drm: a light. It lights the whole scene of the frame it is added to.
#pragma once

#include "platform/d3drm/object.h"

class Light final : public Object<IDirect3DRMLight> {
public:
    Light(D3DRMLIGHTTYPE type, D3DCOLOR color) : type(type), color(color) {}

    HRESULT SetType(D3DRMLIGHTTYPE value) override;
    D3DRMLIGHTTYPE GetType() override { return type; }
    HRESULT SetColor(D3DCOLOR value) override;
    HRESULT SetColorRGB(D3DVALUE r, D3DVALUE g, D3DVALUE b) override;
    D3DCOLOR GetColor() override { return color; }
    HRESULT SetRange(D3DVALUE value) override { return Set(range, value); }
    D3DVALUE GetRange() override { return range; }
    HRESULT SetUmbra(D3DVALUE value) override { return Set(umbra, value); }
    D3DVALUE GetUmbra() override { return umbra; }
    HRESULT SetPenumbra(D3DVALUE value) override { return Set(penumbra, value); }
    D3DVALUE GetPenumbra() override { return penumbra; }
    HRESULT SetConstantAttenuation(D3DVALUE value) override { return Set(constantAttenuation, value); }
    D3DVALUE GetConstantAttenuation() override { return constantAttenuation; }
    HRESULT SetLinearAttenuation(D3DVALUE value) override { return Set(linearAttenuation, value); }
    D3DVALUE GetLinearAttenuation() override { return linearAttenuation; }
    HRESULT SetQuadraticAttenuation(D3DVALUE value) override { return Set(quadraticAttenuation, value); }
    D3DVALUE GetQuadraticAttenuation() override { return quadraticAttenuation; }
    HRESULT Clone(IUnknown* outer, REFIID iid, void** copy) override;

    static Light* From(IDirect3DRMLight* l) { return static_cast<Light*>(l); }

    // The engine's defaults.
    D3DRMLIGHTTYPE type;
    D3DCOLOR color;
    D3DVALUE range = 256.0f;
    D3DVALUE umbra = 0.4f;      // radians
    D3DVALUE penumbra = 0.8f;   // radians
    D3DVALUE constantAttenuation = 1.0f;
    D3DVALUE linearAttenuation = 0.0f;
    D3DVALUE quadraticAttenuation = 0.0f;

protected:
    void* Query(REFIID iid) override;

private:
    static HRESULT Set(D3DVALUE& field, D3DVALUE value) {
        if (value < 0.0f) return D3DRMERR_BADVALUE;
        field = value;
        return D3DRM_OK;
    }
};
