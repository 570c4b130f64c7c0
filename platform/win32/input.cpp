// Translation of window-system events (SDL) into window messages: keys with virtual-key
// codes, mouse with MK_* flags and client coordinates, size, activation, expose and close.
// Internal to platform/win32: no call of its own; it feeds the message queue
// (message_queue.cpp) and the ImGui contexts of the menu bar and the modal boxes.
#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cfloat>

#include "platform/win32/state.h"

using namespace win32_internal;

namespace win32_internal {

WORD VirtualKeyFor(SDL_Scancode sc, SDL_Keycode key) {
    // The numeric pad gives its own codes whatever the Num Lock state.
    switch (sc) {
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_1: return VK_NUMPAD1;
    case SDL_SCANCODE_KP_2: return VK_NUMPAD2;
    case SDL_SCANCODE_KP_3: return VK_NUMPAD3;
    case SDL_SCANCODE_KP_4: return VK_NUMPAD4;
    case SDL_SCANCODE_KP_5: return VK_NUMPAD5;
    case SDL_SCANCODE_KP_6: return VK_NUMPAD6;
    case SDL_SCANCODE_KP_7: return VK_NUMPAD7;
    case SDL_SCANCODE_KP_8: return VK_NUMPAD8;
    case SDL_SCANCODE_KP_9: return VK_NUMPAD9;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_KP_PERIOD: return VK_DECIMAL;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    default: break;
    }
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<WORD>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<WORD>('0' + (key - SDLK_0));
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return static_cast<WORD>(VK_F1 + (sc - SDL_SCANCODE_F1));
    switch (sc) {
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_RETURN: return VK_RETURN;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK;
    case SDL_SCANCODE_TAB: return VK_TAB;
    case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
    case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
    case SDL_SCANCODE_END: return VK_END;
    case SDL_SCANCODE_HOME: return VK_HOME;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_INSERT: return VK_INSERT;
    case SDL_SCANCODE_DELETE: return VK_DELETE;
    case SDL_SCANCODE_PAUSE: return VK_PAUSE;
    case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT: return VK_SHIFT;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return VK_CONTROL;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT: return VK_MENU;
    default: return 0;
    }
}

}  // namespace win32_internal

static void QueueInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m;
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = SDL_GetTicks();
    W32().input.push_back(m);
}

static WPARAM MouseKeyFlags(Uint32 buttons) {
    WPARAM flags = 0;
    if (buttons & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
    if (buttons & SDL_BUTTON_MMASK) flags |= MK_MBUTTON;
    const Uint16 mod = W32().videoUp ? static_cast<Uint16>(SDL_GetModState()) : W32().modState;
    if (mod & KMOD_SHIFT) flags |= MK_SHIFT;
    if (mod & KMOD_CTRL) flags |= MK_CONTROL;
    return flags;
}

// Client coordinates are window coordinates less the menu bar above the client area.
static LPARAM ClientPoint(HWND w, int x, int y) {
    const int bar = w->menu ? MenuBarHeight() : 0;
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y - bar)));
}

// True while `w` holds the mouse capture: its mouse input goes to it wherever the pointer is,
// the menu bar included.
static bool Captures(HWND w) { return W32().capture == w; }

// True when ImGui (the menu bar, an open popup, a modal box) takes the mouse at (x, y).
static bool MenuTakesMouse(HWND w, int y) {
    if (w->menu && y < MenuBarHeight()) return true;
    if (!w->imgui) return false;
    ImGui::SetCurrentContext(w->imgui);
    return !w->openPopups.empty() || ImGui::GetIO().WantCaptureMouse;
}

// ImGui 1.86 has no input queue: it sees the keys and buttons as they are when a frame
// begins, so a press and its release between two frames would never reach it. Events wait
// here and are handed over one press or release a frame, in order; motion goes along with
// the press that follows it.
static void QueueImGuiEvent(HWND w, const SDL_Event& e) {
    switch (e.type) {
    case SDL_WINDOWEVENT:
        if (e.window.event != SDL_WINDOWEVENT_LEAVE) return;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
    case SDL_TEXTINPUT:
        break;
    default:
        return;
    }
    // While no frame is drawn (a minimised window) the oldest input is let go.
    constexpr size_t kMostWaiting = 1024;
    if (w->imguiEvents.size() >= kMostWaiting) w->imguiEvents.pop_front();
    w->imguiEvents.push_back(e);
}

static int ImGuiButton(Uint8 button) {
    switch (button) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    default: return -1;
    }
}

// Applies queued events up to and including the first press or release.
static void FeedImGuiInput(HWND w) {
    ImGuiIO& io = ImGui::GetIO();
    while (!w->imguiEvents.empty()) {
        const SDL_Event e = w->imguiEvents.front();
        w->imguiEvents.pop_front();
        switch (e.type) {
        case SDL_WINDOWEVENT:   // the pointer left the window
            io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
            continue;
        case SDL_MOUSEMOTION:
            io.MousePos = ImVec2(static_cast<float>(e.motion.x), static_cast<float>(e.motion.y));
            // A drag reaches ImGui step by step: a run of motions with a button held takes
            // a frame of its own.
            if (e.motion.state != 0 && (w->imguiEvents.empty() || w->imguiEvents.front().type != SDL_MOUSEMOTION)) return;
            continue;
        case SDL_MOUSEWHEEL:
            io.MouseWheel += static_cast<float>(e.wheel.y);
            io.MouseWheelH += static_cast<float>(e.wheel.x);
            continue;
        case SDL_TEXTINPUT:
            io.AddInputCharactersUTF8(e.text.text);
            continue;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const int button = ImGuiButton(e.button.button);
            if (button < 0) continue;
            io.MousePos = ImVec2(static_cast<float>(e.button.x), static_cast<float>(e.button.y));
            io.MouseDown[button] = e.type == SDL_MOUSEBUTTONDOWN;
            return;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int key = e.key.keysym.scancode;
            if (key < 0 || key >= IM_ARRAYSIZE(io.KeysDown)) continue;
            io.KeysDown[key] = e.type == SDL_KEYDOWN;
            const Uint16 mod = e.key.keysym.mod;
            io.KeyShift = (mod & KMOD_SHIFT) != 0;
            io.KeyCtrl = (mod & KMOD_CTRL) != 0;
            io.KeyAlt = (mod & KMOD_ALT) != 0;
            io.KeySuper = (mod & KMOD_GUI) != 0;
            return;
        }
        default:
            continue;
        }
    }
}

namespace win32_internal {

void BeginImGuiFrame(HWND w) {
    ImGuiIO& io = ImGui::GetIO();
    int width = 0, height = 0, drawableWidth = 0, drawableHeight = 0;
    SDL_GetWindowSize(w->sdl, &width, &height);
    SDL_GL_GetDrawableSize(w->sdl, &drawableWidth, &drawableHeight);
    if (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_MINIMIZED) width = height = 0;
    io.DisplaySize = ImVec2(static_cast<float>(width), static_cast<float>(height));
    if (width > 0 && height > 0)
        io.DisplayFramebufferScale = ImVec2(static_cast<float>(drawableWidth) / static_cast<float>(width),
                                            static_cast<float>(drawableHeight) / static_cast<float>(height));
    const Uint64 now = SDL_GetPerformanceCounter();
    const double step = w->imguiTime ? static_cast<double>(now - w->imguiTime) / static_cast<double>(SDL_GetPerformanceFrequency())
                                     : 1.0 / 60.0;
    io.DeltaTime = step > 0.0 ? static_cast<float>(step) : 1e-4f;
    w->imguiTime = now;
    FeedImGuiInput(w);
}

void DropQueuedPresses(HWND w) {
    auto press = [](const SDL_Event& e) { return e.type == SDL_KEYDOWN || e.type == SDL_MOUSEBUTTONDOWN; };
    w->imguiEvents.erase(std::remove_if(w->imguiEvents.begin(), w->imguiEvents.end(), press), w->imguiEvents.end());
}

}  // namespace win32_internal

static void SendSize(HWND w) {
    RECT client;
    GetClientRect(w, &client);
    QueueInput(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
}

static void TranslateWindowEvent(HWND w, const SDL_WindowEvent& e) {
    switch (e.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (w->width == e.data1 && w->height == e.data2 && !w->minimized) return;
        w->width = e.data1;
        w->height = e.data2;
        if (!w->minimized) SendSize(w);
        w->invalid = true;
        return;
    case SDL_WINDOWEVENT_MINIMIZED:
        if (w->minimized) return;
        w->minimized = true;
        NoteWindowState(w);
        QueueInput(w, WM_SIZE, SIZE_MINIMIZED, 0);
        return;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        if (w->sdl) SDL_GetWindowSize(w->sdl, &w->width, &w->height);
        w->minimized = false;
        NoteWindowState(w);
        SendSize(w);
        w->invalid = true;
        return;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        QueueInput(w, WM_ACTIVATE, WA_ACTIVE, 0);
        return;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        QueueInput(w, WM_ACTIVATE, WA_INACTIVE, 0);
        return;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
        w->invalid = true;
        return;
    case SDL_WINDOWEVENT_CLOSE:
        QueueInput(w, WM_CLOSE, 0, 0);
        return;
    default:
        return;
    }
}

namespace win32_internal {

void TranslateEvent(const SDL_Event& e, bool forModal) {
    Win32State& s = W32();
    if (s.userEventType != 0 && e.type == s.userEventType) {
        HandleUserEvent(e);
        return;
    }
    if (e.type == SDL_QUIT) {
        // SIGINT, SIGTERM and the session's request to quit close the main window, or the
        // first one made when none exists yet.
        if (s.mainWindow)
            QueueInput(s.mainWindow, WM_CLOSE, 0, 0);
        else
            s.closePending = true;
        return;
    }
    Uint32 windowId = 0;
    switch (e.type) {
    case SDL_WINDOWEVENT: windowId = e.window.windowID; break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: windowId = e.key.windowID; break;
    case SDL_MOUSEMOTION: windowId = e.motion.windowID; break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: windowId = e.button.windowID; break;
    case SDL_MOUSEWHEEL: windowId = e.wheel.windowID; break;
    case SDL_TEXTINPUT: windowId = e.text.windowID; break;
    default: break;
    }
    HWND w = WindowForSdl(windowId);
    if (!w) return;
    // A disabled window (the owner of a modal dialog box) takes no keys and no clicks.
    if (w->disabled && e.type != SDL_WINDOWEVENT) return;
    if (w->imgui) QueueImGuiEvent(w, e);
    switch (e.type) {
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(w, e.window);
        return;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        s.modState = e.key.keysym.mod;
        if (forModal) return;   // the modal box takes the keyboard
        const WORD vk = VirtualKeyFor(e.key.keysym.scancode, e.key.keysym.sym);
        if (vk == 0) return;
        const bool down = e.type == SDL_KEYDOWN;
        DWORD bits = 1u | (static_cast<DWORD>(e.key.keysym.scancode & 0xFF) << 16);
        if (e.key.repeat || !down) bits |= 1u << 30;   // previous key state: down
        if (!down) bits |= 1u << 31;                   // transition state: released
        QueueInput(w, down ? WM_KEYDOWN : WM_KEYUP, vk, static_cast<LPARAM>(bits));
        return;
    }
    case SDL_MOUSEMOTION:
        if (forModal || (!Captures(w) && MenuTakesMouse(w, e.motion.y))) return;
        QueueInput(w, WM_MOUSEMOVE, MouseKeyFlags(e.motion.state), ClientPoint(w, e.motion.x, e.motion.y));
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (forModal || (!Captures(w) && MenuTakesMouse(w, e.button.y))) return;
        const bool down = e.type == SDL_MOUSEBUTTONDOWN;
        UINT message = 0;
        switch (e.button.button) {
        case SDL_BUTTON_LEFT: message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
        case SDL_BUTTON_RIGHT: message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
        case SDL_BUTTON_MIDDLE: message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
        default: return;
        }
        // The flags describe the buttons as they are after this event.
        Uint32 state = s.videoUp ? SDL_GetMouseState(nullptr, nullptr) : s.buttonState;
        const Uint32 mask = SDL_BUTTON(e.button.button);
        state = down ? (state | mask) : (state & ~mask);
        s.buttonState = state;
        QueueInput(w, message, MouseKeyFlags(state), ClientPoint(w, e.button.x, e.button.y));
        return;
    }
    default:
        return;
    }
}

void QueueWindowEvent(HWND w, Uint8 kind) {
    SDL_WindowEvent e{};
    e.type = SDL_WINDOWEVENT;
    e.event = kind;
    TranslateWindowEvent(w, e);
}

void PumpEvents(bool forModal) {
    Win32State& s = W32();
    if (!s.injected.empty()) {
        std::vector<SDL_Event> batch;
        batch.swap(s.injected);
        for (const SDL_Event& e : batch) TranslateEvent(e, forModal);
    }
    if (!s.videoUp) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) TranslateEvent(e, forModal);
}

}  // namespace win32_internal
