// The flock: its models, start and per-frame step. It ends with PathEnd, as the camera path does.
#include "fly/flock.h"

#include "fly/camera_path.h"
#include "fly/fly_paths.h"

float flockTime = 0.0f;
IDirect3DRMFrame3* flockFrames[kFlockSize] = {};
D3DVECTOR flockKeys[kPathKeyCount] = {};

namespace {

constexpr D3DVALUE kFlockDepth = 0.25f;   // the flock flies a path squeezed along z
constexpr D3DVALUE kLeadScale = 0.4f;
constexpr D3DVALUE kFollowScale = 0.2f;
// How far behind the lead each frame flies, in path time.
constexpr float kLag[kFlockSize] = {0.0f, 0.10f, 0.15f, 0.20f, 0.25f};

// Puts one mesh of `file`, scaled by `scale`, into new scene frames first .. end-1 of the flock.
// A file that cannot be loaded leaves the frames empty.
void LoadFlockModels(const char* file, D3DVALUE scale, int first, int end) {
    IDirect3DRMFrame3* scene = appState->scene.get();
    Ref<IDirect3DRMMesh> mesh;
    {
        Ref<IDirect3DRMMeshBuilder3> builder;
        if (d3drm->CreateMeshBuilder(builder.put()) != D3DRM_OK) return;
        builder->Load(file, nullptr, D3DRMLOAD_FROMFILE, nullptr, nullptr);
        builder->Scale(scale, scale, scale);
        builder->CreateMesh(mesh.put());
    }
    for (int i = first; i < end; ++i) {
        Ref<IDirect3DRMFrame3> frame;
        if (d3drm->CreateFrame(scene, frame.put()) != D3DRM_OK) return;
        if (mesh) frame->AddVisual(mesh.get());
        flockFrames[i] = frame.get();
    }
}

}  // namespace

bool StartFlock(const char* leadMesh, const char* followMesh, const char* lastMesh, int kind) {
    const D3DVECTOR* table = kind == 0 ? kWavePath : kind == 1 ? kZoomPath : nullptr;
    if (!table || !appState || !appState->scene || !appState->camera) return false;
    for (IDirect3DRMFrame3*& frame : flockFrames) frame = nullptr;   // the last flock's may be gone
    for (int k = 0; k < kPathKeyCount; ++k) flockKeys[k] = D3DVECTOR{table[k].x, table[k].y, kFlockDepth * table[k].z};

    LoadFlockModels(leadMesh, kLeadScale, 0, 1);
    if (Ref<IDirect3DRMAnimation2> path = MakeFlightPath(flockKeys, kPathKeyCount)) pathAnimation = path;
    LoadFlockModels(followMesh, kFollowScale, 1, 4);
    LoadFlockModels(lastMesh, kFollowScale, 4, 5);

    Ref<IDirect3DRMFrame3> target;   // at the scene's origin; the scene keeps it
    if (d3drm->CreateFrame(appState->scene.get(), target.put()) != D3DRM_OK) return false;
    appState->camera->AddMoveCallback(FlockStep, target.get(), 0);
    appState->camera->AddDestroyCallback(PathEnd, nullptr);
    return true;
}

void FlockStep(IDirect3DRMFrame3* camera, void* target, D3DVALUE) {
    flockTime += flockSpeed;
    if (!pathAnimation) return;   // released by a scene command before the rebuild
    for (int i = 0; i < kFlockSize; ++i) {
        IDirect3DRMFrame3* frame = flockFrames[i];
        if (!frame) continue;
        // The engine does not hold the animated frame: no reference to give back here.
        pathAnimation->SetFrame(frame);
        pathAnimation->SetTime(flockTime - kLag[i]);
        frame->LookAt(static_cast<IDirect3DRMFrame3*>(target), camera, D3DRMCONSTRAIN_Z);
    }
}
