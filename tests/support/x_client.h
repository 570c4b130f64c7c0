// An Xlib connection that looks at and acts on top-level windows the way a user or a window
// manager would: find one by its exact title (or those a process shows), read its title,
// geometry and pixels, ask it to close (WM_DELETE_WINDOW), iconify, resize, and tell whether
// it is shown or iconified.
// Errors about windows that vanished in the meantime are ignored: the program under test
// may end at any moment.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct _XDisplay;

namespace vlx_test {

using XWindowId = unsigned long;

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
std::string ToString(const Rgb& colour);
bool Near(const Rgb& a, const Rgb& b, int tolerance);

struct WindowGeometry {
    int x = 0, y = 0;   // on the root window
    int width = 0, height = 0;
};

// A copy of a window's pixels.
struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;   // row by row from the top left
    Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

class XClient {
public:
    // Throws std::runtime_error when the display cannot be opened.
    explicit XClient(const std::string& display);
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    // Every window on the display (at any depth: a window manager reparents clients) whose
    // title is exactly `title`.
    std::vector<XWindowId> FindWindows(const std::string& title);
    std::optional<XWindowId> WaitForWindow(const std::string& title, std::chrono::milliseconds timeout);
    // Every viewable window whose _NET_WM_PID names process `pid`.
    std::vector<XWindowId> ViewableWindowsOf(long pid);

    // _NET_WM_NAME where set, WM_NAME otherwise.
    std::string Title(XWindowId window);
    std::optional<WindowGeometry> Geometry(XWindowId window);
    std::optional<Image> Capture(XWindowId window);

    void Close(XWindowId window);   // the close button's request, not a forced destroy
    void Iconify(XWindowId window);   // needs a window manager
    void Resize(XWindowId window, int width, int height);

    bool Viewable(XWindowId window);   // mapped, and every ancestor too
    // WM_STATE is IconicState, or _NET_WM_STATE holds _NET_WM_STATE_HIDDEN.
    bool Iconified(XWindowId window);
    bool WindowManagerRunning();
    // Width and height of the first icon in _NET_WM_ICON; 0 x 0 without one.
    WindowGeometry Icon(XWindowId window);

private:
    unsigned long Atom(const char* name);
    std::vector<unsigned long> Property(XWindowId window, const char* name, const char* type);

    _XDisplay* display_ = nullptr;
};

}  // namespace vlx_test
