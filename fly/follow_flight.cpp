// The follow flight: its start, the per-frame step on the camera and the end when the camera goes.
#include "fly/follow_flight.h"

#include <algorithm>

#include "content/textures.h"
#include "fly/fly_paths.h"

FlyState flyState;

namespace {

constexpr D3DVALUE kModelScale = 0.05f;
constexpr float kObjectLead = 0.5f;   // path time the model and the light fly ahead of the camera
constexpr float kAimLead = 0.6f;      // path time of the point the model heads for

// Loads the flying model, scaled down, into the object frame.
bool LoadFlyModel(const char* meshName, IDirect3DRMFrame3* objectFrame) {
    Ref<IDirect3DRMMeshBuilder3> builder;
    if (d3drm->CreateMeshBuilder(builder.put()) != D3DRM_OK) return false;
    if (builder->Load(meshName, nullptr, D3DRMLOAD_FROMFILE, nullptr, nullptr) != D3DRM_OK) {
        ReportError("Failed to load Fly-Mesh");
        return false;
    }
    if (!ApplyDefaultMaterial(builder.get())) return false;
    builder->Scale(kModelScale, kModelScale, kModelScale);
    return objectFrame->AddVisual(builder.get()) == D3DRM_OK;
}

// A white spot light pointing down, flown beside the model.
void MakeFlyLight(FlyState& fly, IDirect3DRMFrame3* scene) {
    Ref<IDirect3DRMLight> light;
    if (d3drm->CreateFrame(scene, fly.lightFrame.put()) != D3DRM_OK ||
        d3drm->CreateLightRGB(D3DRMLIGHT_SPOT, 1.0f, 1.0f, 1.0f, light.put()) != D3DRM_OK)
        return;
    fly.lightOn = 1;
    fly.lightFrame->SetOrientation(scene, 0.0f, -1.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    fly.lightFrame->SetPosition(scene, 0.0f, 1.0f, 0.0f);
    fly.lightFrame->AddLight(light.get());
}

}  // namespace

bool StartFollowFly(const char* meshName) {
    if (!appState || !appState->scene || !appState->camera) return false;
    IDirect3DRMFrame3* scene = appState->scene.get();
    FlyState& fly = flyState;
    if (d3drm->CreateFrame(scene, fly.objectFrame.put()) != D3DRM_OK ||
        d3drm->CreateFrame(scene, fly.aimFrame.put()) != D3DRM_OK)
        return false;

    if (flyPathCount != 0)
        fly.animation = MakeFlightPath(flyPathPoints, std::min(flyPathCount, kFollowKeyCount));
    else
        fly.animation = MakeFlightPath(kDefaultFollowPath, kFollowKeyCount);
    if (!fly.animation) return false;

    if (meshName && *meshName && !LoadFlyModel(meshName, fly.objectFrame.get())) {
        // The frames and the path stay until the next start replaces them.
        ReportError("Failed to Created Fly-Animation.");
        return false;
    }
    if (flyLight) MakeFlyLight(fly, scene);

    appState->camera->AddMoveCallback(FollowStep, &fly, 0);
    appState->camera->AddDestroyCallback(FollowEnd, &fly);
    return true;
}

void FollowStep(IDirect3DRMFrame3* camera, void* state, D3DVALUE) {
    FlyState& fly = *static_cast<FlyState*>(state);
    if (!fly.animation) return;
    Ref<IDirect3DRMFrame3> root;
    camera->GetScene(root.put());
    fly.time += animationStep;

    IDirect3DRMAnimation2* path = fly.animation.get();
    path->SetFrame(camera);
    path->SetTime(fly.time);
    path->SetFrame(fly.objectFrame.get());
    path->SetTime(fly.time + kObjectLead);
    path->SetFrame(fly.aimFrame.get());
    path->SetTime(fly.time + kAimLead);

    fly.objectFrame->LookAt(fly.aimFrame.get(), root.get(), D3DRMCONSTRAIN_Y);
    camera->LookAt(fly.objectFrame.get(), root.get(), D3DRMCONSTRAIN_Z);
    D3DVECTOR camDir, camUp;
    camera->GetOrientation(root.get(), &camDir, &camUp);

    if (fly.lightOn) {
        path->SetFrame(fly.lightFrame.get());
        path->SetTime(fly.time + kObjectLead);
        fly.lightFrame->LookAt(fly.aimFrame.get(), root.get(), D3DRMCONSTRAIN_Y);
        camera->LookAt(fly.lightFrame.get(), root.get(), D3DRMCONSTRAIN_Z);
    }

    // The difference between the model's heading and the camera's tilts the model's up
    // vector: the model banks into the turns.
    D3DVECTOR objDir, objUp;
    fly.objectFrame->GetOrientation(root.get(), &objDir, &objUp);
    const D3DVECTOR up{objDir.x - camDir.x, objDir.y - camDir.y + 1.0f, objDir.z - camDir.z};
    fly.objectFrame->SetOrientation(root.get(), objDir.x, objDir.y, objDir.z, up.x, up.y, up.z);
    if (fly.lightOn) fly.lightFrame->SetOrientation(root.get(), objDir.x, objDir.y, objDir.z, up.x, up.y, up.z);
}

void FollowEnd(IDirect3DRMObject*, void* state) {
    FlyState& fly = *static_cast<FlyState*>(state);
    fly.lightOn = 0;
    fly.aimFrame.reset();
    fly.objectFrame.reset();
    fly.lightFrame.reset();
    fly.animation.reset();
}
