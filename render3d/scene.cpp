#include "render3d/scene.h"

#include <cstring>

#include "settings/shared.h"
#include "content/object_loading.h"
#include "render3d/driver.h"
#include "render3d/lights.h"
#include "render3d/render_quality.h"

D3DVECTOR cameraStart{0.0f, 1.0f, -50.0f};
BOOL fogEnable = 1;
D3DVALUE fogStart = 30.0f;
D3DVALUE fogEnd = 100.0f;
BYTE fogColor[3] = {128, 128, 128};
int fogMode = D3DRMFOG_LINEAR;

bool ConfigureRenderState(HWND window) {
    if (appState->device->SetDither(FALSE) != D3DRM_OK) {
        ReportError("Check Bit pro Pixel error.");
        ReportError("Render state the device.");
        TearDownScene();
        return false;
    }
    ditherOn = 1;
    filterOn = 1;
    appState->device->SetDither(TRUE);
    appState->device->SetTextureQuality(D3DRMTEXTURE_LINEAR);
    SetFillMode(window, D3DRMFILL_SOLID);
    SetShadeMode(window, D3DRMSHADE_GOURAUD);
    return true;
}

bool CreateMainScene(HWND window) {
    if (!ConfigureRenderState(window)) return false;
    if (!CreateScene(window, "bgr\\bgnd.bmp")) return false;
    // Taken by the next ApplyFog: the first scene keeps the initial grey fog.
    fogStart = 30.0f;
    fogEnd = 100.0f;
    fogColor[0] = 32;
    fogColor[1] = 64;
    fogColor[2] = 128;
    defaultMaterial = MaterialRecord{80.0f, 0.8f, 0.1f, 0.1f};

    SetPlacement(0.8f, 0.8f, 0.8f, 6.0f, 6.0f, -20.0f, 0.1f, 0.1f, 0.1f, -0.5f, -1.0f, 0.0f, 0.0f);
    if (!AddLight(4)) return false;
    SetPlacement(0.0f, 0.0f, 0.0f, 0.0f, -4.0f, -10.0f, 4.0f, 4.0f, 4.0f, 0.0f, 1.0f, 0.0f, 0.006f);
    return LoadMeshObject("xda\\vlxlogo.x");
}

bool CreateScene(HWND window, const char* backgroundFile) {
    // A new scene has no flight yet, so picking works again; the Add Light box offers no
    // light type and the Fly movement box shows no path or object chosen.
    flyActive = 0;
    addLightKind = 0;
    pathChoice = 0;
    objectChoice = 0;
    AppState& app = *appState;
    Ref<IDirect3DRMFrame3> empty;
    const bool made = d3drm->CreateFrame(nullptr, app.scene.put()) == D3DRM_OK &&
                      d3drm->CreateFrame(app.scene.get(), app.camera.put()) == D3DRM_OK &&
                      d3drm->CreateFrame(app.scene.get(), empty.put()) == D3DRM_OK &&
                      CreateSceneViewport(app.device.get(), app.camera.get(), &app.viewport) == D3DRM_OK;
    if (!made) {
        ReportError("A failure occurred: Create Scene");
        empty.reset();
        TearDownScene();
        return false;
    }
    app.viewport->SetBack(5000.0f);
    app.camera->SetPosition(empty.get(), cameraStart.x, cameraStart.y, cameraStart.z);
    app.camera->SetRotation(empty.get(), 0.0f, 1.0f, 0.0f, 0.0f);
    empty.reset();

    if (std::strlen(backgroundFile) < 2)
        app.scene->SetSceneBackgroundRGB(0.0f, 0.0f, 0.4f);
    else if (!LoadBackground(window, backgroundFile))
        app.scene->SetSceneBackgroundRGB(0.0f, 0.0f, 0.0f);
    if (!CreateLampLights(window, 1)) return false;
    ApplyFog();
    return true;
}

bool LoadBackground(HWND, const char* file) {
    Ref<IDirect3DRMTexture3> texture;
    if (d3drm->LoadTexture(file, texture.put()) != D3DRM_OK) {
        ReportError("Failed to load Background Image.");
        return false;
    }
    appState->scene->SetSceneBackgroundImage(texture.get());
    return true;
}

void ApplyFog() {
    IDirect3DRMFrame3* scene = appState->scene.get();
    scene->SetSceneFogEnable(fogEnable);
    scene->SetSceneFogMode(static_cast<D3DRMFOGMODE>(fogMode));
    scene->SetSceneFogColor((static_cast<D3DCOLOR>(fogColor[0]) << 16) | (static_cast<D3DCOLOR>(fogColor[1]) << 8) |
                            fogColor[2]);
    scene->SetSceneFogParams(fogStart, fogEnd, 1.0f);
}

void TearDownScene() {
    // The selection holds no reference of its own, and the marker goes with the scene.
    selectedFrame = nullptr;
    selectedVisual = nullptr;
    highlightBox = nullptr;
    for (auto& lamp : lampLights) lamp.reset();
    if (!appState) return;
    appState->viewport.reset();
    appState->camera.reset();
    appState->scene.reset();
}
