// Loading .x models into the scene, each into a new child frame of the scene, placed by
// the pending placement.
#pragma once

#include "settings/shared.h"

// An animation set loaded with a model, and how far it has run. The record and its reference
// to the set belong to the frame it runs on: its destroy callback frees both, so a scene that
// goes takes its records with it.
struct AnimationRecord {
    IDirect3DRMAnimationSet2* set = nullptr;   // one reference, released with the record
    D3DVALUE time = 0.0f;
};
// The record that a tick advanced last (not owned); empty once its frame is gone. The scene
// reset lets go of it before it tears the scene down.
extern AnimationRecord* lastAnimationRecord;

void SetPlacement(D3DVALUE red, D3DVALUE green, D3DVALUE blue, D3DVALUE x, D3DVALUE y, D3DVALUE z, D3DVALUE sx,
                  D3DVALUE sy, D3DVALUE sz, D3DVALUE ax, D3DVALUE ay, D3DVALUE az, D3DVALUE angle);
void ResetPlacement();

// The whole file (frames, meshes, animation sets), its largest extent fitted to 8 units.
bool LoadFrameObject(const char* file);
// One mesh with colour or material, texture and wrap (a scene script's object).
bool LoadScriptMesh(const char* file, const char* texture, int wrap, int transparent, D3DVALUE width, D3DVALUE height);
// One mesh with colour or the default material.
bool LoadMeshObject(const char* file);

// Scales the frame so that its largest extent becomes 8 units times the placement scale.
void FitToSize(IDirect3DRMFrame3* frame);
// The loader's callback: puts each object read into `frame`.
void AttachLoaded(IDirect3DRMObject* object, REFIID iid, void* frame);
// Runs the set by 0.1 per frame through a move callback on `frame`; a destroy callback on
// `frame` holds a reference to the set and lets it go with the frame.
bool AttachAnimationSet(IDirect3DRMFrame3* frame, IDirect3DRMAnimationSet2* set);
// The loaders' texture callback: LoadTexture of the engine.
HRESULT LoadTextureCallback(char* name, void* arg, IDirect3DRMTexture3** texture);
