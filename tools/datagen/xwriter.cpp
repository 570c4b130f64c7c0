#include "tools/datagen/xwriter.h"

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <fstream>
#include <string>

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

namespace {

// A number as the format's readers want it: always with a decimal point, since a reader
// may take "0,5" (an integer, then a separator) for the decimal fraction 0.5.
std::string Num(float v) {
    if (std::fabs(v) < 1e-6f) v = 0.0f;
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", static_cast<double>(v));
    std::string s = text;
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
}

void WriteMesh(std::ostream& out, const std::string& name, const Model& m, const std::string& indent) {
    auto list = [&](const std::vector<Vec3>& vs) {
        out << indent << "  " << vs.size() << ";\n";
        for (size_t i = 0; i < vs.size(); ++i)
            out << indent << "  " << Num(vs[i].x) << ";" << Num(vs[i].y) << ";" << Num(vs[i].z) << ";" << (i + 1 < vs.size() ? "," : ";") << "\n";
    };
    auto faces = [&]() {
        out << indent << "  " << m.faces.size() << ";\n";
        for (size_t i = 0; i < m.faces.size(); ++i) {
            out << indent << "  " << m.faces[i].size() << ";";
            for (size_t k = 0; k < m.faces[i].size(); ++k) out << m.faces[i][k] << (k + 1 < m.faces[i].size() ? "," : "");
            out << ";" << (i + 1 < m.faces.size() ? "," : ";") << "\n";
        }
    };
    out << indent << "Mesh " << name << " {\n";
    list(m.positions);
    faces();
    out << indent << "  MeshNormals {\n";
    list(m.normals);
    faces();
    out << indent << "  }\n";
    out << indent << "  MeshTextureCoords {\n" << indent << "  " << m.u.size() << ";\n";
    for (size_t i = 0; i < m.u.size(); ++i)
        out << indent << "  " << Num(m.u[i]) << ";" << Num(m.v[i]) << ";" << (i + 1 < m.u.size() ? "," : ";") << "\n";
    out << indent << "  }\n";
    out << indent << "  MeshMaterialList {\n" << indent << "  " << m.materials.size() << ";\n" << indent << "  "
        << m.faces.size() << ";\n";
    for (size_t i = 0; i < m.faceMaterial.size(); ++i)
        out << indent << "  " << m.faceMaterial[i] << (i + 1 < m.faceMaterial.size() ? "," : ";") << "\n";
    for (const Colour& c : m.materials) {
        out << indent << "  Material {\n" << indent << "    " << Num(c.r) << ";" << Num(c.g) << ";" << Num(c.b) << ";1.0;;\n"
            << indent << "    20.0;\n" << indent << "    0.5;0.5;0.5;;\n" << indent << "    0.0;0.0;0.0;;\n"
            << indent << "  }\n";
    }
    out << indent << "  }\n" << indent << "}\n";
}

void WriteFrame(std::ostream& out, const XFrame& f, const std::string& indent) {
    out << indent << "Frame " << f.name << " {\n";
    out << indent << "  FrameTransformMatrix {\n" << indent << "    1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,"
        << Num(f.offset.x) << "," << Num(f.offset.y) << "," << Num(f.offset.z) << ",1.0;;\n" << indent << "  }\n";
    if (!f.mesh.faces.empty()) WriteMesh(out, f.name + "Mesh", f.mesh, indent + "  ");
    for (const XFrame& child : f.children) WriteFrame(out, child, indent + "  ");
    out << indent << "}\n";
}

const XFrame* FindFrame(const XFrame& f, const std::string& name) {
    if (f.name == name) return &f;
    for (const XFrame& child : f.children)
        if (const XFrame* found = FindFrame(child, name)) return found;
    return nullptr;
}

}  // namespace

bool WriteXFile(const std::string& path, const XFrame& root, const std::vector<XAnimationSet>& sets, int ticksPerUnit) {
    std::ofstream out(path);
    if (!out) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    out << "xof 0303txt 0032\n\n";
    if (!sets.empty()) out << "AnimTicksPerSecond {\n  " << ticksPerUnit << ";\n}\n\n";
    WriteFrame(out, root, "");
    for (const XAnimationSet& set : sets) {
        out << "\nAnimationSet " << set.name << " {\n";
        for (const XAnimation& a : set.animations) {
            const XFrame* target = FindFrame(root, a.frame);
            if (!target) {
                std::fprintf(stderr, "datagen: %s: no frame %s to animate\n", path.c_str(), a.frame.c_str());
                return false;
            }
            out << "  Animation {\n    { " << a.frame << " }\n";
            // Rotation keys (type 0): w, x, y, z of the quaternion of each turn.
            out << "    AnimationKey {\n      0;\n      " << a.turns.size() << ";\n";
            for (size_t k = 0; k < a.turns.size(); ++k) {
                const TurnKey& t = a.turns[k];
                const Vec3 axis = Normalize(t.axis) * std::sin(t.angle / 2);
                out << "      " << t.tick << ";4;" << Num(std::cos(t.angle / 2)) << "," << Num(axis.x) << "," << Num(axis.y)
                    << "," << Num(axis.z) << ";;" << (k + 1 < a.turns.size() ? "," : ";") << "\n";
            }
            out << "    }\n";
            // Position keys (type 2) that hold the frame where its file puts it.
            out << "    AnimationKey {\n      2;\n      " << a.turns.size() << ";\n";
            for (size_t k = 0; k < a.turns.size(); ++k) {
                const Vec3 p = target->offset;
                out << "      " << a.turns[k].tick << ";3;" << Num(p.x) << "," << Num(p.y) << "," << Num(p.z) << ";;"
                    << (k + 1 < a.turns.size() ? "," : ";") << "\n";
            }
            out << "    }\n  }\n";
        }
        out << "}\n";
    }
    return static_cast<bool>(out);
}

bool WriteXFile(const std::string& path, const std::string& frameName, const Model& model) {
    return WriteXFile(path, XFrame{frameName, {}, model, {}});
}
