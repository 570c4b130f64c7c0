// Stands in front of <GL/gl.h> for the program folders: program code reaches OpenGL only through
// the platform layer's headers (platform/win32, platform/d3drm, platform/winmm, platform/fs).
#error "<GL/gl.h> in program code: OpenGL belongs to platform/ only"
