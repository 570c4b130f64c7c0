// The installation's pictures: the default background, a night sky of our own.
#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>

#include "tools/datagen/datagen.h"

namespace {

bool Save(SDL_Surface* surface, const std::string& path) {
    const bool ok = SDL_SaveBMP(surface, path.c_str()) == 0;
    if (!ok) std::fprintf(stderr, "datagen: %s: %s\n", path.c_str(), SDL_GetError());
    SDL_FreeSurface(surface);
    return ok;
}

Uint32 Pack(float r, float g, float b) {
    auto c = [](float v) { return static_cast<Uint32>(std::fmin(std::fmax(v, 0.0f), 1.0f) * 255.0f + 0.5f); };
    return 0xFF000000u | (c(r) << 16) | (c(g) << 8) | c(b);
}

// A sky that darkens upwards from a violet horizon, with a sprinkle of stars.
SDL_Surface* NightSky(int width, int height, unsigned seed) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return nullptr;
    auto* px = static_cast<Uint32*>(s->pixels);
    const int pitch = s->pitch / 4;
    for (int y = 0; y < height; ++y) {
        const float t = static_cast<float>(y) / static_cast<float>(height - 1);   // 0 top, 1 bottom
        for (int x = 0; x < width; ++x) px[y * pitch + x] = Pack(0.05f + 0.35f * t * t, 0.03f + 0.1f * t, 0.15f + 0.3f * t);
    }
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> xs(0, width - 1), ys(0, height * 3 / 4);
    std::uniform_real_distribution<float> brightness(0.4f, 1.0f);
    for (int i = 0; i < width * height / 300; ++i) {
        const float b = brightness(random);
        px[ys(random) * pitch + xs(random)] = Pack(b, b, b * 0.95f);
    }
    return s;
}

}  // namespace

bool WritePictures(const std::string& folder) {
    std::filesystem::create_directories(folder + "/bgr");
    SDL_Surface* sky = NightSky(256, 256, 7);
    return sky && Save(sky, folder + "/bgr/bgnd.bmp");
}
