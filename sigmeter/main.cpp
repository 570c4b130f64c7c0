// sigmeter: a live view of what the show hears. It records the capture input the show uses,
// puts every buffer through the show's own analysis, and draws the level, the spectrum and
// the band colours in one window. It ends with status 0 when its window is closed or it is
// told to end (SIGTERM, SIGINT: SDL turns both into a quit event).
#include <SDL.h>
#include <epoxy/gl.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>

#include <cstdio>

#include "platform/win32/win32.h"
#include "sigmeter/meter_input.h"
#include "sigmeter/meter_view.h"

// The platform reads a program's menus, strings and images from tables the program defines;
// the meter has none (its wave input only links the rest of the window layer).
const ResourceTables& Win32ProgramResources() {
    static const ResourceTables none;
    return none;
}

namespace {

constexpr Uint32 kFrameMs = 16;   // about 60 frames a second where vertical sync is refused

// A GL 3.3 core context, or whatever the driver gives.
SDL_GLContext MakeContext(SDL_Window* window, bool* core) {
    SDL_GLContext gl = SDL_GL_CreateContext(window);
    *core = gl != nullptr;
    if (!gl) {
        SDL_GL_ResetAttributes();
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        gl = SDL_GL_CreateContext(window);
    }
    return gl;
}

}  // namespace

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "sigmeter: no display: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("Virelux SigMeter", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          kMeterWidth, kMeterHeight, SDL_WINDOW_OPENGL);
    bool core = false;
    SDL_GLContext gl = window ? MakeContext(window, &core) : nullptr;
    if (!gl) {
        std::fprintf(stderr, "sigmeter: no OpenGL window: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SDL_GL_MakeCurrent(window, gl);
    SDL_GL_SetSwapInterval(1);

    ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr;
    ImGui::StyleColorsDark();
    ImGui_ImplSDL2_InitForOpenGL(window, gl);
    ImGui_ImplOpenGL3_Init(core ? "#version 150" : "#version 130");

    {
        MeterInput input;
        if (!input.Reading().open)
            std::fprintf(stderr, "sigmeter: No sound input: %s\n", input.Reading().failure.c_str());

        for (bool running = true; running;) {
            const Uint32 frameStart = SDL_GetTicks();
            for (SDL_Event event; SDL_PollEvent(&event);) {
                ImGui_ImplSDL2_ProcessEvent(&event);
                if (event.type == SDL_QUIT) running = false;
                if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) running = false;
            }
            input.Poll();

            ImGui_ImplOpenGL3_NewFrame();
            ImGui_ImplSDL2_NewFrame();
            ImGui::NewFrame();
            DrawMeter(input.Reading());
            ImGui::Render();
            int width = 0, height = 0;
            SDL_GL_GetDrawableSize(window, &width, &height);
            glViewport(0, 0, width, height);
            glClearColor(0.08f, 0.08f, 0.1f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
            SDL_GL_SwapWindow(window);

            // Vertical sync paces the loop where the driver grants it; otherwise this does.
            const Uint32 spent = SDL_GetTicks() - frameStart;
            if (spent < kFrameMs) SDL_Delay(kFrameMs - spent);
        }
    }   // the input closes here

    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    SDL_GL_DeleteContext(gl);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
