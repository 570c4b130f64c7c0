// A small software renderer for the dialogs' pictures: the installation's models drawn over
// a canvas as Gouraud-shaded (and optionally textured) triangles with a depth buffer, seen
// through a pinhole camera in the show's left-handed coordinates (+y up, +z away).
#pragma once

#include <vector>

#include "tools/datagen/canvas.h"
#include "tools/datagen/xwriter.h"

// A light from far away: the direction towards it and its colour.
struct Lamp {
    Vec3 towards{0, 1, 0};
    Rgb colour{1, 1, 1};
};

struct Lighting {
    Rgb ambient{0.25f, 0.25f, 0.28f};
    std::vector<Lamp> lamps;
};

// Where and how one model is drawn.
struct Look {
    Vec3 offset;                       // where the model's origin stands
    Vec3 scale{1, 1, 1};
    float tilt = 0;                    // radians about x (+y towards +z), applied first
    float turn = 0;                    // radians about y (+z towards +x)
    bool tinted = false;               // true: `tint` replaces the model's own colours
    Rgb tint{1, 1, 1};
    const Canvas* texture = nullptr;   // multiplies the colour at the model's u, v, when set
    float repeat = 1;                  // texture repeats across one unit of u and v
    float specular = 0.35f;            // strength of the highlights
    float power = 24;                  // their sharpness
    Rgb glow{};                        // light of its own, added unlit
};

class Raster {
public:
    // Draws into `canvas` (kept by reference) from `eye` towards `target`; `field` is the
    // vertical field of view in radians. The canvas's pixels are the background.
    Raster(Canvas& canvas, Vec3 eye, Vec3 target, float field, Lighting lighting);
    void Draw(const Model& model, const Look& look);
    // A frame with its children, each at its offset within its parent.
    void Draw(const XFrame& frame, const Look& look);
    // Where a point of the scene shows in the canvas, in pixels; false behind the camera.
    bool Project(Vec3 point, float* x, float* y) const;

private:
    struct Corner {
        Vec3 view;            // camera coordinates
        Rgb lit, shine;       // diffuse colour and highlight
        float u = 0, v = 0;
    };
    void Polygon(std::vector<Corner> corners, const Look& look);
    void Triangle(const Corner& a, const Corner& b, const Corner& c, const Look& look);
    Vec3 ToView(Vec3 world) const;

    Canvas& canvas_;
    std::vector<float> depth_;   // 1 / distance of the nearest surface drawn, 0 for none
    Vec3 eye_, right_, up_, forward_;
    float focal_;                // pixels per unit at distance 1
    Lighting lighting_;
};
