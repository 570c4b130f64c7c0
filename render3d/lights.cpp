#include "render3d/lights.h"

#include "settings/shared.h"

Ref<IDirect3DRMLight> lampLights[4];
BYTE withLightObject = 1;

namespace {

constexpr const char* kLampModel = "xda\\bas\\light.x";

D3DRMLIGHTTYPE LightTypeOfKind(int kind) {
    switch (kind) {
    case 1: return D3DRMLIGHT_DIRECTIONAL;
    case 2: return D3DRMLIGHT_PARALLELPOINT;
    case 3: return D3DRMLIGHT_POINT;
    default: return D3DRMLIGHT_SPOT;
    }
}

struct Lamp {
    D3DVALUE light[3];
    D3DVALUE model[3];
    D3DVECTOR direction;
};

// Red, green, blue; the ambient light's frame comes last and has no model.
constexpr Lamp kLamps[3] = {
    {{0.2f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.8f, -0.6f, 1.0f}},
    {{0.0f, 0.2f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.1f, 1.0f}},
    {{0.0f, 0.0f, 0.2f}, {0.0f, 0.0f, 1.0f}, {-0.8f, -0.6f, 1.0f}},
};
constexpr D3DVECTOR kAmbientDirection{0.0f, -1.0f, 0.0f};

}  // namespace

bool CreateLampLights(HWND window, int kind) {
    IDirect3DRMFrame3* scene = appState->scene.get();
    Ref<IDirect3DRMLight> lights[4];
    d3drm->CreateLightRGB(D3DRMLIGHT_AMBIENT, 0.2f, 0.2f, 0.2f, lights[3].put());
    if (kind < 1 || kind > 4) return false;
    for (int i = 0; i < 3; ++i)
        d3drm->CreateLightRGB(LightTypeOfKind(kind), kLamps[i].light[0], kLamps[i].light[1], kLamps[i].light[2],
                              lights[i].put());

    for (int i = 0; i < 4; ++i) {
        Ref<IDirect3DRMFrame3> frame;
        if (d3drm->CreateFrame(scene, frame.put()) != D3DRM_OK) return false;
        frame->AddLight(lights[i].get());
        lights[i].reset();
        if (withLightObject && i < 3) {
            // Only a model that cannot be loaded is reported; a failed creation is not.
            Ref<IDirect3DRMMeshBuilder3> model;
            if (d3drm->CreateMeshBuilder(model.put()) != D3DRM_OK) return false;
            if (model->Load(kLampModel, nullptr, D3DRMLOAD_FROMFILE, nullptr, nullptr) != D3DRM_OK) {
                MessageBoxA(window, kLampModel, "Load Light Error", MB_OK);
                return false;
            }
            model->SetQuality(D3DRMRENDER_FLAT);
            model->SetColorRGB(kLamps[i].model[0], kLamps[i].model[1], kLamps[i].model[2]);
            model->Scale(0.2f, 0.2f, 0.2f);
            frame->AddVisual(model.get());
        }
        Ref<IDirect3DRMLightArray> held;
        frame->GetLights(held.put());
        if (held && held->GetSize() > 0) held->GetElement(0, lampLights[i].put());
        const D3DVECTOR& d = i < 3 ? kLamps[i].direction : kAmbientDirection;
        frame->SetOrientation(scene, d.x, d.y, d.z, 1.0f, 0.0f, 0.0f);
        frame->SetPosition(scene, -15.0f + 15.0f * static_cast<float>(i), 14.0f, 0.0f);
    }
    return true;
}

bool AddLight(int kind) {
    const Placement& p = placement;
    if (kind == 5) {
        if (lampLights[3]) lampLights[3]->SetColor(D3DRMCreateColorRGB(p.red, p.green, p.blue));
        return true;
    }
    if (kind < 1 || kind > 4) return false;
    Ref<IDirect3DRMLight> light;
    if (d3drm->CreateLightRGB(LightTypeOfKind(kind), p.red, p.green, p.blue, light.put()) != D3DRM_OK) return false;

    Ref<IDirect3DRMMeshBuilder3> model;
    if (d3drm->CreateMeshBuilder(model.put()) != D3DRM_OK) return false;
    if (model->Load(kLampModel, nullptr, D3DRMLOAD_FROMFILE, nullptr, nullptr) != D3DRM_OK) {
        MessageBoxA(nullptr, kLampModel, "Load Light Error", MB_ICONINFORMATION);
        return false;
    }
    model->SetQuality(D3DRMRENDER_GOURAUD);
    model->SetColorRGB(p.red, p.green, p.blue);
    if (p.scale.x > 0.0f && p.scale.y > 0.0f && p.scale.z > 0.0f) model->Scale(p.scale.x, p.scale.y, p.scale.z);

    // The model glows in the light's own colour.
    Ref<IDirect3DRMMaterial2> material;
    if (d3drm->CreateMaterial(64.0f, material.put()) == D3DRM_OK) {
        material->SetPower(64.0f);
        material->SetSpecular(32.0f, 32.0f, 32.0f);
        material->SetEmissive(p.red, p.green, p.blue);
        material->SetAmbient(p.red, p.green, p.blue);
        model->SetMaterial(material.get());
    }

    IDirect3DRMFrame3* scene = appState->scene.get();
    Ref<IDirect3DRMFrame3> frame;
    if (d3drm->CreateFrame(scene, frame.put()) != D3DRM_OK) return false;
    if (p.angle == 0.0f)
        frame->SetOrientation(scene, p.axis.x, p.axis.y, p.axis.z, 1.0f, 0.0f, 0.0f);
    else
        frame->SetRotation(scene, p.axis.x, p.axis.y, p.axis.z, p.angle);
    frame->SetPosition(scene, p.position.x, p.position.y, p.position.z);
    if (frame->AddLight(light.get()) != D3DRM_OK) return false;
    frame->AddVisual(model.get());
    return true;
}
