#include "tools/datagen/canvas.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
Rgb Mix(Rgb a, Rgb b, float t) { return a * (1.0f - t) + b * t; }

Rgb Hue(float hue) {
    auto channel = [hue](float offset) {
        const float h = std::fmod(hue + offset + 1.0f, 1.0f) * 6.0f;
        return std::clamp(std::fabs(h - 3.0f) - 1.0f, 0.0f, 1.0f);
    };
    return {channel(0.0f), channel(2.0f / 3.0f), channel(1.0f / 3.0f)};
}

float SmoothStep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

Canvas::Canvas(int width, int height) : width_(width), height_(height), pixels_(static_cast<size_t>(width * height)) {}

void Canvas::Add(int x, int y, Rgb light) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) At(x, y) = At(x, y) + light;
}

void Canvas::Glow(float cx, float cy, float radius, Rgb light) {
    const int reach = static_cast<int>(radius * 3.0f) + 1;
    for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y)
        for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
            const float dx = static_cast<float>(x) - cx, dy = static_cast<float>(y) - cy;
            Add(x, y, light * std::exp(-(dx * dx + dy * dy) / (radius * radius)));
        }
}

void Canvas::Stars(int count, int bottom, unsigned seed, float brightness) {
    for (int i = 0; i < count; ++i) {
        const auto n = static_cast<unsigned>(i) * 4u;
        const int x = static_cast<int>(Random(n, seed) * static_cast<float>(width_));
        const int y = static_cast<int>(Random(n + 1, seed) * static_cast<float>(bottom));
        const float b = brightness * (0.25f + 0.75f * std::pow(Random(n + 2, seed), 3.0f));
        const float tint = Random(n + 3, seed);
        const Rgb colour = Mix(Rgb{1.0f, 0.85f, 0.7f}, Rgb{0.75f, 0.85f, 1.0f}, tint) * b;
        Add(x, y, colour);
        if (b > 0.7f * brightness) {   // the brightest shine over their neighbours
            for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}})
                Add(x + dx, y + dy, colour * 0.35f);
        }
    }
}

void Canvas::KeyBlack(float threshold) {
    for (Rgb& p : pixels_)
        if (std::max({p.r, p.g, p.b}) < threshold) p = Rgb{};
}

bool Canvas::Save(const std::string& path) const {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, width_, height_, 24, SDL_PIXELFORMAT_RGB24);
    if (!s) {
        std::fprintf(stderr, "datagen: %s: %s\n", path.c_str(), SDL_GetError());
        return false;
    }
    auto byte = [](float v) { return static_cast<Uint8>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    for (int y = 0; y < height_; ++y) {
        auto* row = static_cast<Uint8*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < width_; ++x) {
            const Rgb& p = pixels_[static_cast<size_t>(y * width_ + x)];
            row[3 * x] = byte(p.r);
            row[3 * x + 1] = byte(p.g);
            row[3 * x + 2] = byte(p.b);
        }
    }
    const bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
    if (!ok) std::fprintf(stderr, "datagen: %s: %s\n", path.c_str(), SDL_GetError());
    SDL_FreeSurface(s);
    return ok;
}

bool Canvas::Load(const std::string& path, Canvas* canvas) {
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    SDL_Surface* s = loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0) : nullptr;
    SDL_FreeSurface(loaded);
    if (!s) {
        std::fprintf(stderr, "datagen: %s: %s\n", path.c_str(), SDL_GetError());
        return false;
    }
    *canvas = Canvas(s->w, s->h);
    for (int y = 0; y < s->h; ++y) {
        const auto* row = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < s->w; ++x)
            canvas->At(x, y) = Rgb{row[3 * x] / 255.0f, row[3 * x + 1] / 255.0f, row[3 * x + 2] / 255.0f};
    }
    SDL_FreeSurface(s);
    return true;
}

Canvas Canvas::Shrunk(int width, int height) const {
    Canvas small(width, height);
    // Each source pixel goes whole to the target pixel its centre falls in.
    std::vector<float> count(static_cast<size_t>(width * height));
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const int tx = (2 * x + 1) * width / (2 * width_), ty = (2 * y + 1) * height / (2 * height_);
            small.At(tx, ty) = small.At(tx, ty) + pixels_[static_cast<size_t>(y * width_ + x)];
            count[static_cast<size_t>(ty * width + tx)] += 1;
        }
    for (int i = 0; i < width * height; ++i)
        if (count[static_cast<size_t>(i)] > 0) small.pixels_[static_cast<size_t>(i)] = small.pixels_[static_cast<size_t>(i)] * (1.0f / count[static_cast<size_t>(i)]);
    return small;
}

float Random(unsigned n, unsigned seed) {
    unsigned h = n * 0x9E3779B1u ^ (seed + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFFu) / static_cast<float>(0xFFFFFF);
}

float Noise(float x, float y, unsigned seed, int period) {
    const float fx = std::floor(x), fy = std::floor(y);
    const float tx = x - fx, ty = y - fy;
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto lattice = [seed, period](int i, int j) {
        if (period > 0) {
            i = ((i % period) + period) % period;
            j = ((j % period) + period) % period;
        }
        return Random(static_cast<unsigned>(i) * 7919u + static_cast<unsigned>(j) * 104729u, seed);
    };
    const int i = static_cast<int>(fx), j = static_cast<int>(fy);
    const float a = lattice(i, j), b = lattice(i + 1, j), c = lattice(i, j + 1), d = lattice(i + 1, j + 1);
    return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

float Fbm(float x, float y, int octaves, unsigned seed, int period) {
    float sum = 0, weight = 0.5f, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * Noise(x, y, seed + static_cast<unsigned>(o) * 31u, period);
        total += weight;
        x *= 2;
        y *= 2;
        period *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}
