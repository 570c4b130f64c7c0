// Materials, textures, texture wraps and picture decals of loaded objects.
#pragma once

#include "settings/shared.h"

// A material from the placement colour read as power, specular and emissive.
bool ApplyColorMaterial(IDirect3DRMMeshBuilder3* meshBuilder);
// A material from defaultMaterial.
bool ApplyDefaultMaterial(IDirect3DRMMeshBuilder3* meshBuilder);
// A bitmap texture, transparent where it shows the placement colour when `transparent`.
bool ApplyMeshTexture(const char* file, IDirect3DRMMeshBuilder3* meshBuilder, int transparent, D3DVALUE width,
                      D3DVALUE height);
// Texture coordinates from a flat (1), sphere (2), cylinder (3) or chrome (other) wrap.
bool ApplyTextureWrap(IDirect3DRMMeshBuilder3* meshBuilder, int wrap, D3DVALUE width, D3DVALUE height);
// A camera-facing picture of width x height scene units at the placement position.
bool AddImageDecal(const char* file, int transparent, D3DVALUE width, D3DVALUE height);
