// The textures of the shipped scenes (tex/): surfaces that tile — marble, wood, a checker
// board, rainbow stripes, lava, water, mirror-ball tiles — and pictures for decals on a
// black key colour — a lens flare, a sparkle, a note and a bubble.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "tools/datagen/canvas.h"
#include "tools/datagen/datagen.h"

namespace {

constexpr int kSize = 128;
constexpr float kPi = 3.14159265f;
// Noise features per picture width: the noise repeats exactly once across the picture.
constexpr int kPeriod = 4;

float Tiled(float x, float y, int octaves, unsigned seed) {
    return Fbm(x * kPeriod / kSize, y * kPeriod / kSize, octaves, seed, kPeriod);
}

// White marble with grey-green veins.
Canvas Marble() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float turbulence = Tiled(x, y, 5, 241);
        const float v = std::sin((x / kSize + y / kSize) * 2 * kPi * 2 + turbulence * 9);
        const float vein = std::pow(1.0f - std::fabs(v), 6.0f);
        const Rgb stone = Mix(Rgb{0.95f, 0.94f, 0.9f}, Rgb{0.85f, 0.86f, 0.84f}, Tiled(x, y, 3, 251));
        return Mix(stone, Rgb{0.35f, 0.42f, 0.4f}, vein * 0.8f);
    });
    return c;
}

// Wood: growth rings across the grain, warm browns with fine streaks.
Canvas Wood() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float wobble = Tiled(x, y, 4, 257);
        const float rings = std::fmod(y / kSize * 6 + wobble * 2.5f + 10, 1.0f);
        const float dark = SmoothStep(0.6f, 0.95f, rings);
        const float streak = Fbm(x * 0.5f, 0.5f, 2, 263, 64);   // along the grain
        const Rgb wood = Mix(Rgb{0.78f, 0.52f, 0.28f}, Rgb{0.45f, 0.26f, 0.12f}, dark);
        return wood * (0.85f + 0.25f * streak);
    });
    return c;
}

// A checker board of eight by eight squares, ivory and midnight blue.
Canvas Checker() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const bool light = (static_cast<int>(x) / 16 + static_cast<int>(y) / 16) % 2 == 0;
        return light ? Rgb{0.95f, 0.92f, 0.85f} : Rgb{0.08f, 0.1f, 0.3f};
    });
    return c;
}

// Rainbow stripes, soft-edged, running across the picture.
Canvas Stripes() {
    Canvas c(kSize, kSize);
    c.Fill([](float, float y) {
        const float band = y / kSize * 8;
        const float inBand = band - std::floor(band);
        const float edge = SmoothStep(0.0f, 0.12f, inBand) * SmoothStep(1.0f, 0.88f, inBand);
        return Hue(std::floor(band) / 8) * (0.35f + 0.65f * edge);
    });
    return c;
}

// Lava: glowing orange rivers between dark cooling crust.
Canvas Lava() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float n = Tiled(x, y, 5, 269);
        const float river = 1.0f - std::fabs(n - 0.5f) * 2;   // bright where the noise crosses its middle
        const float heat = std::pow(river, 6.0f);
        const Rgb crust = Rgb{0.12f, 0.06f, 0.05f} * (0.7f + 0.6f * Tiled(x * 2, y * 2, 3, 271));
        return crust + Mix(Rgb{0.8f, 0.1f, 0.0f}, Rgb{1.0f, 0.85f, 0.3f}, heat) * heat * 1.3f;
    });
    return c;
}

// Water: blue with bright rippling caustic lines.
Canvas Water() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float n1 = Tiled(x, y, 4, 277), n2 = Tiled(x + 37, y + 11, 4, 281);
        const float caustic = std::pow(1.0f - std::fabs(n1 - n2) * 4, 8.0f);
        return Rgb{0.05f, 0.3f, 0.55f} * (0.8f + 0.4f * n1) + Rgb{0.6f, 0.9f, 1.0f} * std::fmax(caustic, 0.0f) * 0.7f;
    });
    return c;
}

// Mirror-ball tiles: small squares of varying brightness with dark joints.
Canvas Disco() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const int tx = static_cast<int>(x) / 8, ty = static_cast<int>(y) / 8;
        const float fx = std::fmod(x, 8.0f), fy = std::fmod(y, 8.0f);
        if (fx < 1 || fy < 1) return Rgb{0.12f, 0.12f, 0.14f};
        const float shine = Random(static_cast<unsigned>(tx * 16 + ty), 283);
        const Rgb tint = Mix(Rgb{1, 1, 1}, Hue(Random(static_cast<unsigned>(tx * 16 + ty), 293)), 0.25f);
        return tint * (0.35f + 0.65f * shine * shine);
    });
    return c;
}

// A lens flare: a white-hot core in a yellow and orange halo with six rays, on black.
Canvas Flare() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float dx = (x - 63.5f) / 64, dy = (y - 63.5f) / 64;
        const float r = std::sqrt(dx * dx + dy * dy), angle = std::atan2(dy, dx);
        const float rays = std::pow(std::fabs(std::cos(angle * 3)), 30.0f) * std::exp(-r * 3.5f);
        const float halo = std::exp(-r * r * 9), core = std::exp(-r * r * 120);
        const Rgb light = Rgb{1.0f, 0.55f, 0.15f} * halo + Rgb{1.0f, 0.9f, 0.6f} * rays + Rgb{1, 1, 1} * core;
        return light * (1.0f - SmoothStep(0.85f, 1.0f, r));
    });
    // Dim glow would show as a dark smudge over a bright sky: it becomes key black.
    c.KeyBlack(0.2f);
    return c;
}

// A sparkle: a four-pointed star of light, white and ice blue, on black.
Canvas Sparkle() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float dx = std::fabs(x - 63.5f) / 64, dy = std::fabs(y - 63.5f) / 64;
        const float cross = std::exp(-dx * 40 * (0.3f + dy * 6)) * std::exp(-dy * 2.5f) + std::exp(-dy * 40 * (0.3f + dx * 6)) * std::exp(-dx * 2.5f);
        const float core = std::exp(-(dx * dx + dy * dy) * 60);
        return Rgb{0.7f, 0.85f, 1.0f} * std::min(cross, 1.0f) + Rgb{1, 1, 1} * core;
    });
    c.KeyBlack(0.15f);
    return c;
}

// A golden eighth note on black.
Canvas NotePicture() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        // The head: a tilted ellipse low on the left.
        const float hx = x - 48, hy = y - 96, turn = -0.45f;
        const float ex = (hx * std::cos(turn) - hy * std::sin(turn)) / 19, ey = (hx * std::sin(turn) + hy * std::cos(turn)) / 13;
        const bool head = ex * ex + ey * ey < 1;
        const bool stem = x > 61 && x < 68 && y > 20 && y < 94;
        // The flag: a band curving down to the right from the stem's top.
        const float fy = 20 + (x - 64) * 1.1f - (x - 64) * (x - 64) * 0.006f;
        const bool flag = x >= 64 && x < 100 && y > fy && y < fy + 16 - (x - 64) * 0.25f;
        if (!(head || stem || flag)) return Rgb{};
        return Mix(Rgb{1.0f, 0.9f, 0.4f}, Rgb{0.9f, 0.55f, 0.1f}, y / kSize);
    });
    return c;
}

// A soap bubble: a thin rainbow-tinted rim and a window highlight, on black.
Canvas Bubble() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float dx = (x - 63.5f) / 60, dy = (y - 63.5f) / 60;
        const float r = std::sqrt(dx * dx + dy * dy);
        if (r > 1) return Rgb{};
        const float rim = std::pow(r, 6.0f);   // the film shows only where it is seen edge-on
        const Rgb film = Hue(std::atan2(dy, dx) / (2 * kPi) + r * 0.5f);
        const float spot = std::exp(-(std::pow(dx + 0.4f, 2.0f) + std::pow(dy + 0.4f, 2.0f)) * 40);
        return Mix(Rgb{0.8f, 0.9f, 1.0f}, film, 0.4f) * rim + Rgb{1, 1, 1} * spot;
    });
    c.KeyBlack(0.15f);
    return c;
}

}  // namespace

bool WriteTextures(const std::string& folder) {
    std::filesystem::create_directories(folder + "/tex");
    const std::string tex = folder + "/tex/";
    bool ok = true;
    ok &= Marble().Save(tex + "marble.bmp");
    ok &= Wood().Save(tex + "wood.bmp");
    ok &= Checker().Save(tex + "checker.bmp");
    ok &= Stripes().Save(tex + "stripes.bmp");
    ok &= Lava().Save(tex + "lava.bmp");
    ok &= Water().Save(tex + "water.bmp");
    ok &= Disco().Save(tex + "disco.bmp");
    ok &= Flare().Save(tex + "flare.bmp");
    ok &= Sparkle().Save(tex + "sparkle.bmp");
    ok &= NotePicture().Save(tex + "note.bmp");
    ok &= Bubble().Save(tex + "bubble.bmp");
    return ok;
}
