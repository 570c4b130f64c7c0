// Stands in front of <assimp/postprocess.h> for the program folders: program code reaches assimp only through
// the platform layer's headers (platform/win32, platform/d3drm, platform/winmm, platform/fs).
#error "<assimp/postprocess.h> in program code: assimp belongs to platform/ only"
