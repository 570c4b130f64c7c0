// Lights: IDirect3DRMLight's SetType, SetColor, SetColorRGB and Clone (Clone's outer object is
// ignored). Range, cones and attenuation are kept with the light (light.h).
#include "platform/d3drm/light.h"

#include "platform/d3drm/factories.h"

HRESULT Light::SetType(D3DRMLIGHTTYPE value) {
    if (value > D3DRMLIGHT_PARALLELPOINT) return D3DRMERR_BADVALUE;
    type = value;
    return D3DRM_OK;
}

HRESULT Light::SetColor(D3DCOLOR value) {
    color = value;
    return D3DRM_OK;
}

HRESULT Light::SetColorRGB(D3DVALUE r, D3DVALUE g, D3DVALUE b) { return SetColor(D3DRMCreateColorRGB(r, g, b)); }

HRESULT Light::Clone(IUnknown*, REFIID iid, void** copy) {
    if (!copy) return D3DRMERR_BADVALUE;
    auto* light = new Light(type, color);
    light->range = range;
    light->umbra = umbra;
    light->penumbra = penumbra;
    light->constantAttenuation = constantAttenuation;
    light->linearAttenuation = linearAttenuation;
    light->quadraticAttenuation = quadraticAttenuation;
    Ref<IDirect3DRMLight> made = Ref<IDirect3DRMLight>::Adopt(light);
    return made->QueryInterface(iid, copy);
}

void* Light::Query(REFIID iid) {
    if (iid == IID_IDirect3DRMLight) return static_cast<IDirect3DRMLight*>(this);
    return Object::Query(iid);
}

HRESULT CreateLightObject(D3DRMLIGHTTYPE type, D3DCOLOR color, IDirect3DRMLight** out) {
    if (!out) return D3DRMERR_BADVALUE;
    *out = nullptr;
    if (type > D3DRMLIGHT_PARALLELPOINT) return D3DRMERR_BADVALUE;
    *out = new Light(type, color);
    return D3DRM_OK;
}
