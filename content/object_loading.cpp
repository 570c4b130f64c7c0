#include "content/object_loading.h"

#include <algorithm>
#include <cstring>

#include "content/textures.h"

Placement placement;
AnimationRecord* lastAnimationRecord = nullptr;

void SetPlacement(D3DVALUE red, D3DVALUE green, D3DVALUE blue, D3DVALUE x, D3DVALUE y, D3DVALUE z, D3DVALUE sx,
                  D3DVALUE sy, D3DVALUE sz, D3DVALUE ax, D3DVALUE ay, D3DVALUE az, D3DVALUE angle) {
    placement.red = red;
    placement.green = green;
    placement.blue = blue;
    placement.position = {x, y, z};
    placement.scale = {sx, sy, sz};
    placement.axis = {ax, ay, az};
    placement.angle = angle;
}

void ResetPlacement() {
    placement = Placement{};
    placement.ambient = 0.0f;
}

static bool ScaleIsPositive() { return placement.scale.x > 0.0f && placement.scale.y > 0.0f && placement.scale.z > 0.0f; }

// Places a new frame of the scene at the placement's position and spin.
static void PlaceFrame(IDirect3DRMFrame3* frame) {
    IDirect3DRMFrame3* scene = appState->scene.get();
    frame->SetPosition(scene, placement.position.x, placement.position.y, placement.position.z);
    if (placement.angle != 0.0f) frame->SetRotation(scene, placement.axis.x, placement.axis.y, placement.axis.z, placement.angle);
}

bool LoadFrameObject(const char* file) {
    if (!file || !*file) return false;
    Ref<IDirect3DRMFrame3> frame;
    if (d3drm->CreateFrame(appState->scene.get(), frame.put()) != D3DRM_OK) return false;
    if (FAILED(d3drm->Load(file, nullptr, nullptr, 0, D3DRMLOAD_FROMFILE, AttachLoaded, frame.get(), LoadTextureCallback,
                           nullptr, nullptr))) {
        ReportError("Failed to load X File");
        return false;
    }
    frame->SetMaterialMode(D3DRMMATERIAL_FROMFRAME);
    if (ScaleIsPositive()) FitToSize(frame.get());
    PlaceFrame(frame.get());
    ResetPlacement();
    return true;
}

void AttachLoaded(IDirect3DRMObject* object, REFIID, void* arg) {
    auto* frame = static_cast<IDirect3DRMFrame3*>(arg);
    Ref<IDirect3DRMFrame3> child;
    Ref<IDirect3DRMVisual> visual;
    Ref<IDirect3DRMAnimationSet2> set;
    if (object->QueryInterface(IID_IDirect3DRMFrame3, reinterpret_cast<void**>(child.put())) == S_OK) {
        frame->AddChild(child.get());
    } else if (object->QueryInterface(IID_IDirect3DRMVisual, reinterpret_cast<void**>(visual.put())) == S_OK) {
        Ref<IDirect3DRMFrame3> holder;
        if (d3drm->CreateFrame(frame, holder.put()) == D3DRM_OK) holder->AddVisual(visual.get());
    } else if (object->QueryInterface(IID_IDirect3DRMAnimationSet2, reinterpret_cast<void**>(set.put())) == S_OK) {
        AttachAnimationSet(frame, set.get());
    }
}

static void AnimationTick(IDirect3DRMFrame3*, void* arg, D3DVALUE) {
    auto* record = static_cast<AnimationRecord*>(arg);
    lastAnimationRecord = record;
    record->time += 0.1f;   // a fixed step per frame
    record->set->SetTime(record->time);
}

// The frame is going: its record and the record's reference to the set go with it.
static void ReleaseAnimationRecord(IDirect3DRMObject*, void* arg) {
    auto* record = static_cast<AnimationRecord*>(arg);
    if (lastAnimationRecord == record) lastAnimationRecord = nullptr;
    record->set->Release();
    delete record;
}

bool AttachAnimationSet(IDirect3DRMFrame3* frame, IDirect3DRMAnimationSet2* set) {
    auto* record = new AnimationRecord{set, 0.0f};
    if (frame->AddMoveCallback(AnimationTick, record, 0) != D3DRM_OK) {
        delete record;
        return false;
    }
    set->AddRef();
    if (frame->AddDestroyCallback(ReleaseAnimationRecord, record) == D3DRM_OK) return true;
    frame->DeleteMoveCallback(AnimationTick, record);
    set->Release();
    delete record;
    return false;
}

void FitToSize(IDirect3DRMFrame3* frame) {
    Ref<IDirect3DRMMeshBuilder3> measure;
    D3DRMBOX box;
    if (d3drm->CreateMeshBuilder(measure.put()) != D3DRM_OK || measure->AddFrame(frame) != D3DRM_OK ||
        measure->GetBox(&box) != D3DRM_OK)
        return;
    const D3DVALUE dx = box.max.x - box.min.x, dy = box.max.y - box.min.y, dz = box.max.z - box.min.z;
    D3DVALUE extent = dx;
    if (dy > extent) extent = dy;
    if (dz > extent) extent = dz;
    // A model without extent (no geometry) keeps its size.
    if (extent <= 0.0f) return;
    const D3DVALUE k = 8.0f / extent;
    frame->AddScale(D3DRMCOMBINE_BEFORE, placement.scale.x * k, placement.scale.y * k, placement.scale.z * k);
}

HRESULT LoadTextureCallback(char* name, void*, IDirect3DRMTexture3** texture) { return d3drm->LoadTexture(name, texture); }

bool LoadScriptMesh(const char* file, const char* texture, int wrap, int transparent, D3DVALUE width, D3DVALUE height) {
    // A mesh builder that cannot be made is no load failure: nothing is shown for it.
    Ref<IDirect3DRMMeshBuilder3> mesh;
    if (d3drm->CreateMeshBuilder(mesh.put()) != D3DRM_OK) return false;
    if (mesh->Load(file, nullptr, D3DRMLOAD_FROMFILE, nullptr, nullptr) != D3DRM_OK) {
        ReportError("Failed to load mesh.x");
        return false;
    }
    if (wrap == 0 && placement.red <= 1.0f) {
        // A colour only when all three parts are given; otherwise the file's own colours.
        if (placement.red > 0.0f && placement.green > 0.0f && placement.blue > 0.0f)
            mesh->SetColorRGB(placement.red, placement.green, placement.blue);
    } else {
        // Red above 1 (or a wrap) reads the colour as power, specular and emissive.
        const bool applied = transparent ? ApplyDefaultMaterial(mesh.get()) : ApplyColorMaterial(mesh.get());
        if (!applied) return false;
    }
    if (ScaleIsPositive()) mesh->Scale(placement.scale.x, placement.scale.y, placement.scale.z);

    Ref<IDirect3DRMFrame3> frame;
    if (d3drm->CreateFrame(appState->scene.get(), frame.put()) != D3DRM_OK) return false;
    frame->SetMaterialMode(D3DRMMATERIAL_FROMMESH);
    PlaceFrame(frame.get());

    if (texture && std::strlen(texture) >= 2) {
        if (wrap != 0 && !ApplyTextureWrap(mesh.get(), wrap, width, height)) {
            ReportError("Failed to Texture wrap");
            return false;
        }
        if (!ApplyMeshTexture(texture, mesh.get(), transparent, width, height)) {
            ReportError("Failed to load Texture");
            return false;
        }
    }
    Ref<IDirect3DRMMesh> finished;
    if (mesh->CreateMesh(finished.put()) != D3DRM_OK) return false;
    mesh.reset();
    finished->SetGroupMapping(D3DRMGROUP_ALLGROUPS, D3DRMMAP_PERSPCORRECT);
    if (frame->AddVisual(finished.get()) != D3DRM_OK) return false;
    ResetPlacement();
    return true;
}

bool LoadMeshObject(const char* file) {
    if (!file || !*file) return false;
    Ref<IDirect3DRMMeshBuilder3> mesh;
    if (d3drm->CreateMeshBuilder(mesh.put()) != D3DRM_OK) return false;
    if (mesh->Load(file, nullptr, D3DRMLOAD_FROMFILE, LoadTextureCallback, nullptr) != D3DRM_OK) {
        ReportError("Failed to load name.x");
        return false;
    }
    if (placement.red > 0.0f && placement.green > 0.0f && placement.blue > 0.0f) {
        mesh->SetColorRGB(placement.red, placement.green, placement.blue);
    } else {
        defaultMaterial = MaterialRecord{80.0f, 0.8f, 0.1f, 0.1f};
        if (!ApplyDefaultMaterial(mesh.get())) return false;
    }
    if (ScaleIsPositive()) mesh->Scale(placement.scale.x, placement.scale.y, placement.scale.z);
    Ref<IDirect3DRMFrame3> frame;
    if (d3drm->CreateFrame(appState->scene.get(), frame.put()) != D3DRM_OK) return false;
    frame->SetMaterialMode(D3DRMMATERIAL_FROMMESH);
    PlaceFrame(frame.get());
    frame->AddVisual(mesh.get());
    ResetPlacement();
    return true;
}
