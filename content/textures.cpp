#include "content/textures.h"

MaterialRecord defaultMaterial;

static bool ApplyMaterial(IDirect3DRMMeshBuilder3* meshBuilder, const MaterialRecord& m) {
    Ref<IDirect3DRMMaterial2> material;
    if (d3drm->CreateMaterial(m.power, material.put()) != D3DRM_OK) return false;
    material->SetPower(m.power);
    material->SetSpecular(m.specular, m.specular, m.specular);
    material->SetEmissive(m.emissive, m.emissive, m.emissive);
    material->SetAmbient(m.ambient, m.ambient, m.ambient);
    return meshBuilder->SetMaterial(material.get()) == D3DRM_OK;
}

bool ApplyColorMaterial(IDirect3DRMMeshBuilder3* meshBuilder) {
    defaultMaterial = MaterialRecord{placement.red, placement.green, placement.blue, placement.ambient};
    return ApplyMaterial(meshBuilder, defaultMaterial);
}

bool ApplyDefaultMaterial(IDirect3DRMMeshBuilder3* meshBuilder) { return ApplyMaterial(meshBuilder, defaultMaterial); }

// The decal settings both pictures on meshes and free-standing decals use.
static void SetDecal(IDirect3DRMTexture3* texture, int transparent, D3DVALUE width, D3DVALUE height) {
    texture->SetDecalOrigin(0, 0);
    texture->SetDecalScale(TRUE);
    texture->SetDecalSize(width, height);
    texture->SetDecalTransparency(transparent ? TRUE : FALSE);
    texture->SetDecalTransparentColor(D3DRMCreateColorRGB(placement.red, placement.green, placement.blue));
}

bool ApplyMeshTexture(const char* file, IDirect3DRMMeshBuilder3* meshBuilder, int transparent, D3DVALUE width,
                      D3DVALUE height) {
    Ref<IDirect3DRMTexture3> texture;
    if (d3drm->LoadTexture(file, texture.put()) != D3DRM_OK) {
        ReportError("Failed to load image.bmp");
        return false;
    }
    SetDecal(texture.get(), transparent, width, height);
    meshBuilder->SetTexture(texture.get());
    return true;
}

bool ApplyTextureWrap(IDirect3DRMMeshBuilder3* meshBuilder, int wrap, D3DVALUE width, D3DVALUE height) {
    D3DRMBOX box;
    if (meshBuilder->GetBox(&box) != D3DRM_OK) return false;
    const D3DVALUE h = box.max.y - box.min.y;
    D3DRMWRAPTYPE kind = D3DRMWRAP_CHROME;
    D3DVALUE originY = 0.0f, scaleU = width;
    switch (wrap) {
    case 1: kind = D3DRMWRAP_FLAT; originY = 2.0f; scaleU = width * 0.25f; break;
    case 2: kind = D3DRMWRAP_SPHERE; break;
    case 3: kind = D3DRMWRAP_CYLINDER; break;
    default: break;
    }
    // A model without height: the picture is not stretched along v.
    const D3DVALUE originV = h != 0.0f ? box.min.y / h : 0.0f;
    const D3DVALUE scaleV = h != 0.0f ? -height / h : -height;
    Ref<IDirect3DRMWrap> made;
    if (d3drm->CreateWrap(kind, nullptr, 0.0f, originY, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, originV, scaleU,
                          scaleV, made.put()) != D3DRM_OK)
        return false;
    return made->Apply(meshBuilder) == D3DRM_OK;
}

bool AddImageDecal(const char* file, int transparent, D3DVALUE width, D3DVALUE height) {
    Ref<IDirect3DRMTexture3> texture;
    if (d3drm->LoadTexture(file, texture.put()) != D3DRM_OK) {
        ReportError("Failed to load texture.bmp");
        return false;
    }
    SetDecal(texture.get(), transparent, width, height);
    Ref<IDirect3DRMFrame3> frame;
    if (d3drm->CreateFrame(appState->scene.get(), frame.put()) != D3DRM_OK) return false;
    frame->SetPosition(appState->scene.get(), placement.position.x, placement.position.y, placement.position.z);
    frame->AddVisual(texture.get());
    return true;
}
