// The installation's skies: the default background (a night sky) and the nine catalogue
// skies behind the show — dusk, dawn, clouds, aurora, storm, sunset over the sea, moonlit
// night, rainbow, mountains at twilight. Painted here from gradients and noise.
#include <cmath>
#include <filesystem>
#include <utility>
#include <vector>

#include "tools/datagen/canvas.h"
#include "tools/datagen/datagen.h"

namespace {

constexpr int kSize = 256;
constexpr float kSizeF = static_cast<float>(kSize);

// A colour ramp through (position, colour) stops in rising order.
Rgb Ramp(float t, const std::vector<std::pair<float, Rgb>>& stops) {
    if (t <= stops.front().first) return stops.front().second;
    for (size_t i = 1; i < stops.size(); ++i)
        if (t <= stops[i].first) {
            const float f = (t - stops[i - 1].first) / (stops[i].first - stops[i - 1].first);
            return Mix(stops[i - 1].second, stops[i].second, f);
        }
    return stops.back().second;
}

// A ridge line's height in pixels from the top at column x: `base` plus rolling noise.
float Ridge(float x, float base, float height, float detail, unsigned seed) {
    return base - height * Fbm(x * detail, 0.5f, 5, seed);
}

// A sky that darkens upwards from a violet horizon, with a sprinkle of stars.
Canvas NightSky() {
    Canvas c(kSize, kSize);
    c.Fill([](float, float y) {
        const float t = y / (kSizeF - 1);
        return Rgb{0.05f + 0.35f * t * t, 0.03f + 0.1f * t, 0.15f + 0.3f * t};
    });
    c.Stars(220, kSize * 3 / 4, 7);
    return c;
}

// Dusk: the sun sinks behind dark hills into an orange horizon under a violet sky.
Canvas Dusk() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float t = y / kSizeF;
        Rgb sky = Ramp(t, {{0.0f, {0.05f, 0.04f, 0.18f}}, {0.35f, {0.25f, 0.1f, 0.4f}}, {0.6f, {0.78f, 0.3f, 0.45f}},
                           {0.72f, {1.0f, 0.55f, 0.25f}}, {0.8f, {1.0f, 0.8f, 0.45f}}});
        // Long thin clouds, dark above and lit orange from below.
        const float band = SmoothStep(0.4f, 0.5f, t) * (1 - SmoothStep(0.62f, 0.7f, t));
        const float cloud = SmoothStep(0.55f, 0.75f, Fbm(x * 0.012f, y * 0.07f, 5, 11)) * band;
        const float lit = SmoothStep(0.5f, 0.7f, Fbm(x * 0.012f, (y - 3) * 0.07f, 5, 11)) - cloud * 0.5f;
        sky = Mix(sky, Rgb{0.3f, 0.12f, 0.3f}, cloud * 0.8f) + Rgb{0.5f, 0.25f, 0.05f} * std::fmax(lit, 0.0f) * band;
        return sky;
    });
    c.Glow(170, 196, 40, {0.5f, 0.25f, 0.1f});
    c.Glow(170, 196, 11, {1.0f, 0.9f, 0.6f});
    c.Stars(70, kSize * 2 / 5, 21, 0.8f);
    for (int x = 0; x < kSize; ++x) {
        const float far = Ridge(static_cast<float>(x), 205, 30, 0.01f, 5), near = Ridge(static_cast<float>(x), 235, 35, 0.014f, 6);
        for (int y = 0; y < kSize; ++y) {
            const float fy = static_cast<float>(y);
            if (fy > near) c.At(x, y) = Rgb{0.05f, 0.02f, 0.07f};
            else if (fy > far) c.At(x, y) = Rgb{0.16f, 0.06f, 0.16f};
        }
    }
    return c;
}

// Dawn: a pale blue sky over a golden horizon, pink clouds and morning mist on a lake.
Canvas Dawn() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float t = y / kSizeF;
        if (t > 0.74f) {   // the lake mirrors the sky, rippled and darker
            const float mirrored = 0.74f - (t - 0.74f) * 1.5f;
            const float ripple = Noise(x * 0.05f, y * 0.9f, 3) * 0.15f;
            const Rgb water = Ramp(mirrored, {{0.3f, {0.55f, 0.65f, 0.85f}}, {0.74f, {1.0f, 0.82f, 0.6f}}});
            return water * (0.75f + ripple) + Rgb{0.1f, 0.1f, 0.12f} * SmoothStep(0.74f, 0.82f, t);
        }
        Rgb sky = Ramp(t, {{0.0f, {0.3f, 0.5f, 0.85f}}, {0.45f, {0.7f, 0.7f, 0.9f}}, {0.62f, {1.0f, 0.75f, 0.7f}},
                           {0.74f, {1.0f, 0.85f, 0.55f}}});
        const float cloud = SmoothStep(0.5f, 0.75f, Fbm(x * 0.01f, y * 0.03f, 5, 17)) * SmoothStep(0.1f, 0.3f, t) *
                            (1 - SmoothStep(0.55f, 0.7f, t));
        return Mix(sky, Rgb{1.0f, 0.7f, 0.75f}, cloud * 0.85f);
    });
    c.Glow(90, 189, 30, {0.5f, 0.4f, 0.15f});
    for (int x = 0; x < kSize; ++x) {   // a dark far shore
        const float shore = Ridge(static_cast<float>(x), 190, 8, 0.02f, 8);
        for (int y = static_cast<int>(shore); y < 190; ++y) c.At(x, y) = Rgb{0.35f, 0.3f, 0.4f};
    }
    return c;
}

// Clouds: white summer clouds, shaded underneath, on a deep blue sky.
Canvas Clouds() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float t = y / kSizeF;
        const Rgb sky = Ramp(t, {{0.0f, {0.12f, 0.3f, 0.75f}}, {1.0f, {0.55f, 0.75f, 1.0f}}});
        const float d = Fbm(x * 0.012f, y * 0.02f, 6, 29);
        const float density = SmoothStep(0.5f, 0.68f, d);
        const float below = SmoothStep(0.5f, 0.68f, Fbm(x * 0.012f, (y - 6) * 0.02f, 6, 29));
        const float shade = std::fmax(0.0f, below - density);   // lit from above: darker where cloud is above
        const Rgb cloud = Rgb{1.0f, 1.0f, 1.0f} * (1.0f - 0.45f * shade) + Rgb{-0.1f, -0.05f, 0.0f} * (1 - t);
        return Mix(sky, cloud, density);
    });
    return c;
}

// Aurora: green and violet curtains of light over snowy hills under the stars.
Canvas Aurora() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float t = y / kSizeF;
        Rgb sky = Ramp(t, {{0.0f, {0.01f, 0.02f, 0.06f}}, {1.0f, {0.03f, 0.09f, 0.14f}}});
        for (int curtain = 0; curtain < 2; ++curtain) {
            const float fc = static_cast<float>(curtain);
            // The lower edge folds like a hanging cloth.
            const float base = 125 - 30 * fc + 18 * std::sin(x * 0.03f + fc * 2) + 10 * std::sin(x * 0.09f + fc) +
                               25 * (Fbm(x * 0.012f, fc, 3, 41) - 0.5f);
            const float above = base - y;   // pixels above the curtain's lower edge
            const float rays = 0.35f + 0.65f * Fbm(x * 0.15f, y * 0.004f, 3, 43 + static_cast<unsigned>(curtain));
            const float fall = above >= 0 ? std::exp(-above / 45.0f) : std::exp(above / 5.0f);
            const Rgb colour = Mix(Rgb{0.2f, 1.0f, 0.5f}, Rgb{0.6f, 0.25f, 0.85f}, SmoothStep(10, 80, above));
            sky = sky + colour * (rays * fall * (curtain ? 0.6f : 0.9f));
        }
        return sky;
    });
    c.Stars(260, kSize * 4 / 5, 47, 0.9f);
    for (int x = 0; x < kSize; ++x) {
        const float hill = Ridge(static_cast<float>(x), 248, 40, 0.008f, 9);
        for (int y = static_cast<int>(hill); y < kSize; ++y)
            c.At(x, y) = Rgb{0.55f, 0.65f, 0.75f} * (0.6f - 0.3f * (static_cast<float>(y) - hill) / 40.0f) + Rgb{0.05f, 0.2f, 0.1f} * 0.3f;
    }
    return c;
}

// Storm: heavy dark clouds, a lightning bolt that lights them, and rain.
Canvas Storm() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float d = Fbm(x * 0.015f, y * 0.02f, 6, 53);
        const float light = 0.12f + 0.35f * SmoothStep(0.35f, 0.75f, d);
        const Rgb base = Rgb{0.55f, 0.6f, 0.7f} * light;
        const float rain = Noise(x * 0.9f + y * 0.25f, y * 0.04f, 59);   // slanting streaks
        return base + Rgb{0.12f, 0.13f, 0.15f} * SmoothStep(0.75f, 0.95f, rain) * SmoothStep(0.3f, 0.8f, y / kSizeF);
    });
    // The bolt: a jagged path from the clouds down, with a forked branch.
    auto bolt = [&c](float x, float y, float yEnd, unsigned seed, float strength) {
        unsigned n = 0;
        while (y < yEnd) {
            const float nx = x + (Random(n++, seed) - 0.5f) * 14.0f, ny = y + 4 + Random(n++, seed) * 6.0f;
            for (int s = 0; s < 8; ++s) {
                const float f = static_cast<float>(s) / 8.0f;
                c.Glow(x + (nx - x) * f, y + (ny - y) * f, 1.2f, Rgb{0.9f, 0.9f, 1.0f} * strength);
            }
            x = nx;
            y = ny;
        }
    };
    c.Glow(140, 70, 45, {0.25f, 0.25f, 0.35f});
    bolt(140, 60, 240, 61, 0.8f);
    bolt(128, 130, 190, 67, 0.5f);
    return c;
}

// Sunset over the sea: a great red sun on the horizon and its glittering path on the waves.
Canvas SeaSunset() {
    Canvas c(kSize, kSize);
    const float horizon = 150, sunX = 128;
    c.Fill([&](float x, float y) {
        const float t = y / kSizeF;
        if (y < horizon) {
            Rgb sky = Ramp(t, {{0.0f, {0.2f, 0.1f, 0.35f}}, {0.3f, {0.7f, 0.25f, 0.35f}}, {0.5f, {1.0f, 0.5f, 0.2f}},
                               {0.59f, {1.0f, 0.75f, 0.3f}}});
            const float cloud = SmoothStep(0.6f, 0.8f, Fbm(x * 0.008f, y * 0.05f, 5, 71)) * (1 - SmoothStep(100, 140, y));
            return Mix(sky, Rgb{0.45f, 0.15f, 0.3f}, cloud * 0.7f);
        }
        const float depth = (y - horizon) / (kSizeF - horizon);
        Rgb sea = Ramp(depth, {{0.0f, {0.5f, 0.25f, 0.3f}}, {1.0f, {0.05f, 0.05f, 0.2f}}});
        // Glitter: thin bright wave crests in the sun's column, wider nearer the viewer.
        const float column = std::exp(-std::pow((x - sunX) / (22 + 70 * depth), 2.0f));
        const float crest = SmoothStep(0.55f, 0.85f, Noise(x * 0.07f, y * (1.4f - 0.8f * depth), 73));
        return sea + Rgb{1.0f, 0.6f, 0.25f} * (column * (0.2f + crest * 0.8f));
    });
    for (int y = 0; y < static_cast<int>(horizon); ++y)
        for (int x = 0; x < kSize; ++x) {
            const float dx = static_cast<float>(x) - sunX, dy = static_cast<float>(y) - horizon;
            if (dx * dx + dy * dy < 26 * 26) c.At(x, y) = Rgb{1.0f, 0.45f + 0.3f * (-dy / 26.0f), 0.2f};
        }
    c.Glow(sunX, horizon - 8, 40, {0.35f, 0.15f, 0.05f});
    return c;
}

// Moonlit night: a full moon with its halo, silver wisps of cloud and many stars.
Canvas MoonNight() {
    Canvas c(kSize, kSize);
    c.Fill([](float, float y) { return Ramp(y / kSizeF, {{0.0f, {0.01f, 0.02f, 0.08f}}, {1.0f, {0.06f, 0.1f, 0.25f}}}); });
    c.Stars(300, kSize, 79, 0.9f);
    const float mx = 180, my = 70, radius = 24;
    c.Glow(mx, my, 60, {0.12f, 0.14f, 0.2f});
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float dx = static_cast<float>(x) - mx, dy = static_cast<float>(y) - my;
            const float r = std::sqrt(dx * dx + dy * dy);
            if (r < radius) {
                const float maria = SmoothStep(0.45f, 0.7f, Fbm(static_cast<float>(x) * 0.08f, static_cast<float>(y) * 0.08f, 4, 83));
                const float limb = 1.0f - 0.25f * std::pow(r / radius, 4.0f);
                c.At(x, y) = Rgb{0.95f, 0.93f, 0.85f} * (limb * (1.0f - 0.3f * maria));
            } else if (r < radius + 1.5f) {
                c.At(x, y) = Mix(c.At(x, y), Rgb{0.9f, 0.9f, 0.85f}, 0.5f);
            }
            // Thin clouds drift in front of the moon and the sky, lit silver.
            const float wisp = SmoothStep(0.55f, 0.8f, Fbm(static_cast<float>(x) * 0.008f, static_cast<float>(y) * 0.045f, 5, 89));
            const float lit = 0.25f + 0.6f * std::exp(-r / 70.0f);
            c.At(x, y) = Mix(c.At(x, y), Rgb{0.6f, 0.65f, 0.75f} * lit, wisp * 0.7f);
        }
    return c;
}

// After the rain: a rainbow over green hills under a clearing blue-grey sky.
Canvas Rainbow() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float t = y / kSizeF;
        Rgb sky = Ramp(t, {{0.0f, {0.35f, 0.4f, 0.5f}}, {0.5f, {0.55f, 0.65f, 0.8f}}, {1.0f, {0.75f, 0.85f, 0.95f}}});
        const float cloud = SmoothStep(0.5f, 0.8f, Fbm(x * 0.01f, y * 0.025f, 5, 97)) * (1 - SmoothStep(0.2f, 0.45f, t));
        sky = Mix(sky, Rgb{0.3f, 0.32f, 0.38f}, cloud * 0.8f);
        // The bow: hues across its width, red outside, centred below the picture.
        const float dx = x - 128, dy = y - 300;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float across = (215 - r) / 22.0f;   // 0 at the red edge, 1 at the violet one
        if (across > 0 && across < 1) {
            const float edge = std::sin(across * 3.14159f);
            sky = Mix(sky, Hue(across * 0.8f), 0.55f * std::sqrt(edge));
        }
        return sky;
    });
    for (int x = 0; x < kSize; ++x) {
        const float far = Ridge(static_cast<float>(x), 215, 25, 0.01f, 10), near = Ridge(static_cast<float>(x), 245, 25, 0.012f, 12);
        for (int y = 0; y < kSize; ++y) {
            const float fy = static_cast<float>(y);
            const float grass = 0.85f + 0.3f * Noise(static_cast<float>(x) * 0.3f, fy * 0.3f, 101);
            if (fy > near) c.At(x, y) = Rgb{0.2f, 0.5f, 0.15f} * grass;
            else if (fy > far) c.At(x, y) = Rgb{0.3f, 0.55f, 0.3f} * grass;
        }
    }
    return c;
}

// Mountains at twilight: ridge behind ridge fading into a turquoise and rose sky.
Canvas Mountains() {
    Canvas c(kSize, kSize);
    c.Fill([](float, float y) {
        return Ramp(y / kSizeF, {{0.0f, {0.05f, 0.12f, 0.3f}}, {0.35f, {0.15f, 0.45f, 0.55f}}, {0.65f, {0.95f, 0.6f, 0.6f}},
                                 {0.8f, {1.0f, 0.8f, 0.6f}}});
    });
    c.Stars(60, kSize / 3, 103, 0.7f);
    const Rgb layers[] = {{0.55f, 0.45f, 0.6f}, {0.38f, 0.3f, 0.48f}, {0.22f, 0.17f, 0.33f}, {0.1f, 0.07f, 0.17f}};
    for (int layer = 0; layer < 4; ++layer) {
        const float base = 150 + 28 * static_cast<float>(layer), height = 70 - 8 * static_cast<float>(layer);
        for (int x = 0; x < kSize; ++x) {
            // Sharper peaks: the noise folded about its middle.
            const float n = Fbm(static_cast<float>(x) * (0.008f + 0.004f * static_cast<float>(layer)), 0.3f, 5,
                                107 + static_cast<unsigned>(layer));
            const float top = base - height * (1.0f - std::fabs(n - 0.5f) * 2.0f);
            for (int y = static_cast<int>(std::fmax(top, 0.0f)); y < kSize; ++y) c.At(x, y) = layers[layer];
        }
    }
    return c;
}

}  // namespace

bool WritePictures(const std::string& folder) {
    std::filesystem::create_directories(folder + "/bgr");
    const std::string bgr = folder + "/bgr/";
    bool ok = NightSky().Save(bgr + "bgnd.bmp");
    const Canvas skies[] = {Dusk(), Dawn(), Clouds(), Aurora(), Storm(), SeaSunset(), MoonNight(), Rainbow(), Mountains()};
    for (int i = 0; i < 9; ++i) ok &= skies[i].Save(bgr + "sky0" + std::to_string(i + 1) + ".bmp");
    return ok;
}
