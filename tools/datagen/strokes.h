// Shapes drawn as smooth-edged pen strokes into a coverage mask, and the capitals and signs
// the pictures write, each a few strokes of the pen.
#pragma once

#include <string>
#include <vector>

class Mask {
public:
    Mask(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    float At(int x, int y) const { return cover_[static_cast<size_t>(y * width_ + x)]; }
    // A straight stroke with round ends, `thickness` pixels wide.
    void Line(float x0, float y0, float x1, float y1, float thickness);
    // `text` with its capitals `size` pixels high, the top left of the first at (x, y),
    // leaning right by `slant` pixels per pixel of height. Letters it does not know are gaps.
    void Text(const std::string& text, float x, float y, float size, float thickness, float slant = 0);
    // The mask softened over about `radius` pixels: the glow around what it covers.
    Mask Blurred(int radius) const;

private:
    int width_, height_;
    std::vector<float> cover_;   // 0..1 per pixel
};

// How wide `text` is written with capitals `size` pixels high.
float TextWidth(const std::string& text, float size);
