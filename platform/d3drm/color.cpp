// Packed colours and the small vector helpers of the engine's API.
// Implements: D3DRMCreateColorRGBA, D3DRMCreateColorRGB, D3DRMColorGetAlpha/Red/Green/Blue,
// D3DRMVectorCrossProduct, D3DRMVectorNormalize. Leaves out the other vector helpers.
#include <algorithm>
#include <cmath>

#include "platform/d3drm/d3drm_types.h"

static DWORD Channel(D3DVALUE v) { return static_cast<DWORD>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

D3DCOLOR D3DRMCreateColorRGBA(D3DVALUE r, D3DVALUE g, D3DVALUE b, D3DVALUE a) {
    return (Channel(a) << 24) | (Channel(r) << 16) | (Channel(g) << 8) | Channel(b);
}
D3DCOLOR D3DRMCreateColorRGB(D3DVALUE r, D3DVALUE g, D3DVALUE b) { return D3DRMCreateColorRGBA(r, g, b, 1.0f); }
D3DVALUE D3DRMColorGetAlpha(D3DCOLOR c) { return static_cast<D3DVALUE>((c >> 24) & 0xFF) / 255.0f; }
D3DVALUE D3DRMColorGetRed(D3DCOLOR c) { return static_cast<D3DVALUE>((c >> 16) & 0xFF) / 255.0f; }
D3DVALUE D3DRMColorGetGreen(D3DCOLOR c) { return static_cast<D3DVALUE>((c >> 8) & 0xFF) / 255.0f; }
D3DVALUE D3DRMColorGetBlue(D3DCOLOR c) { return static_cast<D3DVALUE>(c & 0xFF) / 255.0f; }

LPD3DVECTOR D3DRMVectorCrossProduct(LPD3DVECTOR r, const D3DVECTOR* a, const D3DVECTOR* b) {
    const D3DVECTOR v{a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x};
    *r = v;
    return r;
}

LPD3DVECTOR D3DRMVectorNormalize(LPD3DVECTOR v) {
    const float length = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z);
    if (length == 0.0f) return nullptr;
    v->x /= length;
    v->y /= length;
    v->z /= length;
    return v;
}
