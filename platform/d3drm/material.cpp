// Materials: IDirect3DRMMaterial2's Set/GetPower, Set/GetSpecular, Set/GetEmissive,
// Set/GetAmbient and Clone (Clone's outer object is ignored).
#include "platform/d3drm/material.h"

#include "platform/d3drm/factories.h"

static HRESULT Put(glm::vec3& v, D3DVALUE r, D3DVALUE g, D3DVALUE b) {
    v = glm::vec3(r, g, b);
    return D3DRM_OK;
}

static HRESULT Get(const glm::vec3& v, D3DVALUE* r, D3DVALUE* g, D3DVALUE* b) {
    if (!r || !g || !b) return D3DRMERR_BADVALUE;
    *r = v.r;
    *g = v.g;
    *b = v.b;
    return D3DRM_OK;
}

HRESULT Material::SetPower(D3DVALUE value) {
    power = value;
    return D3DRM_OK;
}
HRESULT Material::SetSpecular(D3DVALUE r, D3DVALUE g, D3DVALUE b) { return Put(specular, r, g, b); }
HRESULT Material::GetSpecular(D3DVALUE* r, D3DVALUE* g, D3DVALUE* b) { return Get(specular, r, g, b); }
HRESULT Material::SetEmissive(D3DVALUE r, D3DVALUE g, D3DVALUE b) { return Put(emissive, r, g, b); }
HRESULT Material::GetEmissive(D3DVALUE* r, D3DVALUE* g, D3DVALUE* b) { return Get(emissive, r, g, b); }
HRESULT Material::SetAmbient(D3DVALUE r, D3DVALUE g, D3DVALUE b) { return Put(ambient, r, g, b); }
HRESULT Material::GetAmbient(D3DVALUE* r, D3DVALUE* g, D3DVALUE* b) { return Get(ambient, r, g, b); }

HRESULT Material::Clone(IUnknown*, REFIID iid, void** copy) {
    if (!copy) return D3DRMERR_BADVALUE;
    auto* material = new Material(power);
    material->specular = specular;
    material->emissive = emissive;
    material->ambient = ambient;
    Ref<IDirect3DRMMaterial2> made = Ref<IDirect3DRMMaterial2>::Adopt(material);
    return made->QueryInterface(iid, copy);
}

void* Material::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMMaterial2) return static_cast<IDirect3DRMMaterial2*>(this);
    return Object::Query(iid);
}

HRESULT CreateMaterialObject(D3DVALUE power, IDirect3DRMMaterial2** out) {
    if (!out) return D3DRMERR_BADVALUE;
    *out = new Material(power);
    return D3DRM_OK;
}
