// Mouse capture: while a window holds it, that window gets every mouse message, also where the
// pointer has left it or passes over its menu bar, so that a drag sees its moves and its button
// release wherever the user lets go. The window system is asked to go on reporting the pointer
// outside the window meanwhile (SDL_CaptureMouse).
// Implements: SetCapture, ReleaseCapture, GetCapture.
// Leaves out: WM_CAPTURECHANGED; capture by a window of another process.
#include <SDL.h>

#include "platform/win32/state.h"

using namespace win32_internal;

HWND SetCapture(HWND hwnd) {
    Win32State& s = W32();
    HWND previous = LiveWindow(s.capture);
    HWND w = LiveWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return previous;
    }
    s.capture = w;
    if (s.videoUp && w->sdl) SDL_CaptureMouse(SDL_TRUE);
    return previous;
}

BOOL ReleaseCapture() {
    Win32State& s = W32();
    const bool held = s.capture != nullptr;
    s.capture = nullptr;
    if (held && s.videoUp) SDL_CaptureMouse(SDL_FALSE);
    return TRUE;
}

HWND GetCapture() { return LiveWindow(W32().capture); }
