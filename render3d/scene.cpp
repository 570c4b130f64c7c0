#include "render3d/scene.h"

#include <cstring>

#include "app/shared.h"
#include "render3d/driver.h"

D3DVECTOR cameraStart{0.0f, 1.0f, -50.0f};

bool CreateMainScene(HWND window) {
    // FIXME: the logo, the lamps, the fog and the background picture join the main scene
    // once the engine draws meshes and loads pictures.
    return CreateScene(window, "");
}

bool CreateScene(HWND window, const char* backgroundFile) {
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
    return true;
}

bool LoadBackground(HWND, const char*) {
    // FIXME: pictures load once the engine has textures; until then every one fails.
    ReportError("Failed to load Background Image.");
    return false;
}

void TearDownScene() {
    if (!appState) return;
    appState->viewport.reset();
    appState->camera.reset();
    appState->scene.reset();
}
