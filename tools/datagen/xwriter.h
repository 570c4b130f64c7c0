// A small model type and its writer in the text form of the DirectX .x format.
#pragma once

#include <string>
#include <vector>

struct Vec3 {
    float x = 0, y = 0, z = 0;
};
Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, float s);
Vec3 Cross(Vec3 a, Vec3 b);
float Dot(Vec3 a, Vec3 b);
Vec3 Normalize(Vec3 v);

struct Colour {
    float r = 1, g = 1, b = 1;
};

// A mesh whose faces index positions, normals and texture coordinates alike (one of each
// per corner vertex). Faces are clockwise seen from the front, as the format wants.
struct Model {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<float> u, v;
    std::vector<std::vector<int>> faces;
    std::vector<int> faceMaterial;   // index into materials, one per face
    std::vector<Colour> materials = std::vector<Colour>(1);

    int AddVertex(Vec3 p, Vec3 n, float tu, float tv);
    // Adds a polygon, turning its corners round when they face away from `outward`.
    void AddFace(std::vector<int> corners, Vec3 outward, int material = 0);
};

// A frame of a model file: where it stands in its parent, its own mesh (written only when it
// has faces) and its child frames. Frame names are unique within a file: animations name
// the frame they move.
struct XFrame {
    std::string name;
    Vec3 offset;   // from the parent's origin
    Model mesh;
    std::vector<XFrame> children;
};

// A key that turns a frame by `angle` radians about `axis` (clockwise seen along the axis,
// as the left-handed engine turns) at `tick`.
struct TurnKey {
    int tick = 0;
    Vec3 axis{0, 1, 0};
    float angle = 0;
};
// One frame's animation: its turns; the frame keeps its offset throughout.
struct XAnimation {
    std::string frame;
    std::vector<TurnKey> turns;
};
// Animations that play together; the engine loops them from the first key to the last.
struct XAnimationSet {
    std::string name;
    std::vector<XAnimation> animations;
};

// Writes a frame hierarchy and its animation sets; `ticksPerUnit` key ticks make one unit of
// the animation clock (the show advances it by 0.1 each rendered frame). False when the file
// cannot be written or an animation names no frame of the hierarchy.
bool WriteXFile(const std::string& path, const XFrame& root, const std::vector<XAnimationSet>& sets = {},
                int ticksPerUnit = 10);
// Writes the model as one frame holding one mesh.
bool WriteXFile(const std::string& path, const std::string& frameName, const Model& model);
