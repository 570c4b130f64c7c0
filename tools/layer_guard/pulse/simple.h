// Stands in front of <pulse/simple.h> for the program folders: program code reaches PulseAudio only through
// the platform layer's headers (platform/win32, platform/d3drm, platform/winmm, platform/fs).
#error "<pulse/simple.h> in program code: PulseAudio belongs to platform/ only"
