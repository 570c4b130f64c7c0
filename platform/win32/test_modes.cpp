// The test modes: recorded interaction and no window system, and the injection of input.
// Internal to platform/win32: no platform call; the test hooks declared in win32_test.h.
#include <SDL.h>

#include "platform/win32/state.h"

using namespace win32_internal;

namespace win32test {

void EnableRecordedInteraction() { W32().recordedInteraction = true; }
void EnableNoWindowSystem() { W32().noWindowSystem = true; }
bool NoWindowSystem() { return W32().noWindowSystem; }

const std::vector<RecordedMessageBox>& RecordedMessageBoxes() { return W32().recordedBoxes; }
void ClearRecordedMessageBoxes() { W32().recordedBoxes.clear(); }

void InjectEvent(const SDL_Event& event) {
    if (W32().videoUp) {
        SDL_Event copy = event;
        SDL_PushEvent(&copy);
    } else {
        W32().injected.push_back(event);
    }
}

// Input goes to the active window: an open dialog box, else the main window.
static Uint32 ActiveWindowId() {
    HWND w = ActiveWindow();
    return w && w->sdl ? SDL_GetWindowID(w->sdl) : 0;
}

void InjectKey(SDL_Scancode scancode, SDL_Keycode key, bool down, bool repeat, Uint16 mod) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = ActiveWindowId();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    InjectEvent(e);
}

void InjectMouseMotion(int x, int y, Uint32 buttonState) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = ActiveWindowId();
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = buttonState;
    InjectEvent(e);
}

void InjectText(const char* text) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = ActiveWindowId();
    SDL_strlcpy(e.text.text, text, sizeof e.text.text);
    InjectEvent(e);
}

void InjectMouseButton(int x, int y, Uint8 button, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = ActiveWindowId();
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    InjectEvent(e);
}

static void InjectWindowEvent(Uint8 kind, int data1 = 0, int data2 = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = ActiveWindowId();
    e.window.event = kind;
    e.window.data1 = data1;
    e.window.data2 = data2;
    InjectEvent(e);
}

void InjectResize(int width, int height) { InjectWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, width, height); }
void InjectMinimize() { InjectWindowEvent(SDL_WINDOWEVENT_MINIMIZED); }
void InjectRestore() { InjectWindowEvent(SDL_WINDOWEVENT_RESTORED); }

void InjectQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    InjectEvent(e);
}

void SetWaitHook(std::function<void()> hook) { W32().waitHook = std::move(hook); }
int MenuBarHeight() { return win32_internal::MenuBarHeight(); }
std::uint64_t PresentedFrames() { return W32().presentedFrames; }
std::uint64_t NextPresentDueNs() { return W32().presentDueNs; }
void SetDisplayBitsPerPixel(int bits) { W32().displayBits = bits; }

}  // namespace win32test

void win32_internal::RunWaitHook() {
    if (W32().waitHook) W32().waitHook();
}
