// Stands in front of <fluidsynth.h> for the program folders: program code reaches FluidSynth only through
// the platform layer's headers (platform/win32, platform/d3drm, platform/winmm, platform/fs).
#error "<fluidsynth.h> in program code: FluidSynth belongs to platform/ only"
