#include "sound/sound_frame.h"

#include <algorithm>

#include "settings/shared.h"

BYTE fadeStep1 = 0;
BYTE fadeStep2 = 0;
BYTE danceActive = 0;
float danceFall = 0.04f;
D3DVECTOR danceBase{0.0f, 0.0f, 0.0f};

// Carried over from one dancing period to the next.
static float danceY = 0.0f;
static float danceZ = 0.0f;

static D3DCOLOR Pack(unsigned r, unsigned g, unsigned b) { return (r << 16) | (g << 8) | b; }

// Lowers a colour byte by one, never below 1. The capture thread may write the same byte
// meanwhile; a lost fade step costs nothing.
static void Fade(std::atomic<BYTE>& c) {
    const BYTE v = c.load(std::memory_order_relaxed);
    if (v > 1) c.store(static_cast<BYTE>(v - 1), std::memory_order_relaxed);
}

void SoundFrame() {
    auto red = [] { return static_cast<unsigned>(soundColor[0].load(std::memory_order_relaxed)); };
    auto green = [] { return static_cast<unsigned>(soundColor[1].load(std::memory_order_relaxed)); };
    auto blue = [] { return static_cast<unsigned>(soundColor[2].load(std::memory_order_relaxed)); };

    // Each lamp shows two of the three bands.
    const unsigned r = red(), g = green(), b = blue();
    if (lampLights[0]) lampLights[0]->SetColor(Pack(r, g, 0));
    if (lampLights[1]) lampLights[1]->SetColor(Pack(0, g, b));
    if (lampLights[2]) lampLights[2]->SetColor(Pack(r, 0, b));

    if (fadeStep1) {
        for (auto& c : soundColor) Fade(c);
        if (fadeStep2)
            for (auto& c : soundColor) Fade(c);
    }
    const unsigned fr = red(), fg = green(), fb = blue();

    if (fogEnable && appState && appState->scene) {
        // Each component is held to 255 so that loud music cannot spill into the next one.
        auto tint = [](unsigned fog, unsigned c) { return std::min(fog / 2 + c, 255u); };
        appState->scene->SetSceneFogColor(Pack(tint(fogColor[0], fr), tint(fogColor[1], fg), tint(fogColor[2], fb)));
    }

    if (danceActive && appState && appState->camera && appState->scene) {
        const float hz = static_cast<float>(fg + fb) * 0.033333335f;
        const float hy = static_cast<float>(fr + fb) * 0.02f;
        if (hz > danceZ) danceZ = danceBase.z + hz;
        if (hy > danceY) danceY = danceBase.y + hy;
        if (danceZ > danceBase.z) danceZ -= danceFall;
        if (danceY > danceBase.y) danceY -= danceFall;
        appState->camera->SetPosition(appState->scene.get(), danceBase.x, -danceY, danceZ);
    }
}
