// The show's two catalogues, backgrounds and scenes, and the steps that walk them: by the
// frame tick every thousand idle frames once the user switched cycling on, or by a key.
#include <cstdio>

#include "content/scene_script.h"
#include "content/script_build.h"
#include "settings/shared.h"

BYTE cycleBackgrounds = 0;
BYTE cycleScenes = 0;
float cycleCounter = 0.1f;
int backgroundIndex = 0;
int sceneIndex = 0;

namespace {

constexpr int kLastBackground = 14;   // bgnd, sky01 … sky09, galaxis1 … galaxis5
constexpr int kLastScene = 18;        // test1, scene00 … scene16, scene_off

// The picture at `index`; an index outside 1 … 14 means the first, and is set back to 0.
void BackgroundFile(int& index, char (&file)[40]) {
    if (index < 1 || index > kLastBackground) index = 0;
    if (index == 0)
        std::snprintf(file, sizeof file, "/virelux/bgr/bgnd.bmp");
    else if (index <= 9)
        std::snprintf(file, sizeof file, "/virelux/bgr/sky%02d.bmp", index);
    else
        std::snprintf(file, sizeof file, "/virelux/bgr/galaxis%d.bmp", index - 9);
}

// The scene script at `index`, relative to the current folder; outside 1 … 18 the first.
void SceneFile(int& index, char (&file)[40]) {
    if (index < 1 || index > kLastScene) index = 0;
    if (index == 0)
        std::snprintf(file, sizeof file, "test1.txt");
    else if (index == kLastScene)
        std::snprintf(file, sizeof file, "scene_off.txt");
    else
        std::snprintf(file, sizeof file, "scene%02d.txt", index - 1);
}

}  // namespace

void NextBackground() {
    char file[40];
    BackgroundFile(backgroundIndex, file);
    Ref<IDirect3DRMTexture3> texture;
    if (d3drm->LoadTexture(file, texture.put()) != D3DRM_OK) {
        cycleBackgrounds = 0;   // a missing picture ends the cycle, silently
        return;
    }
    appState->scene->SetSceneBackgroundImage(texture.get());
    ++backgroundIndex;
}

void NextScene() {
    char file[40];
    SceneFile(sceneIndex, file);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_WAIT)));
    d3drm->AddSearchPath("\\virelux\\tex");
    if (!ReadSceneScript(nullptr, file, false)) {
        cycleScenes = 0;   // an unreadable scene ends the cycle; the current scene stays
        SetCursor(previous);
        return;
    }
    RunSceneScript(nullptr);   // a scene that fails half-built still counts as shown
    SetCursor(previous);
    flyActive = 1;
    ++sceneIndex;
}
