// The process entry point: hands control to the program's WinMain as the platform would.
// Implements: the call of WinMain (instance, command line, show command).
#include <SDL.h>

#include <string>

#include "platform/win32/state.h"

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    const int status = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
    win32_internal::ShutdownWindows();
    SDL_Quit();
    return status;
}
