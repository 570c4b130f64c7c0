// The process's message queue: posted messages, translated input, WM_PAINT and WM_QUIT,
// in the platform's order.
// Implements: PeekMessageA, PostMessageA, SendMessageA, WaitMessage, TranslateMessage,
// DispatchMessageA, PostQuitMessage.
// Leaves out: PeekMessageA's flags other than PM_REMOVE (PM_NOYIELD, PM_QS_*);
// TranslateMessage makes no WM_CHAR; no GetMessageA.
#include <SDL.h>

#include <mutex>

#include "platform/win32/state.h"

using namespace win32_internal;

static bool Matches(const MSG& m, HWND hwnd, UINT lo, UINT hi) {
    if (hwnd && m.hwnd != hwnd) return false;
    if (lo == 0 && hi == 0) return true;
    return m.message >= lo && m.message <= hi;
}

static bool TakeFrom(std::deque<MSG>& queue, MSG* msg, HWND hwnd, UINT lo, UINT hi, bool remove) {
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!Matches(*it, hwnd, lo, hi)) continue;
        *msg = *it;
        if (remove) queue.erase(it);
        return true;
    }
    return false;
}

namespace win32_internal {

bool TakePosted(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
    Win32State& s = W32();
    std::lock_guard<std::mutex> guard(s.postedLock);
    return TakeFrom(s.posted, msg, hwnd, filterMin, filterMax, remove);
}

size_t PostedCount() {
    Win32State& s = W32();
    std::lock_guard<std::mutex> guard(s.postedLock);
    return s.posted.size();
}

}  // namespace win32_internal

// One look at the queues in the platform's order; false when nothing waits.
static bool TakeWaiting(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
    Win32State& s = W32();
    if (TakePosted(msg, hwnd, filterMin, filterMax, remove)) return true;
    if (TakeFrom(s.input, msg, hwnd, filterMin, filterMax, remove)) return true;
    if (s.quitPosted && ((filterMin == 0 && filterMax == 0) || (WM_QUIT >= filterMin && WM_QUIT <= filterMax))) {
        *msg = MSG{};
        msg->message = WM_QUIT;
        msg->wParam = static_cast<WPARAM>(s.quitCode);
        if (remove) s.quitPosted = false;
        return true;
    }
    // WM_PAINT exists only while part of a window is invalid and nothing else waits;
    // BeginPaint validates, so painting never starves the idle passes.
    for (auto& w : s.windows) {
        if (w->destroyed || w->remote || !w->invalid || !w->visible || w->minimized) continue;
        MSG paint;
        paint.hwnd = w.get();
        paint.message = WM_PAINT;
        if (!Matches(paint, hwnd, filterMin, filterMax)) continue;
        *msg = paint;
        return true;
    }
    return false;
}

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!msg) return FALSE;
    const bool remove = (removeFlags & PM_REMOVE) != 0;
    for (;;) {
        PumpEvents(false);
        if (TakeWaiting(msg, hwnd, filterMin, filterMax, remove)) return TRUE;
        // With nothing waiting the caller draws its next frame. While a paced present is not
        // yet due, the wait for it happens here, where input and posted messages still come
        // through at once, rather than in the present: the frame then reads its inputs just
        // before it is drawn.
        if (!WaitForPresentDue(true)) return FALSE;
    }
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m;
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = SDL_GetTicks();
    {
        std::lock_guard<std::mutex> guard(W32().postedLock);
        W32().posted.push_back(m);
    }
    if (W32().videoUp) {
        // Wake a WaitMessage that may be blocked in SDL.
        SDL_Event wake{};
        wake.type = SDL_USEREVENT;
        wake.user.code = 0;
        SDL_PushEvent(&wake);
    }
    return TRUE;
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND w = LiveWindow(hwnd);
    if (!w || !w->proc) return 0;
    return w->proc(w, message, wParam, lParam);
}

BOOL WaitMessage() {
    Win32State& s = W32();
    for (;;) {
        PumpEvents(false);
        if (PostedCount() != 0) return TRUE;
        if (!s.input.empty() || s.quitPosted) return TRUE;
        if (!s.videoUp) {
            // Without a window system nothing can arrive by itself: let the test feed the
            // next input, and never block.
            win32_internal::RunWaitHook();
            return TRUE;
        }
        SDL_WaitEventTimeout(nullptr, 100);
    }
}

BOOL TranslateMessage(const MSG* msg) { return msg && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP); }

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg || !msg->hwnd) return 0;
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode) {
    W32().quitPosted = true;
    W32().quitCode = exitCode;
}
