#include "tools/datagen/xwriter.h"

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <fstream>

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Normalize(Vec3 v) {
    const float l = std::sqrt(Dot(v, v));
    return l > 0 ? v * (1.0f / l) : v;
}

int Model::AddVertex(Vec3 p, Vec3 n, float tu, float tv) {
    positions.push_back(p);
    normals.push_back(Normalize(n));
    u.push_back(tu);
    v.push_back(tv);
    return static_cast<int>(positions.size()) - 1;
}

void Model::AddFace(std::vector<int> corners, Vec3 outward, int material) {
    // Clockwise seen from the front in left-handed coordinates: the cross product of the
    // first two edges points out of the front.
    const Vec3 a = positions[static_cast<size_t>(corners[0])];
    const Vec3 n = Cross(positions[static_cast<size_t>(corners[1])] - a, positions[static_cast<size_t>(corners[2])] - a);
    if (Dot(n, outward) < 0) std::reverse(corners.begin() + 1, corners.end());
    faces.push_back(std::move(corners));
    faceMaterial.push_back(material);
}

bool WriteXFile(const std::string& path, const std::string& frameName, const Model& m) {
    std::ofstream out(path);
    if (!out) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    out << "xof 0303txt 0032\n\n";
    out << "Frame " << frameName << " {\n";
    out << "  FrameTransformMatrix {\n    1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n  }\n";
    auto list = [&out](const std::vector<Vec3>& vs) {
        out << "    " << vs.size() << ";\n";
        for (size_t i = 0; i < vs.size(); ++i)
            out << "    " << vs[i].x << ";" << vs[i].y << ";" << vs[i].z << ";" << (i + 1 < vs.size() ? "," : ";") << "\n";
    };
    auto faces = [&out, &m]() {
        out << "    " << m.faces.size() << ";\n";
        for (size_t i = 0; i < m.faces.size(); ++i) {
            out << "    " << m.faces[i].size() << ";";
            for (size_t k = 0; k < m.faces[i].size(); ++k) out << m.faces[i][k] << (k + 1 < m.faces[i].size() ? "," : "");
            out << ";" << (i + 1 < m.faces.size() ? "," : ";") << "\n";
        }
    };
    out << "  Mesh " << frameName << "Mesh {\n";
    list(m.positions);
    faces();
    out << "    MeshNormals {\n";
    list(m.normals);
    faces();
    out << "    }\n";
    out << "    MeshTextureCoords {\n    " << m.u.size() << ";\n";
    for (size_t i = 0; i < m.u.size(); ++i)
        out << "    " << m.u[i] << ";" << m.v[i] << ";" << (i + 1 < m.u.size() ? "," : ";") << "\n";
    out << "    }\n";
    out << "    MeshMaterialList {\n    " << m.materials.size() << ";\n    " << m.faces.size() << ";\n";
    for (size_t i = 0; i < m.faceMaterial.size(); ++i)
        out << "    " << m.faceMaterial[i] << (i + 1 < m.faceMaterial.size() ? "," : ";") << "\n";
    for (const Colour& c : m.materials) {
        out << "    Material {\n      " << c.r << ";" << c.g << ";" << c.b << ";1.0;;\n      20.0;\n"
            << "      0.5;0.5;0.5;;\n      0.0;0.0;0.0;;\n    }\n";
    }
    out << "    }\n  }\n}\n";
    return static_cast<bool>(out);
}
