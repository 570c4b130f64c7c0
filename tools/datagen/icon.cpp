// The program's icon: three glowing bars, red, green and blue, standing for the low,
// middle and high bands of the music, on a night-blue disc.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tools/datagen/datagen.h"

bool WriteIcon(const std::string& folder) {
    constexpr int kSize = 32;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!icon) {
        std::fprintf(stderr, "datagen: icon: %s\n", SDL_GetError());
        return false;
    }
    struct Bar {
        int left, right, top;
        float r, g, b;
    };
    const Bar bars[] = {{6, 11, 8, 1.0f, 0.15f, 0.1f}, {13, 18, 4, 0.2f, 1.0f, 0.2f}, {20, 25, 12, 0.2f, 0.45f, 1.0f}};
    auto* pixels = static_cast<Uint32*>(icon->pixels);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float dx = static_cast<float>(x) - 15.5f, dy = static_cast<float>(y) - 15.5f;
            const float radius = std::sqrt(dx * dx + dy * dy);
            float r = 0.02f, g = 0.03f, b = 0.12f + 0.1f * (1.0f - radius / 16.0f);
            float a = radius < 15.5f ? 1.0f : 0.0f;
            for (const Bar& bar : bars) {
                // A bar lights its own pixels fully and glows a little around itself.
                const float ox = std::max({0.0f, static_cast<float>(bar.left - x), static_cast<float>(x - bar.right)});
                const float oy = std::max({0.0f, static_cast<float>(bar.top - y), static_cast<float>(y - 27)});
                const float glow = std::exp(-(ox * ox + oy * oy) / 3.0f);
                r += bar.r * glow;
                g += bar.g * glow;
                b += bar.b * glow;
            }
            auto channel = [](float v) { return static_cast<Uint32>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
            pixels[y * (icon->pitch / 4) + x] = (channel(a) << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
        }
    }
    std::filesystem::create_directories(folder + "/res");
    const std::string path = folder + "/res/virelux.bmp";
    const bool ok = SDL_SaveBMP(icon, path.c_str()) == 0;
    if (!ok) std::fprintf(stderr, "datagen: %s: %s\n", path.c_str(), SDL_GetError());
    SDL_FreeSurface(icon);
    return ok;
}
