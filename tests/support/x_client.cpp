#include "tests/support/x_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <functional>
#include <stdexcept>

#include "tests/support/wait.h"

namespace vlx_test {

std::string ToString(const Rgb& c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

bool Near(const Rgb& a, const Rgb& b, int tolerance) {
    auto close = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
    return close(a.r, b.r) && close(a.g, b.g) && close(a.b, b.b);
}

namespace {

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

// The value of a pixel's channel under `mask`, scaled to 0..255.
int Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

XClient::XClient(const std::string& display) {
    XSetErrorHandler(IgnoreErrors);
    display_ = XOpenDisplay(display.c_str());
    if (!display_) throw std::runtime_error("cannot open X display " + display);
}

XClient::~XClient() {
    if (display_) XCloseDisplay(display_);
}

unsigned long XClient::Atom(const char* name) { return XInternAtom(display_, name, False); }

std::vector<unsigned long> XClient::Property(XWindowId window, const char* name, const char* type) {
    ::Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(display_, window, Atom(name), 0, 1024, False, Atom(type), &actualType, &format, &count, &after,
                           &data) == Success &&
        data && format == 32) {
        const unsigned long* longs = reinterpret_cast<const unsigned long*>(data);   // Xlib hands 32-bit items as longs
        values.assign(longs, longs + count);
    }
    if (data) XFree(data);
    return values;
}

std::string XClient::Title(XWindowId window) {
    ::Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display_, window, Atom("_NET_WM_NAME"), 0, 1024, False, Atom("UTF8_STRING"), &actualType,
                           &format, &count, &after, &data) == Success &&
        data && format == 8) {
        title.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
        return title;
    }
    if (data) XFree(data);
    char* name = nullptr;
    if (XFetchName(display_, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

std::vector<XWindowId> XClient::FindWindows(const std::string& title) {
    std::vector<XWindowId> found;
    std::function<void(::Window)> visit = [&](::Window window) {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return;
        for (unsigned int i = 0; i < count; ++i) {
            if (Title(children[i]) == title) found.push_back(children[i]);
            visit(children[i]);
        }
        if (children) XFree(children);
    };
    visit(DefaultRootWindow(display_));
    return found;
}

std::vector<XWindowId> XClient::ViewableWindowsOf(long pid) {
    std::vector<XWindowId> found;
    std::function<void(::Window)> visit = [&](::Window window) {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return;
        for (unsigned int i = 0; i < count; ++i) {
            const std::vector<unsigned long> owner = Property(children[i], "_NET_WM_PID", "CARDINAL");
            if (!owner.empty() && static_cast<long>(owner[0]) == pid && Viewable(children[i])) found.push_back(children[i]);
            visit(children[i]);
        }
        if (children) XFree(children);
    };
    visit(DefaultRootWindow(display_));
    return found;
}

std::optional<XWindowId> XClient::WaitForWindow(const std::string& title, std::chrono::milliseconds timeout) {
    std::optional<XWindowId> window;
    WaitUntil(
        [&] {
            const std::vector<XWindowId> found = FindWindows(title);
            if (!found.empty()) window = found.front();
            return window.has_value();
        },
        timeout, std::chrono::milliseconds(10));
    return window;
}

std::optional<WindowGeometry> XClient::Geometry(XWindowId window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window, &attributes)) return std::nullopt;
    WindowGeometry geometry{0, 0, attributes.width, attributes.height};
    ::Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &geometry.x, &geometry.y, &child);
    return geometry;
}

std::optional<Image> XClient::Capture(XWindowId window) {
    const std::optional<WindowGeometry> geometry = Geometry(window);
    if (!geometry || !Viewable(window)) return std::nullopt;
    XImage* ximage = XGetImage(display_, window, 0, 0, static_cast<unsigned>(geometry->width),
                               static_cast<unsigned>(geometry->height), AllPlanes, ZPixmap);
    if (!ximage) return std::nullopt;
    Image image;
    image.width = ximage->width;
    image.height = ximage->height;
    image.pixels.reserve(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const unsigned long pixel = XGetPixel(ximage, x, y);
            image.pixels.push_back(
                {Channel(pixel, ximage->red_mask), Channel(pixel, ximage->green_mask), Channel(pixel, ximage->blue_mask)});
        }
    }
    XDestroyImage(ximage);
    return image;
}

void XClient::Close(XWindowId window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = Atom("WM_PROTOCOLS");
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(Atom("WM_DELETE_WINDOW"));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XSync(display_, False);
}

void XClient::Iconify(XWindowId window) {
    XIconifyWindow(display_, window, DefaultScreen(display_));
    XSync(display_, False);
}

void XClient::Resize(XWindowId window, int width, int height) {
    XResizeWindow(display_, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display_, False);
}

bool XClient::Viewable(XWindowId window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable;
}

bool XClient::Iconified(XWindowId window) {
    const std::vector<unsigned long> wmState = Property(window, "WM_STATE", "WM_STATE");
    if (!wmState.empty() && wmState[0] == IconicState) return true;
    const unsigned long hidden = Atom("_NET_WM_STATE_HIDDEN");
    for (unsigned long state : Property(window, "_NET_WM_STATE", "ATOM"))
        if (state == hidden) return true;
    return false;
}

WindowGeometry XClient::Icon(XWindowId window) {
    const std::vector<unsigned long> icon = Property(window, "_NET_WM_ICON", "CARDINAL");
    WindowGeometry size;
    if (icon.size() >= 2) {
        size.width = static_cast<int>(icon[0]);
        size.height = static_cast<int>(icon[1]);
    }
    return size;
}

bool XClient::WindowManagerRunning() {
    // An EWMH window manager names a check window on the root and on that window itself.
    const std::vector<unsigned long> check = Property(DefaultRootWindow(display_), "_NET_SUPPORTING_WM_CHECK", "WINDOW");
    if (check.empty()) return false;
    const std::vector<unsigned long> self = Property(check[0], "_NET_SUPPORTING_WM_CHECK", "WINDOW");
    return !self.empty() && self[0] == check[0];
}

}  // namespace vlx_test
