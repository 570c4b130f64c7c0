// Stands in front of <SDL2/SDL.h> for the program folders: program code reaches SDL only through
// the platform layer's headers (platform/win32, platform/d3drm, platform/winmm, platform/fs).
#error "<SDL2/SDL.h> in program code: SDL belongs to platform/ only"
