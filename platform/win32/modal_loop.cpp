// The nested loop of a modal box, as the platform's modal loops run: posted messages and
// painting go on reaching their windows, input to the owner is held back, and a close of
// the main window ends the box as if cancelled, the close itself taking its normal path
// once the box has returned.
// Internal to platform/win32: no call of its own; it serves MessageBoxA, the dialog boxes and
// the other modal boxes.
#include <SDL.h>

#include "platform/win32/state.h"

using namespace win32_internal;

namespace {

// The window manager's close or a termination signal waits for the main window, or the
// program posted WM_QUIT. Both stay queued.
bool CloseWaits() {
    Win32State& s = W32();
    if (s.quitPosted) return true;
    for (const MSG& m : s.input)
        if (m.message == WM_CLOSE && m.hwnd == s.mainWindow) return true;
    return false;
}

// The messages waiting when the frame began; one posted meanwhile waits for the next frame,
// so a window that posts to itself cannot hold the box still.
void DispatchPosted() {
    for (size_t waiting = PostedCount(); waiting > 0; --waiting) {
        MSG msg;
        if (!TakePosted(&msg, nullptr, 0, 0, true)) return;
        DispatchMessageA(&msg);
    }
}

void PaintInvalidWindows() {
    std::vector<HWND> invalid;
    for (auto& w : W32().windows)
        if (!w->destroyed && !w->remote && w->invalid && w->visible && !w->minimized) invalid.push_back(w.get());
    for (HWND w : invalid)
        if (LiveWindow(w)) SendMessageA(w, WM_PAINT, 0, 0);
}

}  // namespace

bool win32_internal::RunModalLoop(HWND host, const std::function<void()>& draw, const std::function<bool()>& done) {
    host->modalDraws.push_back(&draw);
    DropQueuedPresses(host);
    bool closing = false;
    while (LiveWindow(host) && !done()) {
        PumpEvents(true);
        if (CloseWaits()) {
            closing = true;
            break;
        }
        DispatchPosted();
        if (!LiveWindow(host) || done()) break;
        PaintInvalidWindows();
        if (!LiveWindow(host)) break;
        DrawWindowFrame(host, &draw, true);
    }
    host->modalDraws.pop_back();
    host->invalid = true;   // the box covered the client area
    return !closing;
}
