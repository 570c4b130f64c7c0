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

// Writes the model as one frame holding one mesh; false when the file cannot be written.
bool WriteXFile(const std::string& path, const std::string& frameName, const Model& model);
