// Internal to platform/d3drm: a surface material.
#pragma once

#include <glm/glm.hpp>

#include "platform/d3drm/object.h"

class Material final : public Object<IDirect3DRMMaterial2> {
public:
    explicit Material(D3DVALUE power) : power(power) {}

    HRESULT SetPower(D3DVALUE value) override;
    D3DVALUE GetPower() override { return power; }
    HRESULT SetSpecular(D3DVALUE r, D3DVALUE g, D3DVALUE b) override;
    HRESULT GetSpecular(D3DVALUE* r, D3DVALUE* g, D3DVALUE* b) override;
    HRESULT SetEmissive(D3DVALUE r, D3DVALUE g, D3DVALUE b) override;
    HRESULT GetEmissive(D3DVALUE* r, D3DVALUE* g, D3DVALUE* b) override;
    HRESULT SetAmbient(D3DVALUE r, D3DVALUE g, D3DVALUE b) override;
    HRESULT GetAmbient(D3DVALUE* r, D3DVALUE* g, D3DVALUE* b) override;
    HRESULT Clone(IUnknown* outer, REFIID iid, void** copy) override;

    static Material* From(IDirect3DRMMaterial2* m) { return static_cast<Material*>(m); }

    D3DVALUE power;
    glm::vec3 specular{1.0f};
    glm::vec3 emissive{0.0f};
    glm::vec3 ambient{1.0f};

protected:
    void* Query(REFIID iid) override;
};
