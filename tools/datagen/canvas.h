// A picture being painted in floating-point colour, the noise that paints clouds, gas and
// grain, saving as a 24-bit .bmp, reading one back and shrinking it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    float r = 0, g = 0, b = 0;
};
Rgb operator+(Rgb a, Rgb b);
Rgb operator*(Rgb a, float s);
Rgb operator*(Rgb a, Rgb b);
// a where t is 0, b where t is 1.
Rgb Mix(Rgb a, Rgb b, float t);
// A colour of the rainbow, hue 0..1 from red over green and blue back to red.
Rgb Hue(float hue);
// 0 below `edge0`, 1 above `edge1`, smooth in between.
float SmoothStep(float edge0, float edge1, float x);

class Canvas {
public:
    Canvas(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb& At(int x, int y) { return pixels_[static_cast<size_t>(y * width_ + x)]; }
    const Rgb& At(int x, int y) const { return pixels_[static_cast<size_t>(y * width_ + x)]; }
    // Adds light at a point; points outside the picture are left out.
    void Add(int x, int y, Rgb light);
    // Paints every pixel with `paint(x, y)` (x, y in pixels).
    template <class Paint>
    void Fill(Paint paint) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) At(x, y) = paint(static_cast<float>(x), static_cast<float>(y));
    }
    // A round glow of `radius` pixels (a Gaussian), added.
    void Glow(float x, float y, float radius, Rgb light);
    // A sprinkle of `count` stars over the rows above `bottom`, of random brightness and tint.
    void Stars(int count, int bottom, unsigned seed, float brightness = 1.0f);
    // Sets every pixel darker than `threshold` (its brightest channel) to pure black, so a
    // decal's black key colour takes all of its background.
    void KeyBlack(float threshold);
    // Writes the picture as a 24-bit .bmp; false (with a line on stderr) when it cannot.
    bool Save(const std::string& path) const;
    // Reads a .bmp written before into `canvas`; false (with a line on stderr) when it cannot.
    static bool Load(const std::string& path, Canvas* canvas);
    // The picture at a smaller size, each pixel the average of the pixels it covers.
    Canvas Shrunk(int width, int height) const;

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// Smooth value noise in about 0..1 with features one unit apart. With a `period` above 0
// it repeats every `period` units in x and y, so pictures made with it tile.
float Noise(float x, float y, unsigned seed, int period = 0);
// Noise summed over `octaves`, each of twice the detail and half the weight; about 0..1.
float Fbm(float x, float y, int octaves, unsigned seed, int period = 0);
// A repeatable random number 0..1 for an integer and a seed.
float Random(unsigned n, unsigned seed);
