// Stands in front of <pulse/error.h> for the program folders: program code reaches PulseAudio only through
// the platform layer's headers (platform/win32, platform/d3drm, platform/winmm, platform/fs).
#error "<pulse/error.h> in program code: PulseAudio belongs to platform/ only"
