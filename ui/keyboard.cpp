#include "ui/keyboard.h"

#include "settings/shared.h"

// FIXME: the camera and object keys join here with the interaction work.
void OnKeyDown(HWND hwnd, WPARAM key) {
    if (danceActive && key != VK_ESCAPE) {
        MessageBoxA(hwnd, "Please Key -ESC- !", "Virelux Report", MB_OK);
        return;
    }
    switch (key) {
    case VK_F6:   // backgrounds cycle, the first change after about 500 idle frames
        cycleBackgrounds = 1;
        cycleScenes = 0;
        cycleCounter = 500.0f;
        break;
    case VK_F7:   // cycling stops, and the next scene comes at once
        cycleBackgrounds = 0;
        cycleScenes = 0;
        NextScene();
        break;
    case VK_F8:   // scenes cycle
        cycleScenes = 1;
        cycleBackgrounds = 0;
        cycleCounter = 500.0f;
        break;
    default:
        break;
    }
}

void OnKeyUp(HWND, WPARAM key) {
    if (key == VK_ESCAPE) {
        cycleBackgrounds = 0;
        cycleScenes = 0;
        danceActive = 0;
    }
}
