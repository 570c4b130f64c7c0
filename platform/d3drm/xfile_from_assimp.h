// Internal to the .x parser program: the parts of an assimp scene the loader uses, as plain
// data.
#pragma once

#include "platform/d3drm/xfile_data.h"

struct aiScene;

// The scene's node tree (the root first, each node before its children), its meshes,
// materials and animations. Missing meshes and materials become empty ones, which the loader
// skips or draws plain; missing animations and channels are left out.
XFileScene SceneFromAssimp(const aiScene& scene);
