#include "tools/datagen/strokes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using Stroke = std::vector<std::pair<float, float>>;

// A letter on a grid 4 wide and 6 high (y downwards): its pen strokes and its width.
struct Glyph {
    char letter;
    float width;
    std::vector<Stroke> strokes;
};

// An ellipse's arc about (cx, cy) from angle a0 to a1 (degrees, 0 to the right, 90 down).
Stroke Arc(float cx, float cy, float rx, float ry, float a0, float a1) {
    Stroke s;
    const int steps = 14;
    for (int i = 0; i <= steps; ++i) {
        const float a = (a0 + (a1 - a0) * static_cast<float>(i) / steps) * 3.14159265f / 180.0f;
        s.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return s;
}

Stroke Join(Stroke a, const Stroke& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<Glyph>& Glyphs() {
    static const std::vector<Glyph> glyphs = {
        {'C', 4, {Arc(2, 3, 2, 3, -40, -320)}},
        {'E', 3.6f, {{{3.6f, 0}, {0, 0}, {0, 6}, {3.6f, 6}}, {{0, 3}, {3, 3}}}},
        {'F', 3.6f, {{{3.6f, 0}, {0, 0}, {0, 6}}, {{0, 3}, {3, 3}}}},
        {'G', 4, {Join(Arc(2, 3, 2, 3, -40, -360), {{4, 3.2f}, {2.3f, 3.2f}})}},
        {'H', 4, {{{0, 0}, {0, 6}}, {{4, 0}, {4, 6}}, {{0, 3}, {4, 3}}}},
        {'I', 0, {{{0, 0}, {0, 6}}}},
        {'L', 3.4f, {{{0, 0}, {0, 6}, {3.4f, 6}}}},
        {'M', 4.6f, {{{0, 6}, {0, 0}, {2.3f, 4}, {4.6f, 0}, {4.6f, 6}}}},
        {'O', 4.4f, {Arc(2.2f, 3, 2.2f, 3, 0, 360)}},
        {'R', 4, {Join({{0, 6}, {0, 0}, {2.4f, 0}}, Join(Arc(2.4f, 1.5f, 1.6f, 1.5f, -90, 90), {{0, 3}})), {{2, 3}, {4, 6}}}},
        {'S', 4, {Join(Arc(2, 1.5f, 1.9f, 1.5f, -20, -270), Arc(2, 4.5f, 1.9f, 1.5f, -90, 160))}},
        {'T', 4, {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}},
        {'U', 4, {Join(Join({{0, 0}}, Arc(2, 4, 2, 2, 180, 0)), {{4, 0}})}},
        {'V', 4.4f, {{{0, 0}, {2.2f, 6}, {4.4f, 0}}}},
        {'W', 5.4f, {{{0, 0}, {1.3f, 6}, {2.7f, 1.8f}, {4.1f, 6}, {5.4f, 0}}}},
        {'X', 4, {{{0, 0}, {4, 6}}, {{4, 0}, {0, 6}}}},
        {'?', 3.6f, {Join(Arc(1.8f, 1.6f, 1.8f, 1.6f, 190, 420), {{1.8f, 4.2f}}), {{1.8f, 5.8f}, {1.8f, 5.85f}}}},
        {'.', 0, {{{0, 5.8f}, {0, 5.85f}}}},
        {' ', 2, {}},
    };
    return glyphs;
}

const Glyph* Find(char letter) {
    for (const Glyph& g : Glyphs())
        if (g.letter == letter) return &g;
    return nullptr;
}

constexpr float kGap = 1.6f;   // grid units between letters

}  // namespace

Mask::Mask(int width, int height) : width_(width), height_(height), cover_(static_cast<size_t>(width * height), 0.0f) {}

void Mask::Line(float x0, float y0, float x1, float y1, float thickness) {
    const float r = thickness * 0.5f;
    const int left = std::max(0, static_cast<int>(std::floor(std::min(x0, x1) - r - 1)));
    const int right = std::min(width_ - 1, static_cast<int>(std::ceil(std::max(x0, x1) + r + 1)));
    const int top = std::max(0, static_cast<int>(std::floor(std::min(y0, y1) - r - 1)));
    const int bottom = std::min(height_ - 1, static_cast<int>(std::ceil(std::max(y0, y1) + r + 1)));
    const float dx = x1 - x0, dy = y1 - y0, length2 = dx * dx + dy * dy;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const float px = static_cast<float>(x) + 0.5f - x0, py = static_cast<float>(y) + 0.5f - y0;
            const float t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0f, 1.0f) : 0.0f;
            const float ex = px - t * dx, ey = py - t * dy;
            // A pixel-wide soft edge keeps the strokes smooth.
            const float cover = std::clamp(r + 0.5f - std::sqrt(ex * ex + ey * ey), 0.0f, 1.0f);
            float& here = cover_[static_cast<size_t>(y * width_ + x)];
            here = std::max(here, cover);
        }
}

void Mask::Text(const std::string& text, float x, float y, float size, float thickness, float slant) {
    const float unit = size / 6.0f;
    for (const char letter : text) {
        const Glyph* g = Find(letter);
        if (!g) {
            x += 2 * unit;
            continue;
        }
        auto at = [&](std::pair<float, float> p) {
            return std::pair<float, float>{x + p.first * unit + (6 - p.second) * unit * slant, y + p.second * unit};
        };
        for (const Stroke& s : g->strokes)
            for (size_t i = 0; i + 1 < s.size(); ++i) {
                const auto [ax, ay] = at(s[i]);
                const auto [bx, by] = at(s[i + 1]);
                Line(ax, ay, bx, by, thickness);
            }
        x += (g->width + kGap) * unit;
    }
}

Mask Mask::Blurred(int radius) const {
    // Three box blurs in each direction come close to a Gaussian.
    Mask out = *this;
    std::vector<float> line;
    for (int pass = 0; pass < 3; ++pass)
        for (int direction = 0; direction < 2; ++direction) {
            const int lines = direction ? width_ : height_, length = direction ? height_ : width_;
            for (int l = 0; l < lines; ++l) {
                auto cell = [&](int i) -> float& {
                    return out.cover_[static_cast<size_t>(direction ? i * width_ + l : l * width_ + i)];
                };
                line.assign(static_cast<size_t>(length), 0.0f);
                // A running sum over the window: add the cell entering, drop the one leaving.
                float sum = 0;
                for (int k = 0; k < std::min(radius, length); ++k) sum += cell(k);
                for (int i = 0; i < length; ++i) {
                    if (i + radius < length) sum += cell(i + radius);
                    if (i - radius - 1 >= 0) sum -= cell(i - radius - 1);
                    line[static_cast<size_t>(i)] = sum / static_cast<float>(2 * radius + 1);
                }
                for (int i = 0; i < length; ++i) cell(i) = line[static_cast<size_t>(i)];
            }
        }
    return out;
}

float TextWidth(const std::string& text, float size) {
    const float unit = size / 6.0f;
    float width = 0;
    for (const char letter : text) {
        const Glyph* g = Find(letter);
        width += g ? (g->width + kGap) * unit : 2 * unit;
    }
    return width > 0 ? width - kGap * unit : 0;
}
