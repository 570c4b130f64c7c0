// Stands in front of <glm/gtc/matrix_transform.hpp> for the program folders: program code reaches GLM only through
// the platform layer's headers (platform/win32, platform/d3drm, platform/winmm, platform/fs).
#error "<glm/gtc/matrix_transform.hpp> in program code: GLM belongs to platform/ only"
