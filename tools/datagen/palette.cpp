#include "tools/datagen/palette.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <unordered_map>
#include <vector>

namespace {

using Colour8 = std::array<int, 3>;

// Median cut: the box of colours with the widest channel is split at that channel's median
// until there are `count` boxes; each box gives its average colour.
std::vector<Colour8> MedianCut(std::vector<Colour8> colours, size_t count) {
    struct Box {
        size_t begin, end;
    };
    std::vector<Box> boxes{{0, colours.size()}};
    auto widest = [&](const Box& b, int* channel) {
        int best = -1;
        for (int c = 0; c < 3; ++c) {
            int lo = 255, hi = 0;
            for (size_t i = b.begin; i < b.end; ++i) {
                lo = std::min(lo, colours[i][c]);
                hi = std::max(hi, colours[i][c]);
            }
            if (hi - lo > best) {
                best = hi - lo;
                *channel = c;
            }
        }
        return best;
    };
    while (boxes.size() < count) {
        int bestRange = 0, bestChannel = 0;
        size_t bestBox = boxes.size();
        for (size_t b = 0; b < boxes.size(); ++b) {
            int channel = 0;
            const int range = boxes[b].end - boxes[b].begin > 1 ? widest(boxes[b], &channel) : 0;
            if (range > bestRange) {
                bestRange = range;
                bestChannel = channel;
                bestBox = b;
            }
        }
        if (bestBox == boxes.size()) break;   // every box holds one colour
        const Box box = boxes[bestBox];
        const size_t middle = box.begin + (box.end - box.begin) / 2;
        std::nth_element(colours.begin() + static_cast<long>(box.begin), colours.begin() + static_cast<long>(middle),
                         colours.begin() + static_cast<long>(box.end),
                         [bestChannel](const Colour8& a, const Colour8& b) { return a[bestChannel] < b[bestChannel]; });
        boxes[bestBox] = {box.begin, middle};
        boxes.push_back({middle, box.end});
    }
    std::vector<Colour8> palette;
    for (const Box& b : boxes) {
        long sum[3] = {0, 0, 0};
        for (size_t i = b.begin; i < b.end; ++i)
            for (int c = 0; c < 3; ++c) sum[c] += colours[i][c];
        const long n = static_cast<long>(b.end - b.begin);
        palette.push_back({static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n), static_cast<int>(sum[2] / n)});
    }
    return palette;
}

}  // namespace

bool SaveWith256Colours(const Canvas& canvas, const std::string& path) {
    const int w = canvas.Width(), h = canvas.Height();
    auto byte = [](float v) { return static_cast<int>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    std::vector<Colour8> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels.push_back({byte(canvas.At(x, y).r), byte(canvas.At(x, y).g), byte(canvas.At(x, y).b)});
    const std::vector<Colour8> palette = MedianCut(pixels, 256);

    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 8, SDL_PIXELFORMAT_INDEX8);
    if (!s) {
        std::fprintf(stderr, "datagen: %s: %s\n", path.c_str(), SDL_GetError());
        return false;
    }
    SDL_Color colours[256] = {};
    for (size_t i = 0; i < palette.size(); ++i)
        colours[i] = SDL_Color{static_cast<Uint8>(palette[i][0]), static_cast<Uint8>(palette[i][1]), static_cast<Uint8>(palette[i][2]), 255};
    SDL_SetPaletteColors(s->format->palette, colours, 0, 256);
    // The nearest palette colour, remembered per colour already seen.
    std::unordered_map<int, int> nearest;
    for (int y = 0; y < h; ++y) {
        auto* row = static_cast<Uint8*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < w; ++x) {
            const Colour8& p = pixels[static_cast<size_t>(y * w + x)];
            const auto [found, fresh] = nearest.try_emplace((p[0] << 16) | (p[1] << 8) | p[2], 0);
            int& index = found->second;
            if (fresh) {
                int best = 1 << 30;
                for (size_t i = 0; i < palette.size(); ++i) {
                    const int dr = p[0] - palette[i][0], dg = p[1] - palette[i][1], db = p[2] - palette[i][2];
                    const int d = 2 * dr * dr + 4 * dg * dg + db * db;   // the eye is keenest on green
                    if (d < best) {
                        best = d;
                        index = static_cast<int>(i);
                    }
                }
            }
            row[x] = static_cast<Uint8>(index);
        }
    }
    const bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
    if (!ok) std::fprintf(stderr, "datagen: %s: %s\n", path.c_str(), SDL_GetError());
    SDL_FreeSurface(s);
    return ok;
}
