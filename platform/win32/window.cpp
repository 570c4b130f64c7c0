// Window classes and windows: registration, creation and destruction, window data,
// visibility, client geometry and painting.
// Implements: GetLastError, SetLastError, GetModuleHandleA, RegisterClassExA, CreateWindowExA,
// DestroyWindow, IsWindow, DefWindowProcA, ShowWindow, UpdateWindow, IsIconic, SetForegroundWindow,
// GetLastActivePopup, FindWindowA, GetClientRect, MoveWindow, SetWindowTextA, GetWindowTextA,
// SetWindowLongPtrA, GetWindowLongPtrA, InvalidateRect, GetUpdateRect, BeginPaint, EndPaint, GetDC,
// ReleaseDC, GetDeviceCaps, GetStockObject, GetSystemMetrics.
// Leaves out: CreateWindowExA's extended style and position (the window system places it);
// DefWindowProcA handles only WM_CLOSE and WM_PAINT; window data only GWLP_USERDATA and
// GWLP_WNDPROC (GetWindowLongPtrA also GWLP_HINSTANCE, GWLP_ID and GWL_STYLE); update
// regions are the whole client area and erasing is never asked for; GetDeviceCaps knows BITSPIXEL only; stock objects are
// bare handles; GetSystemMetrics knows the icon sizes and the screen size only.
#include <SDL.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/win32/state.h"

using namespace win32_internal;

Win32State& W32() {
    static Win32State state;
    return state;
}

DWORD GetLastError() { return W32().lastError; }
void SetLastError(DWORD code) { W32().lastError = code; }

HINSTANCE GetModuleHandleA(LPCSTR) {
    // Any distinct non-null value serves: the process has one instance.
    static char instance;
    return reinterpret_cast<HINSTANCE>(&instance);
}

namespace win32_internal {

bool EnsureVideo() {
    Win32State& s = W32();
    if (s.noWindowSystem) return false;
    if (s.videoUp) return true;
    if (s.videoFailed) return false;
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // A real window system only: without one SDL would fall back to an offscreen driver and
    // run a show nobody sees. The user's SDL_VIDEODRIVER still wins.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "win32: no window system: %s\n", SDL_GetError());
        s.videoFailed = true;
        return false;
    }
    s.userEventType = SDL_RegisterEvents(1);
    s.videoUp = true;
    return true;
}

HWND LiveWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    for (auto& w : W32().windows)
        if (w.get() == hwnd && !w->destroyed && !w->remote) return hwnd;
    return nullptr;
}

HWND WindowForSdl(Uint32 windowId) {
    for (auto& w : W32().windows)
        if (!w->destroyed && w->sdl && SDL_GetWindowID(w->sdl) == windowId) return w.get();
    // Events of no window go to the main window; those of a window that is gone (a closed
    // dialog box's last key release) to none.
    return windowId == 0 ? W32().mainWindow : nullptr;
}

}  // namespace win32_internal

static WindowClass* FindClass(const char* name) {
    for (auto& c : W32().classes)
        if (SDL_strcasecmp(c->name.c_str(), name) == 0) return c.get();
    return nullptr;
}

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc || wc->cbSize != sizeof(WNDCLASSEXA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(wc->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto c = std::make_unique<WindowClass>();
    c->info = *wc;
    c->name = wc->lpszClassName;
    c->info.lpszClassName = nullptr;   // the copy above keeps the name
    if (wc->lpszMenuName) {
        if (IS_INTRESOURCE(wc->lpszMenuName))
            c->menuId = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(wc->lpszMenuName));
        else
            c->menuName = wc->lpszMenuName;
    }
    W32().classes.push_back(std::move(c));
    return static_cast<ATOM>(0xC000 + W32().classes.size());
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int, int, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    Win32State& s = W32();
    WindowClass* wc = className ? FindClass(className) : nullptr;
    if (!wc) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    auto owned = std::make_unique<HWND__>();
    HWND w = owned.get();
    w->windowClass = wc;
    w->proc = wc->info.lpfnWndProc;
    w->title = windowName ? windowName : "";
    w->style = style;
    w->instance = instance;
    w->width = width == CW_USEDEFAULT ? 640 : width;
    w->height = height == CW_USEDEFAULT ? 480 : height;
    w->dc.hwnd = w;
    if (menu) {
        w->menu.reset(menu);
    } else if (wc->menuId) {
        w->menu.reset(LoadMenuA(instance, MAKEINTRESOURCEA(wc->menuId)));
    }
    const bool topLevel = !parent && !(style & WS_CHILD);
    const bool visible = (style & WS_VISIBLE) != 0;
    if (topLevel && !s.noWindowSystem) {
        if (!EnsureVideo()) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        // The window is findable from other processes before it shows and before its
        // creation handler runs (which may hold a box open for long). A class has one such
        // window per user and display: where another process's window holds it already,
        // that one has been asked forward and this creation fails.
        switch (StartInstanceServer(w)) {
        case InstanceClaim::Taken:
            SetLastError(ERROR_CLASS_ALREADY_EXISTS);
            return nullptr;
        case InstanceClaim::Unavailable:
            std::fprintf(stderr, "win32: the window of class \"%s\" cannot be found by other programs: %s\n",
                         wc->name.c_str(), std::strerror(errno));
            break;
        case InstanceClaim::Claimed:
            break;
        }
        if (!CreateGlWindow(w, visible)) {
            StopInstanceServer(w);
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        // The class icon names the window in the task bar and the window switcher.
        HICON icon = wc->info.hIcon ? wc->info.hIcon : wc->info.hIconSm;
        if (icon && icon->surface) SDL_SetWindowIcon(w->sdl, icon->surface);
    }
    w->visible = visible;
    s.windows.push_back(std::move(owned));
    if (topLevel && !s.mainWindow) {
        s.mainWindow = w;
        // The pointer over the window shows the class's cursor until the program sets another:
        // that is the cursor a first SetCursor replaces.
        if (!s.currentCursor) s.currentCursor = wc->info.hCursor;
        // A termination signal that came while no window existed closes this one.
        if (s.closePending) QueueWindowEvent(w, SDL_WINDOWEVENT_CLOSE);
        s.closePending = false;
    }

    CREATESTRUCTA cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = w->menu.get();
    cs.hwndParent = parent;
    cs.cx = w->width;
    cs.cy = w->height;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = w->title.c_str();
    cs.lpszClass = wc->name.c_str();
    if (SendMessageA(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(w);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!LiveWindow(w)) return nullptr;   // the creation handler destroyed it
    RECT client;
    GetClientRect(w, &client);
    SendMessageA(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
    if (visible) w->invalid = true;
    return w;
}

BOOL DestroyWindow(HWND hwnd) {
    Win32State& s = W32();
    HWND w = LiveWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    SendMessageA(w, WM_DESTROY, 0, 0);
    w->destroyed = true;
    StopInstanceServer(w);
    DestroyGlWindow(w);
    // Messages for a destroyed window are dropped; the object itself stays so that stale
    // handles compare unequal to live ones and never dangle.
    auto forWindow = [w](const MSG& m) { return m.hwnd == w; };
    {
        std::lock_guard<std::mutex> guard(s.postedLock);
        s.posted.erase(std::remove_if(s.posted.begin(), s.posted.end(), forWindow), s.posted.end());
    }
    s.input.erase(std::remove_if(s.input.begin(), s.input.end(), forWindow), s.input.end());
    if (s.mainWindow == w) s.mainWindow = nullptr;
    if (s.capture == w) ReleaseCapture();
    return TRUE;
}

void win32_internal::ShutdownWindows() {
    for (auto& w : W32().windows) {
        if (w->destroyed || w->remote) continue;
        StopInstanceServer(w.get());
        DestroyGlWindow(w.get());
    }
}

BOOL IsWindow(HWND hwnd) {
    if (!hwnd) return FALSE;
    for (auto& w : W32().windows)
        if (w.get() == hwnd) return w->remote || !w->destroyed;
    return FALSE;
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return 0;
    }
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    for (auto& w : W32().windows) {
        if (w.get() != hwnd || !w->remote) continue;
        const char* request = cmdShow == SW_RESTORE ? "RESTORE" : cmdShow == SW_MINIMIZE ? "MINIMIZE" : "SHOW";
        return RemoteRequest(w->remoteAddress, request, nullptr) ? TRUE : FALSE;
    }
    HWND w = LiveWindow(hwnd);
    if (!w) return FALSE;
    const BOOL wasVisible = w->visible ? TRUE : FALSE;
    switch (cmdShow) {
    case SW_HIDE:
        if (w->sdl) SDL_HideWindow(w->sdl);
        w->visible = false;
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        if (w->sdl)
            SDL_MinimizeWindow(w->sdl);
        else
            QueueWindowEvent(w, SDL_WINDOWEVENT_MINIMIZED);   // what the window system would report
        w->visible = true;
        break;
    case SW_RESTORE:
        if (w->sdl) {
            SDL_ShowWindow(w->sdl);
            SDL_RestoreWindow(w->sdl);
        } else if (w->minimized) {
            QueueWindowEvent(w, SDL_WINDOWEVENT_RESTORED);
        }
        w->visible = true;
        break;
    case SW_SHOWMAXIMIZED:
        if (w->sdl) SDL_MaximizeWindow(w->sdl);
        w->visible = true;
        break;
    default:
        if (w->sdl) SDL_ShowWindow(w->sdl);
        w->visible = true;
        break;
    }
    if (w->visible) w->invalid = true;
    return wasVisible;
}

BOOL UpdateWindow(HWND hwnd) {
    HWND w = LiveWindow(hwnd);
    if (!w) return FALSE;
    if (w->invalid && w->visible) SendMessageA(w, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL IsIconic(HWND hwnd) {
    for (auto& w : W32().windows) {
        if (w.get() != hwnd) continue;
        if (w->remote) {
            std::string reply;
            return RemoteRequest(w->remoteAddress, "ICONIC", &reply) && reply == "1" ? TRUE : FALSE;
        }
        if (w->destroyed) return FALSE;
        if (w->sdl) return (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_MINIMIZED) ? TRUE : FALSE;
        return w->minimized ? TRUE : FALSE;
    }
    return FALSE;
}

BOOL SetForegroundWindow(HWND hwnd) {
    for (auto& w : W32().windows) {
        if (w.get() != hwnd) continue;
        if (w->remote) return RemoteRequest(w->remoteAddress, "FOREGROUND", nullptr) ? TRUE : FALSE;
        if (w->destroyed) return FALSE;
        if (w->sdl) SDL_RaiseWindow(w->sdl);
        return TRUE;
    }
    return FALSE;
}

HWND GetLastActivePopup(HWND hwnd) {
    // A dialog box open over the window answers for it; message boxes are drawn inside it.
    if (!IsWindow(hwnd)) return nullptr;
    HWND box = LiveWindow(hwnd) ? LastActiveBox(hwnd) : nullptr;
    return box ? box : hwnd;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    Win32State& s = W32();
    for (auto& w : s.windows) {
        if (w->destroyed || w->remote || !className || !w->windowClass) continue;   // controls have no class here
        if (SDL_strcasecmp(w->windowClass->name.c_str(), className) != 0) continue;
        if (windowName && w->title != windowName) continue;
        return w.get();
    }
    if (s.noWindowSystem || !className) return nullptr;
    const std::string address = InstanceAddress(className);
    std::string title;
    if (!RemoteRequest(address, "TITLE", &title)) return nullptr;
    if (windowName && title != windowName) return nullptr;
    for (auto& w : s.windows)
        if (w->remote && w->remoteAddress == address) return w.get();
    auto proxy = std::make_unique<HWND__>();
    proxy->remote = true;
    proxy->remoteAddress = address;
    proxy->title = title;
    s.windows.push_back(std::move(proxy));
    return s.windows.back().get();
}

int win32_internal::MenuBarHeight() { return 19; }

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    HWND w = LiveWindow(hwnd);
    if (!w || !rect) return FALSE;
    const int bar = w->menu ? MenuBarHeight() : 0;
    *rect = RECT{0, 0, w->width, std::max(0, w->height - bar)};
    if (w->minimized) *rect = RECT{};
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    HWND w = LiveWindow(hwnd);
    if (!w || width <= 0 || height <= 0) return FALSE;
    if (w->sdl) {
        SDL_SetWindowPosition(w->sdl, x, y);
        SDL_SetWindowSize(w->sdl, width, height);
    } else {
        SDL_WindowEvent e{};
        e.type = SDL_WINDOWEVENT;
        e.event = SDL_WINDOWEVENT_SIZE_CHANGED;
        e.data1 = width;
        e.data2 = height;
        SDL_Event event;
        event.window = e;
        W32().injected.push_back(event);
    }
    if (repaint) w->invalid = true;
    return TRUE;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    HWND w = LiveWindow(hwnd);
    if (!w) return FALSE;
    w->title = text ? text : "";
    if (w->sdl) SDL_SetWindowTitle(w->sdl, w->title.c_str());
    NoteWindowState(w);
    return TRUE;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size) {
    if (!IsWindow(hwnd) || !buffer || size <= 0) return 0;
    const int n = std::min<int>(size - 1, static_cast<int>(hwnd->title.size()));
    std::memcpy(buffer, hwnd->title.data(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return n;
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    HWND w = LiveWindow(hwnd);
    if (!w) return 0;
    LONG_PTR old = 0;
    switch (index) {
    case GWLP_USERDATA:
        old = w->userData;
        w->userData = value;
        break;
    case GWLP_WNDPROC:
        old = reinterpret_cast<LONG_PTR>(w->proc);
        w->proc = reinterpret_cast<WNDPROC>(value);
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        break;
    }
    return old;
}

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
    HWND w = LiveWindow(hwnd);
    if (!w) return 0;
    switch (index) {
    case GWLP_USERDATA: return w->userData;
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_ID: return w->id;
    case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

// ---- Painting ----------------------------------------------------------------------------

BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL) {
    HWND w = LiveWindow(hwnd);
    if (!w) return FALSE;
    w->invalid = true;
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL) {
    HWND w = LiveWindow(hwnd);
    if (!w || !w->invalid) {
        if (rect) *rect = RECT{};
        return FALSE;
    }
    if (rect) GetClientRect(w, rect);
    return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    HWND w = LiveWindow(hwnd);
    if (!w) return nullptr;
    if (paint) {
        paint->hdc = &w->dc;
        paint->fErase = FALSE;
        GetClientRect(w, &paint->rcPaint);
    }
    w->invalid = false;
    return &w->dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT*) { return LiveWindow(hwnd) ? TRUE : FALSE; }

HDC GetDC(HWND hwnd) {
    HWND w = LiveWindow(hwnd);
    return w ? &w->dc : nullptr;
}

int ReleaseDC(HWND, HDC dc) { return dc ? 1 : 0; }

int GetDeviceCaps(HDC dc, int index) {
    if (!dc || index != BITSPIXEL) return 0;
    Win32State& s = W32();
    if (s.noWindowSystem || !dc->hwnd || !dc->hwnd->sdl) return s.displayBits;
    const Uint32 format = SDL_GetWindowPixelFormat(dc->hwnd->sdl);
    if (format == SDL_PIXELFORMAT_UNKNOWN) return s.displayBits;
    // A 24-bit visual is stored four bytes a pixel; report it as the platform did, 32.
    return SDL_BYTESPERPIXEL(format) == 4 ? 32 : static_cast<int>(SDL_BITSPERPIXEL(format));
}

HGDIOBJ GetStockObject(int object) {
    static int stock[32];
    return (object >= 0 && object < 32) ? &stock[object] : nullptr;
}

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        SDL_DisplayMode mode;
        if (W32().videoUp && SDL_GetDesktopDisplayMode(0, &mode) == 0) return index == SM_CXSCREEN ? mode.w : mode.h;
        return index == SM_CXSCREEN ? 1280 : 1024;
    }
    default: return 0;
    }
}
