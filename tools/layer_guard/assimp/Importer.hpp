// Stands in front of <assimp/Importer.hpp> for the program folders: program code reaches assimp only through
// the platform layer's headers (platform/win32, platform/d3drm, platform/winmm, platform/fs).
#error "<assimp/Importer.hpp> in program code: assimp belongs to platform/ only"
