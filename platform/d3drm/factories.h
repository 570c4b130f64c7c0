// Internal to platform/d3drm: how the root object makes the engine's objects. Each is
// defined in the file of the object it makes.
#pragma once

#include <optional>
#include <string>

#include "platform/d3drm/d3drm.h"

class MeshBuilder;

HRESULT CreateMeshBuilderObject(IDirect3DRMMeshBuilder3** builder);       // mesh_builder.cpp
HRESULT CreateMaterialObject(D3DVALUE power, IDirect3DRMMaterial2** out);  // material.cpp
HRESULT CreateLightObject(D3DRMLIGHTTYPE type, D3DCOLOR color, IDirect3DRMLight** out);   // light.cpp
HRESULT CreateAnimationObject(IDirect3DRMAnimation2** animation);         // animation.cpp
HRESULT CreateAnimationSetObject(IDirect3DRMAnimationSet2** set);         // animation_set.cpp
HRESULT CreateWrapObject(D3DRMWRAPTYPE type, IDirect3DRMFrame3* reference, D3DVECTOR origin, D3DVECTOR dir, D3DVECTOR up,
                         D3DVALUE ou, D3DVALUE ov, D3DVALUE su, D3DVALUE sv, IDirect3DRMWrap** wrap);   // wrap.cpp

// A .bmp picture as a texture (texture.cpp). `name` is found through FindOnSearchPath.
HRESULT LoadTextureFile(const char* name, IDirect3DRMTexture3** texture);

// The .x loader (xfile_loader.cpp): the whole file for IDirect3DRM3::Load, or its meshes
// merged into one builder for IDirect3DRMMeshBuilder3::Load. A null texture callback means
// LoadTextureFile.
HRESULT LoadXFile(const char* file, D3DRMLOADCALLBACK loadCallback, void* loadArg,
                  D3DRMLOADTEXTURE3CALLBACK textureCallback, void* textureArg, IDirect3DRMFrame3* parent);
HRESULT LoadXFileIntoBuilder(MeshBuilder* builder, const char* file, D3DRMLOADTEXTURE3CALLBACK textureCallback,
                             void* textureArg);

// The engine's search path (root.cpp): a name as the program's file resolver finds it,
// otherwise in each search folder in turn.
std::optional<std::string> FindOnSearchPath(const char* name);
