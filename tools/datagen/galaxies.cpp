// The catalogue's deep-sky pictures: a spiral galaxy seen from above, a glowing nebula, a
// tilted spiral with its dust lane, the band of the Milky Way and a ring nebula. Painted
// here from noise, spirals and star fields.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "tools/datagen/canvas.h"
#include "tools/datagen/datagen.h"

namespace {

constexpr int kSize = 256;
constexpr float kPi = 3.14159265f;

// The brightness of a two-armed logarithmic spiral at (x, y) around the origin, in galaxy
// units (the disc about 1 across), and its dust between the arms.
float SpiralArms(float x, float y, float twist, unsigned seed) {
    const float r = std::sqrt(x * x + y * y) + 1e-4f;
    const float angle = std::atan2(y, x);
    float arms = 0;
    for (int arm = 0; arm < 2; ++arm) {
        // Distance in angle from this arm's centre line, wrapped to -pi..pi.
        float d = angle - twist * std::log(r) - static_cast<float>(arm) * kPi;
        d = std::remainder(d, 2 * kPi);
        arms += std::exp(-d * d / 0.35f);
    }
    const float clumps = 0.55f + 0.45f * Fbm(x * 9 + 3, y * 9 + 3, 4, seed);
    return arms * clumps * std::exp(-r * 2.2f);
}

// A face-on spiral galaxy: a golden core and blue-white arms, on a field of stars.
Canvas FaceOnSpiral() {
    Canvas c(kSize, kSize);
    c.Fill([](float px, float py) {
        const float x = (px - 128) / 150, y = (py - 128) / 150;
        const float arms = SpiralArms(x, y * 1.15f, 2.2f, 5);
        const float r = std::sqrt(x * x + y * y);
        const Rgb armColour = Mix(Rgb{0.55f, 0.65f, 1.0f}, Rgb{1.0f, 0.9f, 0.75f}, std::exp(-r * 4));
        return Rgb{0.01f, 0.01f, 0.03f} + armColour * (arms * 2.6f) + Rgb{1.0f, 0.85f, 0.55f} * (1.2f * std::exp(-r * r * 60));
    });
    c.Stars(350, kSize, 131);
    // Star-forming knots along the arms: small pink and blue glows.
    for (unsigned i = 0; i < 40; ++i) {
        const float x = (Random(i * 3, 137) - 0.5f) * 1.4f, y = (Random(i * 3 + 1, 137) - 0.5f) * 1.4f;
        const float strength = SpiralArms(x, y * 1.15f, 2.2f, 5);
        if (strength > 0.25f)
            c.Glow(128 + x * 150, 128 + y * 150, 1.3f, (i % 3 ? Rgb{1.0f, 0.45f, 0.7f} : Rgb{0.6f, 0.8f, 1.0f}) * 0.6f);
    }
    return c;
}

// An emission nebula: clouds of red and teal gas crossed by dark dust, young stars inside.
Canvas Nebula() {
    Canvas c(kSize, kSize);
    c.Fill([](float x, float y) {
        const float gas = Fbm(x * 0.01f, y * 0.01f, 6, 139);
        const float mixHue = SmoothStep(0.35f, 0.65f, Fbm(x * 0.006f + 7, y * 0.006f, 4, 149));
        const float dust = SmoothStep(0.55f, 0.75f, Fbm(x * 0.02f, y * 0.02f, 5, 151));
        const float glow = std::pow(SmoothStep(0.35f, 0.85f, gas), 1.5f) * (1.0f - 0.8f * dust);
        const Rgb colour = Mix(Rgb{1.0f, 0.25f, 0.35f}, Rgb{0.2f, 0.75f, 0.85f}, mixHue);
        return Rgb{0.01f, 0.0f, 0.03f} + colour * (glow * 1.2f) + Rgb{0.4f, 0.2f, 0.5f} * (0.15f * gas);
    });
    c.Stars(300, kSize, 157);
    // A few bright young stars with diffraction spikes.
    for (unsigned i = 0; i < 5; ++i) {
        const float x = 30 + Random(i * 2, 163) * 196, y = 30 + Random(i * 2 + 1, 163) * 196;
        c.Glow(x, y, 3, {0.9f, 0.9f, 1.0f});
        for (int d = -12; d <= 12; ++d) {
            const float fade = 0.5f * (1.0f - static_cast<float>(std::abs(d)) / 12.0f);
            c.Add(static_cast<int>(x) + d, static_cast<int>(y), Rgb{0.7f, 0.8f, 1.0f} * fade);
            c.Add(static_cast<int>(x), static_cast<int>(y) + d, Rgb{0.7f, 0.8f, 1.0f} * fade);
        }
    }
    return c;
}

// A spiral seen nearly edge-on and tilted, with a dark dust lane across its bright bulge;
// a small far galaxy in a corner.
Canvas TiltedSpiral() {
    Canvas c(kSize, kSize);
    const float turn = -0.45f, cs = std::cos(turn), sn = std::sin(turn);
    c.Fill([&](float px, float py) {
        const float dx = (px - 128) / 55, dy = (py - 128) / 55;
        const float x = dx * cs - dy * sn, y = (dx * sn + dy * cs) * 3.6f;   // the disc's own plane
        const float r = std::sqrt(x * x + y * y);
        const float disc = std::exp(-r * 2.2f) * (0.6f + 0.4f * SpiralArms(x, y, 2.0f, 167) * 4);
        const float bulge = std::exp(-(x * x + y * y / 6.0f) * 40);
        // The dust lane lies just in front of the middle plane.
        const float lane = std::exp(-std::pow((y - 0.12f) / 0.09f, 2.0f)) * std::exp(-r * 1.5f) *
                           (0.6f + 0.4f * Fbm(x * 12, 0.5f, 3, 173));
        const Rgb light = Rgb{0.75f, 0.8f, 1.0f} * (disc * 1.8f) + Rgb{1.0f, 0.85f, 0.6f} * (bulge * 1.2f);
        return Rgb{0.01f, 0.01f, 0.025f} + light * (1.0f - 0.85f * std::min(lane * 2.0f, 1.0f));
    });
    c.Stars(320, kSize, 179);
    c.Glow(40, 210, 5, {0.5f, 0.4f, 0.3f});
    c.Glow(43, 208, 2, {0.5f, 0.45f, 0.4f});
    return c;
}

// The Milky Way: a band of countless stars and glowing haze across the sky, split by a dark rift.
Canvas MilkyWay() {
    Canvas c(kSize, kSize);
    auto across = [](float x, float y) { return ((y - 128) * 0.8f + (x - 128) * 0.6f) / 45.0f; };   // distance from the band
    c.Fill([&](float x, float y) {
        const float d = across(x, y);
        const float band = std::exp(-d * d);
        const float haze = band * (0.5f + 0.5f * Fbm(x * 0.02f, y * 0.02f, 5, 181));
        const float along = ((x - 128) * 0.8f - (y - 128) * 0.6f) * 0.02f;   // the rift runs along the band
        const float rift = SmoothStep(0.45f, 0.65f, Fbm(along + 5, d * 1.5f, 5, 191)) * std::exp(-std::pow(d * 2.0f, 2.0f));
        const Rgb warm = Mix(Rgb{0.5f, 0.55f, 0.8f}, Rgb{1.0f, 0.8f, 0.6f}, std::exp(-std::pow((x - 150) / 60.0f, 2.0f)));
        return Rgb{0.01f, 0.01f, 0.03f} + warm * (haze * 0.6f * (1.0f - 0.8f * rift));
    });
    // Stars crowd towards the band.
    for (unsigned i = 0; i < 4000; ++i) {
        const float x = Random(i * 3, 193) * kSize, y = Random(i * 3 + 1, 193) * kSize;
        const float d = across(x, y);
        if (Random(i * 3 + 2, 197) > 0.15f + 0.85f * std::exp(-d * d)) continue;
        const float b = 0.2f + 0.8f * std::pow(Random(i, 199), 4.0f);
        c.Add(static_cast<int>(x), static_cast<int>(y), Mix(Rgb{1.0f, 0.85f, 0.7f}, Rgb{0.7f, 0.8f, 1.0f}, Random(i, 211)) * b);
    }
    return c;
}

// A ring nebula: a shell of gas, teal inside and red outside, around a white dwarf.
Canvas RingNebula() {
    Canvas c(kSize, kSize);
    c.Fill([](float px, float py) {
        const float x = (px - 128) / 100, y = (py - 128) / 100 * 1.25f;
        const float r = std::sqrt(x * x + y * y);
        const float wobble = 0.08f * (Fbm(std::atan2(y, x) * 2 + 10, 0.5f, 3, 223) - 0.5f);
        const float shell = std::exp(-std::pow((r - 0.55f - wobble) / 0.17f, 2.0f));
        const float grain = 0.6f + 0.4f * Fbm(px * 0.05f, py * 0.05f, 4, 227);
        const Rgb inner = Rgb{0.2f, 0.8f, 0.8f}, outer = Rgb{1.0f, 0.3f, 0.25f};
        const Rgb colour = Mix(inner, outer, SmoothStep(0.4f, 0.72f, r));
        const float fill = 0.25f * std::exp(-r * r * 4);   // faint glow inside the ring
        return Rgb{0.01f, 0.0f, 0.03f} + colour * (shell * grain * 1.1f) + Rgb{0.3f, 0.6f, 0.9f} * fill;
    });
    c.Stars(260, kSize, 229);
    c.Glow(128, 128, 2.5f, {1.0f, 1.0f, 1.0f});
    return c;
}

}  // namespace

bool WriteGalaxies(const std::string& folder) {
    std::filesystem::create_directories(folder + "/bgr");
    const std::string bgr = folder + "/bgr/";
    const Canvas pictures[] = {FaceOnSpiral(), Nebula(), TiltedSpiral(), MilkyWay(), RingNebula()};
    bool ok = true;
    for (int i = 0; i < 5; ++i) ok &= pictures[i].Save(bgr + "galaxis" + std::to_string(i + 1) + ".bmp");
    return ok;
}
