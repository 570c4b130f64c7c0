// Stands in front of <imgui_impl_sdl.h> for the program folders: program code reaches Dear ImGui only through
// the platform layer's headers (platform/win32, platform/d3drm, platform/winmm, platform/fs).
#error "<imgui_impl_sdl.h> in program code: Dear ImGui belongs to platform/ only"
