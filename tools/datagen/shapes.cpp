// The installation's models: the basic shapes of the Objects' box, the lamp and the logo.
// All are our own designs, built from a few generators.
#include <cmath>
#include <filesystem>

#include "tools/datagen/datagen.h"
#include "tools/datagen/xwriter.h"

namespace {

constexpr float kPi = 3.14159265358979f;

// A point of a profile turned about the y axis: its radius, height and the outward normal
// of the profile at that point (in the radius/height plane).
struct ProfilePoint {
    float radius, y, normalRadius, normalY;
};

// Turns a profile (from bottom to top) about the y axis in `segments` steps. Rings of
// radius 0 close the surface with fans at the poles.
void AddLathe(Model& m, const std::vector<ProfilePoint>& profile, int segments, int material = 0) {
    std::vector<std::vector<int>> rings;
    for (size_t p = 0; p < profile.size(); ++p) {
        std::vector<int> ring;
        for (int s = 0; s <= segments; ++s) {
            const float a = 2.0f * kPi * static_cast<float>(s) / static_cast<float>(segments);
            const float c = std::cos(a), sn = std::sin(a);
            const ProfilePoint& pp = profile[p];
            ring.push_back(m.AddVertex({pp.radius * c, pp.y, pp.radius * sn}, {pp.normalRadius * c, pp.normalY, pp.normalRadius * sn},
                                       static_cast<float>(s) / static_cast<float>(segments),
                                       1.0f - static_cast<float>(p) / static_cast<float>(profile.size() - 1)));
        }
        rings.push_back(ring);
    }
    for (size_t p = 0; p + 1 < rings.size(); ++p) {
        for (int s = 0; s < segments; ++s) {
            const int a = rings[p][s], b = rings[p][s + 1], c = rings[p + 1][s + 1], d = rings[p + 1][s];
            const Vec3 outward = Normalize(m.normals[a] + m.normals[c]);
            if (profile[p].radius == 0.0f)
                m.AddFace({a, c, d}, outward, material);
            else if (profile[p + 1].radius == 0.0f)
                m.AddFace({a, b, c}, outward, material);
            else
                m.AddFace({a, b, c, d}, outward, material);
        }
    }
}

// A flat disc cap at height y facing up (+1) or down (-1).
void AddCap(Model& m, float radius, float y, float facing, int segments, int material = 0) {
    std::vector<int> corners;
    for (int s = 0; s < segments; ++s) {
        const float a = 2.0f * kPi * static_cast<float>(s) / static_cast<float>(segments);
        corners.push_back(m.AddVertex({radius * std::cos(a), y, radius * std::sin(a)}, {0, facing, 0},
                                      0.5f + 0.5f * std::cos(a), 0.5f - 0.5f * std::sin(a)));
    }
    m.AddFace(corners, {0, facing, 0}, material);
}

// An axis-aligned box from `lo` to `hi`, each side with its own vertices and normal.
void AddBox(Model& m, Vec3 lo, Vec3 hi, int material = 0) {
    const Vec3 n[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const Vec3& normal : n) {
        // Two axes spanning the side.
        const Vec3 a = std::fabs(normal.y) > 0 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
        const Vec3 b = Cross(normal, a);
        const Vec3 centre = (lo + hi) * 0.5f;
        const Vec3 half = (hi - lo) * 0.5f;
        auto corner = [&](float s, float t, float tu, float tv) {
            const Vec3 dir = normal + a * s + b * t;
            return m.AddVertex({centre.x + dir.x * half.x, centre.y + dir.y * half.y, centre.z + dir.z * half.z}, normal, tu, tv);
        };
        m.AddFace({corner(-1, -1, 0, 1), corner(1, -1, 1, 1), corner(1, 1, 1, 0), corner(-1, 1, 0, 0)}, normal, material);
    }
}

// A ring of tube radius `small` around a circle of radius `big` about the y axis (or, with
// `aboutZ`, about the z axis), centred at `offset`.
void AddTorus(Model& m, float big, float small, int major, int minor, bool aboutZ, Vec3 offset, int material) {
    std::vector<std::vector<int>> grid;
    for (int i = 0; i <= major; ++i) {
        const float a = 2 * kPi * static_cast<float>(i) / static_cast<float>(major);
        std::vector<int> ring;
        for (int j = 0; j <= minor; ++j) {
            const float b = 2 * kPi * static_cast<float>(j) / static_cast<float>(minor);
            const float c = std::cos(b) * std::cos(a), s = std::cos(b) * std::sin(a), h = std::sin(b);
            const Vec3 normal = aboutZ ? Vec3{c, s, h} : Vec3{c, h, s};
            const Vec3 centre = aboutZ ? Vec3{big * std::cos(a), big * std::sin(a), 0} : Vec3{big * std::cos(a), 0, big * std::sin(a)};
            ring.push_back(m.AddVertex(offset + centre + normal * small, normal, static_cast<float>(i) / static_cast<float>(major),
                                       static_cast<float>(j) / static_cast<float>(minor)));
        }
        grid.push_back(ring);
    }
    for (int i = 0; i < major; ++i)
        for (int j = 0; j < minor; ++j) {
            const int a = grid[i][j], b = grid[i + 1][j], c = grid[i + 1][j + 1], d = grid[i][j + 1];
            m.AddFace({a, b, c, d}, Normalize(m.normals[a] + m.normals[c]), material);
        }
}

std::vector<ProfilePoint> SphereProfile(float radius, int rings) {
    std::vector<ProfilePoint> profile;
    for (int r = 0; r <= rings; ++r) {
        const float phi = -kPi / 2 + kPi * static_cast<float>(r) / static_cast<float>(rings);
        const float c = std::cos(phi), s = std::sin(phi);
        profile.push_back({r == 0 || r == rings ? 0.0f : radius * c, radius * s, c, s});
    }
    return profile;
}

Model Sphere() {
    Model m;
    AddLathe(m, SphereProfile(1.0f, 12), 20);
    return m;
}

Model Cube() {
    Model m;
    AddBox(m, {-1, -1, -1}, {1, 1, 1});
    return m;
}

Model Cylinder() {
    Model m;
    AddLathe(m, {{1, -1, 1, 0}, {1, 1, 1, 0}}, 20);
    AddCap(m, 1, 1, 1, 20);
    AddCap(m, 1, -1, -1, 20);
    return m;
}

Model Cone() {
    Model m;
    // The slanted side's normal leans up by the cone's half angle.
    const float n = 1.0f / std::sqrt(5.0f);
    AddLathe(m, {{1, -1, 2 * n, n}, {0, 1, 2 * n, n}}, 20);
    AddCap(m, 1, -1, -1, 20);
    return m;
}

Model Torus() {
    Model m;
    AddTorus(m, 1.0f, 0.35f, 28, 16, false, {0, 0, 0}, 0);
    return m;
}

// A square floor of 20 x 20 units facing up, in 10 x 10 tiles.
Model Ground() {
    Model m;
    const int tiles = 10;
    const float size = 20.0f;
    for (int i = 0; i < tiles; ++i)
        for (int j = 0; j < tiles; ++j) {
            auto at = [&](int x, int z) {
                const float fx = static_cast<float>(x) / tiles, fz = static_cast<float>(z) / tiles;
                return m.AddVertex({(fx - 0.5f) * size, 0, (fz - 0.5f) * size}, {0, 1, 0}, fx, 1.0f - fz);
            };
            m.AddFace({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)}, {0, 1, 0});
        }
    return m;
}

// The lamp: a shade (an open cone) over a round bulb, hanging from a short stem.
Model Lamp() {
    Model m;
    m.materials = {Colour{0.9f, 0.9f, 0.9f}, Colour{1.0f, 1.0f, 0.85f}};
    const float n = 0.6f;
    AddLathe(m, {{1.2f, -0.4f, n, 0.8f}, {0.3f, 0.6f, n, 0.8f}}, 16, 0);
    AddCap(m, 0.3f, 0.6f, 1, 16, 0);
    AddBox(m, {-0.08f, 0.6f, -0.08f}, {0.08f, 1.6f, 0.08f}, 0);
    std::vector<ProfilePoint> bulb = SphereProfile(0.45f, 8);
    for (ProfilePoint& p : bulb) p.y -= 0.45f;
    AddLathe(m, bulb, 12, 1);
    return m;
}

// The logo: three bars, red, green and blue, rising like a level meter from a ring.
Model Logo() {
    Model m;
    m.materials = {Colour{0.75f, 0.78f, 0.85f}, Colour{1, 0.15f, 0.1f}, Colour{0.2f, 1, 0.25f}, Colour{0.2f, 0.45f, 1}};
    AddBox(m, {-0.75f, -0.3f, -0.15f}, {-0.3f, 0.5f, 0.15f}, 1);
    AddBox(m, {-0.22f, -0.3f, -0.15f}, {0.22f, 0.9f, 0.15f}, 2);
    AddBox(m, {0.3f, -0.3f, -0.15f}, {0.75f, 0.2f, 0.15f}, 3);
    // The ring, standing in the x-y plane around the bars.
    AddTorus(m, 1.1f, 0.08f, 32, 8, true, {0, 0.2f, 0}, 0);
    return m;
}

}  // namespace

bool WriteModels(const std::string& folder) {
    std::filesystem::create_directories(folder + "/xda/bas");
    bool ok = true;
    ok &= WriteXFile(folder + "/xda/vlxlogo.x", "Logo", Logo());
    ok &= WriteXFile(folder + "/xda/bas/light.x", "Lamp", Lamp());
    ok &= WriteXFile(folder + "/xda/bas/ground.x", "Ground", Ground());
    ok &= WriteXFile(folder + "/xda/bas/sphere.x", "Sphere", Sphere());
    ok &= WriteXFile(folder + "/xda/bas/cube.x", "Cube", Cube());
    ok &= WriteXFile(folder + "/xda/bas/cylinder.x", "Cylinder", Cylinder());
    ok &= WriteXFile(folder + "/xda/bas/cone.x", "Cone", Cone());
    ok &= WriteXFile(folder + "/xda/bas/torus.x", "Torus", Torus());
    return ok;
}
