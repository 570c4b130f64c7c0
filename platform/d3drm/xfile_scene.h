// Internal to platform/d3drm: turning a parsed .x file (xfile_data.h) into engine objects.
#pragma once

#include <string>
#include <vector>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/xfile_data.h"

class MeshBuilder;

// Where a scene came from: what its texture names and key times are read against.
struct XFileOrigin {
    std::string folder;   // the model's folder, the last place its textures are looked for
    int version = 303;    // the header's format version: 302 for "xof 0302"
    D3DRMLOADTEXTURE3CALLBACK textureCallback = nullptr;   // nullptr: LoadTextureFile
    void* textureArg = nullptr;
};

// The top-level objects of a file, made but not yet handed to anyone.
struct XFileObjects {
    std::vector<Ref<IDirect3DRMFrame3>> frames;
    std::vector<Ref<IDirect3DRMMeshBuilder3>> meshes;   // meshes outside any frame
    std::vector<Ref<IDirect3DRMAnimationSet2>> animationSets;
};

// Frames (with their transforms and one mesh builder per frame that holds meshes), the
// meshes outside any frame and the animation sets of a scene.
HRESULT BuildXFileObjects(const XFileScene& scene, const XFileOrigin& origin, XFileObjects* objects);

// Appends every mesh of a scene to `builder`, each placed by its frame's world transform.
HRESULT MergeXFileMeshes(const XFileScene& scene, const XFileOrigin& origin, MeshBuilder* builder);
