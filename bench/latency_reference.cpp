// The shortest road from sound to light that the show's set-up allows, as a yardstick for
// bench_latency: an SDL window with an OpenGL context that records the default capture source
// through SDL in the show's format (11025 Hz, mono, 16-bit, 256-sample blocks) and clears the
// window red in proportion to the loudness of the latest block. Presents follow the show's
// rules: vertical sync where the driver gives it, otherwise a wait for the display's period
// (60 Hz when unknown) before the colour is read; PLATFORM_NO_PACING=1 switches that off.
// After each present whose colour changed it prints, on stderr, what the show prints with
// PLATFORM_DIAG_VALUES=1, the three "lamps" being red, nothing, red:
//   "reference: lamps at <CLOCK_MONOTONIC ns> ns: 00RR0000 00000000 00RR0000"
// It runs until the window is closed or the process is told to end (SIGTERM, SIGINT).
#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

namespace {

std::atomic<int> latestRed{0};   // 0..255, written by SDL's capture callback

std::uint64_t NowNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<std::uint64_t>(ts.tv_nsec);
}

// A full-scale sine (RMS 23170) gives 255.
void SDLCALL OnBlock(void*, Uint8* stream, int length) {
    const auto* samples = reinterpret_cast<const std::int16_t*>(stream);
    const int count = length / 2;
    if (count <= 0) return;
    double sum = 0;
    for (int i = 0; i < count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    const double rms = std::sqrt(sum / count);
    latestRed.store(std::min(255, static_cast<int>(rms * 255.0 / 23170.0)), std::memory_order_relaxed);
}

bool EnvFlag(const char* name) {
    const char* v = std::getenv(name);
    return v && *v && *v != '0';
}

}  // namespace

int main(int, char**) {
    SDL_SetHint(SDL_HINT_AUDIO_INCLUDE_MONITORS, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "reference: SDL_Init failed: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("latency reference", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 320,
                                          320, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    SDL_GLContext gl = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!gl) {
        std::fprintf(stderr, "reference: no OpenGL window: %s\n", SDL_GetError());
        return 1;
    }
    const bool noPacing = EnvFlag("PLATFORM_NO_PACING");
    const bool paced = !noPacing && (SDL_GL_SetSwapInterval(1) != 0 || SDL_GL_GetSwapInterval() != 1);
    if (noPacing) SDL_GL_SetSwapInterval(0);
    int hz = 60;
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(0, &mode) == 0 && mode.refresh_rate > 0) hz = mode.refresh_rate;
    const std::uint64_t period = 1000000000ull / static_cast<std::uint64_t>(hz);

    SDL_AudioSpec want{};
    want.freq = 11025;
    want.format = AUDIO_S16LSB;
    want.channels = 1;
    want.samples = 256;
    want.callback = OnBlock;
    const SDL_AudioDeviceID capture = SDL_OpenAudioDevice(nullptr, 1, &want, nullptr, 0);
    if (capture == 0) {
        std::fprintf(stderr, "reference: cannot record: %s\n", SDL_GetError());
        return 1;
    }
    SDL_PauseAudioDevice(capture, 0);

    int printed = -1;
    std::uint64_t due = 0;
    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e))
            if (e.type == SDL_QUIT) {
                SDL_CloseAudioDevice(capture);
                SDL_Quit();
                return 0;
            }
        if (paced && due != 0) {
            const std::uint64_t now = NowNs();
            if (now < due) std::this_thread::sleep_for(std::chrono::nanoseconds(due - now));
        }
        const int red = latestRed.load(std::memory_order_relaxed);
        glClearColor(static_cast<float>(red) / 255.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
        const std::uint64_t presented = NowNs();
        // The same grid as the show's: a present up to a period late keeps it.
        due = (due != 0 && presented >= due && presented - due < period ? due : presented) + period;
        if (red != printed) {
            const unsigned lamp = static_cast<unsigned>(red) << 16;
            std::fprintf(stderr, "reference: lamps at %llu ns: %08X %08X %08X\n",
                         static_cast<unsigned long long>(presented), lamp, 0u, lamp);
            printed = red;
        }
    }
}
