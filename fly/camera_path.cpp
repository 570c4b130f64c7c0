// The camera paths: their keys, start, per-frame step and end.
#include "fly/camera_path.h"

#include "fly/fly_paths.h"

Ref<IDirect3DRMAnimation2> pathAnimation;
float pathTime = 0.0f;

namespace {

// A camera path's table and how much of each key's z it takes.
struct CameraPathTable {
    const D3DVECTOR* keys;
    D3DVALUE zFactor;
};

const CameraPathTable kCameraPaths[4] = {
    {kStandardPath, 0.5f},        // "Standard"
    {kWavePath, 1.0f},            // "Wave flight"
    {kZoomPath, 1.0f},            // "Zoom flight"
    {kDefaultFollowPath, 0.5f},   // "Round flight": the first 15 keys of the follow path
};

}  // namespace

void StartCameraPath(int pathType) {
    if (!appState || !appState->scene || !appState->camera) return;
    D3DVECTOR keys[kPathKeyCount];
    int count = 0;
    if (pathType >= 0 && pathType < 4) {
        // Around where the camera stood when dancing last switched.
        const CameraPathTable& table = kCameraPaths[pathType];
        for (int k = 0; k < kPathKeyCount; ++k) {
            const D3DVECTOR& key = table.keys[k];
            keys[k] = D3DVECTOR{danceBase.x + key.x, danceBase.y + key.y, danceBase.z + table.zFactor * key.z};
        }
        count = kPathKeyCount;
    }
    Ref<IDirect3DRMAnimation2> path = MakeFlightPath(keys, count);
    if (!path) return;
    pathAnimation = path;

    Ref<IDirect3DRMFrame3> target;   // at the scene's origin; the scene keeps it
    if (d3drm->CreateFrame(appState->scene.get(), target.put()) != D3DRM_OK) return;
    appState->camera->AddMoveCallback(PathStep, target.get(), 0);
    appState->camera->AddDestroyCallback(PathEnd, nullptr);
}

void PathStep(IDirect3DRMFrame3* camera, void* target, D3DVALUE) {
    pathTime += pathSpeed;
    if (!pathAnimation) return;   // released by a scene command before the rebuild
    Ref<IDirect3DRMFrame3> root;
    camera->GetScene(root.put());
    pathAnimation->SetFrame(camera);
    pathAnimation->SetTime(pathTime);
    camera->LookAt(static_cast<IDirect3DRMFrame3*>(target), root.get(), D3DRMCONSTRAIN_Z);
}

void PathEnd(IDirect3DRMObject*, void*) { pathAnimation.reset(); }
