// Building blocks for the installation's models: surfaces of revolution, boxes, rings,
// flat and extruded polygons, and moving parts of a model into place.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "tools/datagen/xwriter.h"

inline constexpr float kPi = 3.14159265358979f;

// A point of a profile turned about the y axis: its radius, height and the outward normal
// of the profile at that point (in the radius/height plane).
struct ProfilePoint {
    float radius, y, normalRadius, normalY;
};

// Turns a profile (from bottom to top) about the y axis in `segments` steps. Rings of
// radius 0 close the surface with fans at the poles.
void AddLathe(Model& m, const std::vector<ProfilePoint>& profile, int segments, int material = 0);
// A profile through (radius, height) points, bottom to top, with smooth outward normals
// (the outside lies to the right of the direction of travel in the radius/height plane).
std::vector<ProfilePoint> SmoothProfile(const std::vector<std::pair<float, float>>& points);
// The profile of a sphere of `radius` centred on the origin, pole to pole in `rings` steps.
std::vector<ProfilePoint> SphereProfile(float radius, int rings);
// A flat disc cap at height y facing up (+1) or down (-1).
void AddCap(Model& m, float radius, float y, float facing, int segments, int material = 0);
// An axis-aligned box from `lo` to `hi`, each side with its own vertices and normal.
void AddBox(Model& m, Vec3 lo, Vec3 hi, int material = 0);
// A ring of tube radius `small` around a circle of radius `big` about the y axis (or, with
// `aboutZ`, about the z axis), centred at `offset`.
void AddTorus(Model& m, float big, float small, int major, int minor, bool aboutZ, Vec3 offset, int material);
// A flat polygon seen from both sides (two faces back to back); `up` is its front's normal.
// The outline need only be star-shaped about its centre.
void AddSheet(Model& m, const std::vector<Vec3>& corners, Vec3 up, int material = 0);
// A polygon in the x-y plane, star-shaped about its centre, extruded from z = -depth/2 to
// +depth/2.
void AddPrism(Model& m, const std::vector<Vec3>& outline, float depth, int material = 0);
// A triangle with its own corners and a flat normal, front outward from `inside`.
void AddFacet(Model& m, Vec3 a, Vec3 b, Vec3 c, Vec3 inside, int material = 0);

// Moves the vertices from `first` on by `f`, which maps a position (`direction` false) or
// a normal (`direction` true). Used to bend, turn and place parts of a model.
void MapVertices(Model& m, size_t first, const std::function<Vec3(Vec3, bool direction)>& f);
// Turns the vertices from `first` on by `angle` radians about the x, y or z axis (axis 0, 1,
// 2; +y towards +z about x, +z towards +x about y, +x towards +y about z), then moves them by `offset`.
void TurnAndMove(Model& m, size_t first, int axis, float angle, Vec3 offset);
// Scales the vertices from `first` on by `s` per axis (normals follow the inverse scale).
void Stretch(Model& m, size_t first, Vec3 s);
