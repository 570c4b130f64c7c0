// Linked into the render floor with -Wl,--wrap=SDL_GL_SwapWindow: counts the program's
// presented frames without touching its source, and prints the count when it exits, as
// "swaps N" on standard output, for bench_render to read.
#include <SDL.h>

#include <cstdio>

extern "C" void __real_SDL_GL_SwapWindow(SDL_Window* window);

namespace {

unsigned long swaps = 0;

struct ReportAtExit {
    ~ReportAtExit() {
        std::printf("swaps %lu\n", swaps);
        std::fflush(stdout);
    }
} reportAtExit;

}  // namespace

extern "C" void __wrap_SDL_GL_SwapWindow(SDL_Window* window) {
    ++swaps;
    __real_SDL_GL_SwapWindow(window);
}
