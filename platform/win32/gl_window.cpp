// The main window's OpenGL context and ImGui context, made together with the window (and
// those of the windows of modal dialog boxes), and the presentation of a frame: the
// renderer's client image under the menu bar, any modal box on top, then a swap paced to
// the display where vertical sync is refused (the wait for it happens before the next frame,
// mostly in the message pump).
// Internal to platform/win32: no platform call of its own; it serves the windows of
// window.cpp and, through win32_gl.h, the renderer of platform/d3drm.
//
// Diagnostics for measurement (environment, read only here):
//   PLATFORM_DIAG_FIRST_FRAME=1  prints when the first frame was presented
//   PLATFORM_DIAG_FRAMES=1       prints the frame count once a second
//   PLATFORM_NO_PACING=1         presents as fast as possible (benchmarks)
// and the values a program reports (PLATFORM_DIAG_VALUES, diagnostics.cpp).
#include <SDL.h>
#include <epoxy/gl.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>

#include <unistd.h>

#include "platform/win32/diagnostics.h"
#include "platform/win32/state.h"
#include "platform/win32/win32_gl.h"

using namespace win32_internal;

static bool EnvFlag(const char* name) {
    const char* v = std::getenv(name);
    return v && *v && *v != '0';
}

static std::uint64_t NowNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<std::uint64_t>(ts.tv_nsec);
}

// Milliseconds since this process started (from /proc, in clock ticks since boot).
static double MillisecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return -1.0;
    // Field 22 (starttime) is the 20th field after the command name.
    std::istringstream rest(text.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && rest >> field; ++i) {}
    const double startTicks = std::atof(field.c_str());
    timespec boot;
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const double nowMs = static_cast<double>(boot.tv_sec) * 1000.0 + static_cast<double>(boot.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

namespace win32_internal {

static bool AttachContexts(HWND w);

bool CreateGlWindow(HWND w, bool visible) {
    Win32State& s = W32();
    const bool first = s.mainWindow == nullptr;
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | (visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    w->sdl = SDL_CreateWindow(w->title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, w->width, w->height, flags);
    if (!w->sdl) {
        std::fprintf(stderr, "win32: cannot create a window: %s\n", SDL_GetError());
        return false;
    }
    if (!first) return true;   // only the main window draws with GL and ImGui
    if (!AttachContexts(w)) return true;   // the window works without GL; message boxes fall back to SDL's
    // Vertical sync paces the show (motion is counted in frames). Some drivers refuse it.
    s.vsyncRefused = SDL_GL_SetSwapInterval(1) != 0 || SDL_GL_GetSwapInterval() != 1;
    if (EnvFlag("PLATFORM_NO_PACING")) SDL_GL_SetSwapInterval(0);
    return true;
}

// A GL context (3.3 core when the driver gives it, otherwise the best it gets) and an ImGui
// context for the window. False without GL.
static bool AttachContexts(HWND w) {
    w->gl = SDL_GL_CreateContext(w->sdl);
    if (w->gl) {
        w->glCore = true;
    } else {
        // Take the best context the driver gives; the renderer decides whether it is enough.
        SDL_GL_ResetAttributes();
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        w->gl = SDL_GL_CreateContext(w->sdl);
    }
    if (!w->gl) {
        std::fprintf(stderr, "win32: no OpenGL context for the window: %s\n", SDL_GetError());
        return false;
    }
    int major = 0, minor = 0;
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, &major);
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, &minor);
    int profile = 0;
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, &profile);
    w->glVersion = major * 10 + minor;
    w->glCore = (profile & SDL_GL_CONTEXT_PROFILE_CORE) != 0;
    if (!w->glCore && w->glVersion >= 33) w->glVersion = 33;   // asked for nothing in particular

    IMGUI_CHECKVERSION();
    w->imgui = ImGui::CreateContext();
    ImGui::SetCurrentContext(w->imgui);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    ImGui::StyleColorsLight();
    ImGuiStyle& style = ImGui::GetStyle();
    style.FramePadding.y = 3.0f;   // keeps the menu bar at MenuBarHeight()
    style.WindowRounding = 0.0f;
    ImGui_ImplSDL2_InitForOpenGL(w->sdl, w->gl);
    ImGui_ImplOpenGL3_Init(w->glCore ? "#version 150" : "#version 130");
    return true;
}

// Where the systems keep DejaVu Sans, a proportional face close to the dialog font's widths.
static const char* const kBoxFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/TTF/DejaVuSans.ttf",
    "/usr/share/fonts/dejavu/DejaVuSans.ttf",
};
// 11 pixels of DejaVu Sans match 8-point MS Sans Serif: about 6 pixels a character, 8-pixel capitals.
constexpr float kBoxFontPixels = 11.0f;

void LoadBoxFont() {
    ImGuiIO& io = ImGui::GetIO();
    for (const char* file : kBoxFontFiles) {
        if (access(file, R_OK) != 0) continue;
        if (io.Fonts->AddFontFromFileTTF(file, kBoxFontPixels)) return;
    }
    io.Fonts->AddFontDefault();
}

bool CreateBoxWindow(HWND box, HWND owner, int width, int height, bool caption) {
    if (!EnsureVideo()) return false;
    owner = LiveWindow(owner);
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    if (owner && owner->sdl) {
        int ox = 0, oy = 0, ow = 0, oh = 0;
        SDL_GetWindowPosition(owner->sdl, &ox, &oy);
        SDL_GetWindowSize(owner->sdl, &ow, &oh);
        x = ox + (ow - width) / 2;
        y = oy + (oh - height) / 2;
        // The whole box stays on the screen, even over a small owner near its edge.
        SDL_Rect screen;
        const int display = SDL_GetWindowDisplayIndex(owner->sdl);
        if (display >= 0 && SDL_GetDisplayUsableBounds(display, &screen) == 0) {
            x = std::max(screen.x, std::min(x, screen.x + screen.w - width));
            y = std::max(screen.y, std::min(y, screen.y + screen.h - height));
        }
    }
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | (caption ? 0 : SDL_WINDOW_BORDERLESS);
    box->width = width;
    box->height = height;
    box->sdl = SDL_CreateWindow(box->title.c_str(), x, y, width, height, flags);
    if (!box->sdl) {
        std::fprintf(stderr, "win32: cannot create the window of a box: %s\n", SDL_GetError());
        return false;
    }
    if (owner && owner->sdl) SDL_SetWindowModalFor(box->sdl, owner->sdl);
    ImGuiContext* previous = ImGui::GetCurrentContext();
    if (!AttachContexts(box)) {
        DestroyGlWindow(box);
        ImGui::SetCurrentContext(previous);
        return false;
    }
    SDL_GL_SetSwapInterval(W32().vsyncRefused ? 0 : 1);
    LoadBoxFont();
    // The look of the platform's dialogs: grey buttons with a frame, white check boxes.
    ImGuiStyle& style = ImGui::GetStyle();
    style.FrameBorderSize = 1.0f;
    style.FrameRounding = 0.0f;
    style.Colors[ImGuiCol_Border] = ImVec4(0.45f, 0.45f, 0.45f, 1.0f);
    style.Colors[ImGuiCol_Button] = ImVec4(0.88f, 0.87f, 0.84f, 1.0f);
    style.Colors[ImGuiCol_ButtonHovered] = ImVec4(0.93f, 0.92f, 0.90f, 1.0f);
    style.Colors[ImGuiCol_ButtonActive] = ImVec4(0.75f, 0.74f, 0.71f, 1.0f);
    style.Colors[ImGuiCol_FrameBg] = ImVec4(1.0f, 1.0f, 1.0f, 1.0f);
    style.Colors[ImGuiCol_CheckMark] = ImVec4(0.0f, 0.0f, 0.0f, 1.0f);
    ImGui::SetCurrentContext(previous);
    return true;
}

void DestroyGlWindow(HWND w) {
    if (w->imgui) {
        ImGui::SetCurrentContext(w->imgui);
        SDL_GL_MakeCurrent(w->sdl, w->gl);
        ImGui_ImplOpenGL3_Shutdown();
        ImGui_ImplSDL2_Shutdown();
        ImGui::DestroyContext(w->imgui);
        w->imgui = nullptr;
    }
    if (w->gl) {
        SDL_GL_DeleteContext(w->gl);
        w->gl = nullptr;
    }
    if (w->sdl) {
        SDL_DestroyWindow(w->sdl);
        w->sdl = nullptr;
    }
}

// Where vertical sync is refused, presents are paced to the display's refresh rate (60 Hz
// when unknown), because programs of this kind count motion in frames. The wait comes BEFORE
// a frame, not after its swap: the message pump of a main loop waits for the due time
// (PeekMessageA with an empty queue), so the frame that follows reads its inputs (input
// devices, values other threads compute) right before it is drawn and presented at once. A present that finds the due time still ahead waits for it
// itself (modal loops, programs that do not pump between frames).
static bool Paced() {
    static const bool noPacing = EnvFlag("PLATFORM_NO_PACING");
    return W32().vsyncRefused && !noPacing;
}

static std::uint64_t PacePeriodNs() {
    int hz = 60;
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0) hz = mode.refresh_rate;
    return 1000000000ull / static_cast<std::uint64_t>(hz);
}

// After a paced swap: the next one is due a period after this one was. A swap up to a period
// late (the frame took time to draw after the wait) keeps the grid, so the frame rate stays
// the display's; a later one starts it afresh, without a burst of frames to catch up.
static void SetNextPresentDue() {
    Win32State& s = W32();
    const std::uint64_t period = PacePeriodNs();
    const std::uint64_t now = NowNs();
    const bool onGrid = s.presentDueNs != 0 && now >= s.presentDueNs && now - s.presentDueNs < period;
    s.presentDueNs = (onGrid ? s.presentDueNs : now) + period;
}

bool WaitForPresentDue(bool wakeForMessages) {
    Win32State& s = W32();
    if (!Paced() || !s.videoUp) return false;
    for (;;) {
        const std::uint64_t now = NowNs();
        if (s.presentDueNs == 0 || now >= s.presentDueNs) return false;
        const std::uint64_t left = s.presentDueNs - now;
        if (wakeForMessages) {
            // A message posted from another thread pushes an SDL event too, so SDL's wait sees
            // it, also one posted just before the wait began. SDL waits in whole
            // milliseconds; the rest is slept below.
            const int ms = static_cast<int>(left / 1000000ull);
            if (ms > 0) {
                if (SDL_WaitEventTimeout(nullptr, ms)) return true;
                continue;
            }
        }
        std::this_thread::sleep_for(std::chrono::nanoseconds(left));
    }
}

// A frame the renderer drew in place and only there stays in the back buffer after the swap
// (the renderer tells where that holds). It is copied into the client image texture the
// first time the window must show it again (a modal box's first frame, a repaint), before
// anything is drawn over it: one copy then instead of one at every present.
static void KeepClientImage(HWND w) {
    if (!w->clientImageInBack) return;
    w->clientImageInBack = false;
    if (!w->clientImage) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, w->clientImage);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, w->clientImageBottom, w->clientImageWidth, w->clientImageHeight);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void DrawWindowFrame(HWND w, const std::function<void()>* modal, bool pace, bool clientDrawn) {
    if (!w || !w->sdl || !w->gl || !w->imgui) return;
    // The boxes that run stay on top, the innermost last.
    std::vector<const std::function<void()>*> boxes = w->modalDraws;
    if (modal && (boxes.empty() || boxes.back() != modal)) boxes.push_back(modal);
    if (pace) WaitForPresentDue(false);
    SDL_GL_MakeCurrent(w->sdl, w->gl);
    if (!clientDrawn) KeepClientImage(w);
    ImGui::SetCurrentContext(w->imgui);
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(w->sdl, &width, &height);
    ImGui_ImplOpenGL3_NewFrame();
    // Not the SDL backend's NewFrame: it would read the mouse as it is now and lose the
    // queued input (BeginImGuiFrame).
    BeginImGuiFrame(w);
    ImGui::NewFrame();
    const float bar = w->menu ? static_cast<float>(MenuBarHeight()) : 0.0f;
    ImDrawList* background = ImGui::GetBackgroundDrawList();
    if (clientDrawn) {
        // Only what the image leaves of the client area is blacked out: to its right and
        // below it, while a new window size waits for a device of that size.
        const float right = static_cast<float>(w->clientImageWidth), bottom = bar + static_cast<float>(w->clientImageHeight);
        const float fullWidth = static_cast<float>(width), fullHeight = static_cast<float>(height);
        if (right < fullWidth) background->AddRectFilled(ImVec2(right, bar), ImVec2(fullWidth, fullHeight), IM_COL32(0, 0, 0, 255));
        if (bottom < fullHeight) background->AddRectFilled(ImVec2(0, bottom), ImVec2(right, fullHeight), IM_COL32(0, 0, 0, 255));
    } else {
        background->AddRectFilled(ImVec2(0, 0), ImVec2(static_cast<float>(width), static_cast<float>(height)),
                                  IM_COL32(0, 0, 0, 255));
    }
    if (w->clientImage && !clientDrawn) {
        // The image's first row is its bottom row.
        background->AddImage(reinterpret_cast<ImTextureID>(static_cast<std::uintptr_t>(w->clientImage)), ImVec2(0, bar),
                             ImVec2(static_cast<float>(w->clientImageWidth), bar + static_cast<float>(w->clientImageHeight)),
                             ImVec2(0, 1), ImVec2(1, 0));
    }
    if (w->menu) {
        const bool blocked = !boxes.empty() || w->disabled;
        if (blocked) ImGui::BeginDisabled();
        DrawMenuBarItems(w);
        if (blocked) ImGui::EndDisabled();
    }
    for (const std::function<void()>* box : boxes) (*box)();
    ImGui::Render();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    SDL_GL_SwapWindow(w->sdl);
    if (pace && Paced()) SetNextPresentDue();
    // The renderer draws in the main window's context and the menu bar in its ImGui context.
    HWND main = W32().mainWindow;
    if (w != main && main && main->gl) {
        SDL_GL_MakeCurrent(main->sdl, main->gl);
        ImGui::SetCurrentContext(main->imgui);
    }
}

}  // namespace win32_internal

namespace win32gl {

bool Headless() { return W32().noWindowSystem; }

HWND MainWindow() { return W32().mainWindow; }

bool MakeCurrent(HWND hwnd) {
    HWND w = LiveWindow(hwnd);
    if (!w || !w->sdl || !w->gl) return false;
    return SDL_GL_MakeCurrent(w->sdl, w->gl) == 0;
}

int ContextVersion(HWND hwnd) {
    HWND w = LiveWindow(hwnd);
    return w && w->gl ? w->glVersion : 0;
}

bool ContextIsCore(HWND hwnd) {
    HWND w = LiveWindow(hwnd);
    return w && w->gl && w->glCore;
}

int ClientImageBottom(HWND hwnd, int height) {
    HWND w = LiveWindow(hwnd);
    if (!w || !w->sdl) return 0;
    int drawableWidth = 0, drawableHeight = 0;
    SDL_GL_GetDrawableSize(w->sdl, &drawableWidth, &drawableHeight);
    return drawableHeight - (w->menu ? MenuBarHeight() : 0) - height;
}

void PresentClientImage(HWND hwnd, unsigned texture, int width, int height, ClientImage where) {
    Win32State& s = W32();
    HWND w = LiveWindow(hwnd);
    if (!w) return;
    ++s.presentedFrames;
    w->clientImage = texture;
    w->clientImageWidth = width;
    w->clientImageHeight = height;
    w->clientImageBottom = ClientImageBottom(w, height);
    // A popup of the menu bar is drawn over the frame in the back buffer and would be shown
    // again with it (a box that a menu entry opens repaints the window behind it): while one
    // is open, the frame is copied before anything is drawn over it.
    w->clientImageInBack = where == ClientImage::InPlaceOnly;
    if (!w->openPopups.empty()) KeepClientImage(w);
    const bool keptInBack = w->clientImageInBack;
    w->clientImageInBack = false;
    DrawWindowFrame(w, nullptr, true, where != ClientImage::Texture);
    w->clientImageInBack = keptInBack;
    PrintChangedDiagnosticValues();
    if (!s.firstFrameReported) {
        s.firstFrameReported = true;
        if (EnvFlag("PLATFORM_DIAG_FIRST_FRAME")) {
            timespec wall;
            clock_gettime(CLOCK_REALTIME, &wall);
            std::fprintf(stderr, "win32: first frame presented %.1f ms after process start (epoch %lld.%03ld s)\n",
                         MillisecondsSinceProcessStart(), static_cast<long long>(wall.tv_sec), wall.tv_nsec / 1000000);
        }
    }
    static const bool counting = EnvFlag("PLATFORM_DIAG_FRAMES");
    static std::uint64_t lastReport = 0;
    if (counting) {
        const std::uint64_t now = NowNs();
        if (now - lastReport >= 1000000000ull) {
            std::fprintf(stderr, "win32: %llu frames\n", static_cast<unsigned long long>(s.presentedFrames));
            lastReport = now;
        }
    }
}

void Repaint(HWND hwnd) {
    // Before the first frame there is nothing to show again. A repaint is not a frame of
    // the show, so it is not paced: it never delays the next one.
    HWND w = LiveWindow(hwnd);
    if (w && w->clientImage) DrawWindowFrame(w, nullptr, false);
}

}  // namespace win32gl
