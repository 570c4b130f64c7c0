// The start-up picture (res/splash.bmp, 256 x 192 in 256 colours): the logo lit by red,
// green and blue lamps, their beams fanning up into a starry night, the name "VIRELUX" in
// rainbow letters glowing below it, and a row of level-meter bars on the stage floor.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "tools/datagen/canvas.h"
#include "tools/datagen/datagen.h"
#include "tools/datagen/models.h"
#include "tools/datagen/palette.h"
#include "tools/datagen/raster.h"
#include "tools/datagen/strokes.h"

namespace {

constexpr int kWidth = 256, kHeight = 192, kDetail = 2;
constexpr int kW = kWidth * kDetail, kH = kHeight * kDetail;
constexpr float kFloor = 0.84f * kH;   // where the stage floor begins

// How much of a beam rising from (x, y) towards `angle` (radians from straight up) lights
// the point (px, py): bright along its axis, widening and fading upwards.
float Beam(float px, float py, float x, float y, float angle) {
    const float ux = std::sin(angle), uy = -std::cos(angle);
    const float dx = px - x, dy = py - y;
    const float along = dx * ux + dy * uy, across = dx * uy - dy * ux;
    if (along <= 0) return 0;
    const float width = 0.16f * along + 6.0f;
    return std::exp(-across * across / (width * width)) * std::exp(-along / 420.0f);
}

// The night and its beams behind everything; the floor darker, with the beams' pools of light.
void Stage(Canvas& c) {
    c.Fill([](float x, float y) {
        if (y >= kFloor) {
            const float t = (y - kFloor) / (kH - kFloor);
            return Mix(Rgb{0.09f, 0.05f, 0.16f}, Rgb{0.02f, 0.01f, 0.04f}, t) + Rgb{0.08f, 0.08f, 0.12f} * std::exp(-std::pow((x - kW / 2) / 120.0f, 2.0f)) * (1 - t);
        }
        const float t = y / kFloor;
        return Mix(Rgb{0.01f, 0.01f, 0.05f}, Rgb{0.12f, 0.04f, 0.22f}, t * t);
    });
    c.Stars(260, static_cast<int>(kFloor * 0.8f), 307, 0.8f);
    // Three beams, red, green and blue, fan out from the floor through a faint haze.
    const float base = kFloor + 6;
    for (int py = 0; py < static_cast<int>(kFloor); ++py)
        for (int px = 0; px < kW; ++px) {
            const float x = static_cast<float>(px), y = static_cast<float>(py);
            const float haze = 0.75f + 0.25f * Fbm(x * 0.01f, y * 0.01f, 3, 311);
            const Rgb light = Rgb{0.55f, 0.05f, 0.08f} * Beam(x, y, kW * 0.5f - 70, base, -0.42f) +
                              Rgb{0.05f, 0.45f, 0.12f} * Beam(x, y, kW * 0.5f, base, 0.0f) +
                              Rgb{0.07f, 0.14f, 0.6f} * Beam(x, y, kW * 0.5f + 70, base, 0.42f);
            c.Add(px, py, light * haze);
        }
    c.Glow(kW * 0.5f, kH * 0.3f, 70, {0.18f, 0.12f, 0.25f});   // a halo behind the logo
}

// The logo, large in the upper middle, turned a little, chrome-bright in its lamps' colours.
void Logo(Canvas& c) {
    Lighting light{{0.3f, 0.3f, 0.3f},
                   {{{0.2f, 0.5f, -1.0f}, {0.55f, 0.55f, 0.55f}},
                    {{-1.0f, 0.3f, -0.3f}, {0.8f, 0.15f, 0.15f}},
                    {{1.0f, 0.3f, -0.3f}, {0.15f, 0.25f, 0.9f}},
                    {{0.0f, -1.0f, -0.4f}, {0.15f, 0.6f, 0.2f}}}};
    Raster r(c, {0, -1.1f, -8.2f}, {0, -0.95f, 0}, 0.62f, light);
    Look look;
    look.turn = -0.3f;
    look.tilt = 0.12f;
    look.specular = 0.5f;
    look.power = 40;
    r.Draw(models::Logo(), look);
}

// The name in letters whose colour runs from red over green to blue, with a glow of the same
// colours and a dimmer mirror image on the floor; the line under it in pale violet.
void Title(Canvas& c) {
    const float size = 34.0f * kDetail, thickness = 4.6f * kDetail, slant = 0.12f;
    const std::string name = "VIRELUX", motto = "LIGHT SHOW FOR MUSIC";
    const float left = (kW - TextWidth(name, size) - size * slant) * 0.5f, top = 0.6f * kH;
    Mask letters(kW, kH), line(kW, kH);
    letters.Text(name, left, top, size, thickness, slant);
    line.Text(motto, (kW - TextWidth(motto, 9.0f * kDetail)) * 0.5f, top + size + 9.0f * kDetail, 9.0f * kDetail, 1.3f * kDetail);
    const Mask glow = letters.Blurred(5 * kDetail);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float across = std::clamp((static_cast<float>(x) - left) / TextWidth(name, size), 0.0f, 1.0f);
            const Rgb hue = Hue(across * 0.68f);
            const float down = (static_cast<float>(y) - top) / size;   // 0 at the letters' top, 1 at their foot
            const Rgb fill = Mix(Rgb{1, 1, 1}, hue, 0.35f + 0.5f * std::clamp(down, 0.0f, 1.0f));
            Rgb& p = c.At(x, y);
            p = p + hue * (glow.At(x, y) * 1.6f);
            p = Mix(p, fill, letters.At(x, y));
            p = Mix(p, Rgb{0.85f, 0.78f, 1.0f}, line.At(x, y));
        }
}

// Level-meter bars across the floor, each lit in the colour of its band and a little
// reflection under it.
void Meter(Canvas& c) {
    const int bars = 24;
    const float barWidth = static_cast<float>(kW - 40 * kDetail) / bars;
    for (int i = 0; i < bars; ++i) {
        const float t = static_cast<float>(i) / (bars - 1);
        const float level = 0.25f + 0.75f * std::fabs(std::sin(static_cast<float>(i) * 1.7f + 0.5f)) * (1.0f - 0.5f * t);
        const Rgb colour = t < 0.34f ? Rgb{1, 0.2f, 0.15f} : t < 0.67f ? Rgb{0.25f, 1, 0.3f} : Rgb{0.25f, 0.45f, 1};
        const float x0 = 20.0f * kDetail + static_cast<float>(i) * barWidth, height = level * 14 * kDetail;
        const float foot = kH - 7.0f * kDetail;
        for (int y = static_cast<int>(foot - height); y < static_cast<int>(foot + height * 0.4f); ++y)
            for (int x = static_cast<int>(x0 + 1.5f * kDetail); x < static_cast<int>(x0 + barWidth - 1.5f * kDetail); ++x) {
                const bool mirrored = static_cast<float>(y) >= foot;
                const float fade = mirrored ? 0.3f * (1.0f - (static_cast<float>(y) - foot) / (height * 0.4f)) : 1.0f;
                // The bars are made of segments with dark gaps, as on a real meter.
                if (static_cast<int>((foot - static_cast<float>(y)) / kDetail) % 3 == 2 && !mirrored) continue;
                c.At(x, y) = Mix(c.At(x, y), colour, 0.85f * fade);
            }
    }
}

}  // namespace

bool WriteSplash(const std::string& folder) {
    std::filesystem::create_directories(folder + "/res");
    Canvas c(kW, kH);
    Stage(c);
    Logo(c);
    Title(c);
    Meter(c);
    return SaveWith256Colours(c.Shrunk(kWidth, kHeight), folder + "/res/splash.bmp");
}
