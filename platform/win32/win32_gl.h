// What the window layer offers the platform's renderer (platform/d3drm), and nothing else.
// The window owns the GL context; the renderer asks for it, hands back finished client
// images and asks the window to present them. The window layer never calls the renderer.
// Internal to platform: no platform call; the window layer's side of the renderer's context.
#pragma once

#include <cstdint>

#include "platform/win32/win32.h"

namespace win32gl {

// True when windows are objects only (no window system); the renderer then counts frames.
bool Headless();

// The window that owns the GL context (the first top-level window), or nullptr.
HWND MainWindow();

// Makes the window's GL context current on this thread. False without one.
bool MakeCurrent(HWND hwnd);

// The GL version of the window's context (for example 33 for 3.3) and whether it is a
// core profile; 0 without a context.
int ContextVersion(HWND hwnd);
bool ContextIsCore(HWND hwnd);

// The row of the window's framebuffer (counted from its bottom) where a client image of
// `height` rows drawn straight into the back buffer starts, its top row just under the
// menu bar. 0 without a window.
int ClientImageBottom(HWND hwnd, int height);

// Where the client image handed to PresentClientImage is.
enum class ClientImage {
    Texture,       // in the texture only: the window draws it under the menu bar
    InPlace,       // drawn into the back buffer where ClientImageBottom says, and in the texture
    InPlaceOnly,   // drawn into the back buffer only, which keeps it across the swap: the window
                   // copies it into the texture when it must show it again (a modal box, a repaint)
};

// Hands the window the finished client image (a GL texture of the client size, bottom row
// first) and presents it under the menu bar: drawn there, or already in place (`where`).
// The window keeps the texture id and shows it again while a modal box runs. The default
// framebuffer must be bound when it is called. Counts the frame; paces presents where
// vertical sync is refused.
void PresentClientImage(HWND hwnd, unsigned texture, int width, int height, ClientImage where = ClientImage::Texture);

// Shows the last client image again (after an expose).
void Repaint(HWND hwnd);

}  // namespace win32gl
