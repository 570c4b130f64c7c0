#include "tools/datagen/geometry.h"

#include <cmath>

void AddLathe(Model& m, const std::vector<ProfilePoint>& profile, int segments, int material) {
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

void AddCap(Model& m, float radius, float y, float facing, int segments, int material) {
    std::vector<int> corners;
    for (int s = 0; s < segments; ++s) {
        const float a = 2.0f * kPi * static_cast<float>(s) / static_cast<float>(segments);
        corners.push_back(m.AddVertex({radius * std::cos(a), y, radius * std::sin(a)}, {0, facing, 0},
                                      0.5f + 0.5f * std::cos(a), 0.5f - 0.5f * std::sin(a)));
    }
    m.AddFace(corners, {0, facing, 0}, material);
}

void AddBox(Model& m, Vec3 lo, Vec3 hi, int material) {
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

// A polygon as a fan of triangles about its centre, so outlines that are only star-shaped
// (seen whole from their centre) come out right; all faces front `normal`.
static void AddFan(Model& m, const std::vector<Vec3>& corners, Vec3 normal, int material) {
    Vec3 centre{};
    for (const Vec3& c : corners) centre = centre + c * (1.0f / static_cast<float>(corners.size()));
    auto uv = [](Vec3 p, float* u) { *u = 0.5f + 0.5f * p.x; return 0.5f - 0.5f * p.y; };
    float u;
    float v = uv(centre, &u);
    const int middle = m.AddVertex(centre, normal, u, v);
    std::vector<int> ring;
    for (const Vec3& c : corners) {
        v = uv(c, &u);
        ring.push_back(m.AddVertex(c, normal, u, v));
    }
    for (size_t i = 0; i < ring.size(); ++i) m.AddFace({middle, ring[i], ring[(i + 1) % ring.size()]}, normal, material);
}

void AddSheet(Model& m, const std::vector<Vec3>& corners, Vec3 up, int material) {
    AddFan(m, corners, up, material);
    AddFan(m, corners, up * -1.0f, material);
}

void AddPrism(Model& m, const std::vector<Vec3>& outline, float depth, int material) {
    const float h = depth / 2;
    // Front (-z, towards the default camera) and back.
    for (const float side : {-1.0f, 1.0f}) {
        std::vector<Vec3> face;
        for (const Vec3& p : outline) face.push_back({p.x, p.y, side * h});
        AddFan(m, face, {0, 0, side}, material);
    }
    // The walls, one quad per edge of the outline.
    for (size_t i = 0; i < outline.size(); ++i) {
        const Vec3 a = outline[i], b = outline[(i + 1) % outline.size()];
        Vec3 out = Normalize(Cross(b - a, {0, 0, 1}));
        // Outward: away from the outline's centre.
        Vec3 centre{};
        for (const Vec3& p : outline) centre = centre + p * (1.0f / static_cast<float>(outline.size()));
        if (Dot(out, (a + b) * 0.5f - centre) < 0) out = out * -1.0f;
        m.AddFace({m.AddVertex({a.x, a.y, -h}, out, 0, 0), m.AddVertex({b.x, b.y, -h}, out, 1, 0),
                   m.AddVertex({b.x, b.y, h}, out, 1, 1), m.AddVertex({a.x, a.y, h}, out, 0, 1)},
                  out, material);
    }
}

void MapVertices(Model& m, size_t first, const std::function<Vec3(Vec3, bool)>& f) {
    for (size_t i = first; i < m.positions.size(); ++i) {
        m.positions[i] = f(m.positions[i], false);
        m.normals[i] = Normalize(f(m.normals[i], true));
    }
}

void TurnAndMove(Model& m, size_t first, int axis, float angle, Vec3 offset) {
    const float c = std::cos(angle), s = std::sin(angle);
    MapVertices(m, first, [&](Vec3 p, bool direction) {
        Vec3 r = p;
        if (axis == 0) r = {p.x, c * p.y - s * p.z, s * p.y + c * p.z};
        if (axis == 1) r = {c * p.x + s * p.z, p.y, -s * p.x + c * p.z};
        if (axis == 2) r = {c * p.x - s * p.y, s * p.x + c * p.y, p.z};
        return direction ? r : r + offset;
    });
}

void Stretch(Model& m, size_t first, Vec3 s) {
    MapVertices(m, first, [&](Vec3 p, bool direction) {
        return direction ? Vec3{p.x / s.x, p.y / s.y, p.z / s.z} : Vec3{p.x * s.x, p.y * s.y, p.z * s.z};
    });
}

std::vector<ProfilePoint> SmoothProfile(const std::vector<std::pair<float, float>>& points) {
    std::vector<ProfilePoint> profile;
    auto segmentNormal = [&](size_t i) {   // outward normal of the segment from point i to i + 1
        const float dr = points[i + 1].first - points[i].first, dy = points[i + 1].second - points[i].second;
        const float l = std::sqrt(dr * dr + dy * dy);
        return std::pair<float, float>{dy / l, -dr / l};
    };
    for (size_t i = 0; i < points.size(); ++i) {
        float nr = 0, ny = 0;
        if (i > 0) {
            const auto [r, y] = segmentNormal(i - 1);
            nr += r;
            ny += y;
        }
        if (i + 1 < points.size()) {
            const auto [r, y] = segmentNormal(i);
            nr += r;
            ny += y;
        }
        const float l = std::sqrt(nr * nr + ny * ny);
        profile.push_back({points[i].first, points[i].second, nr / l, ny / l});
    }
    return profile;
}

void AddFacet(Model& m, Vec3 a, Vec3 b, Vec3 c, Vec3 inside, int material) {
    Vec3 n = Normalize(Cross(b - a, c - a));
    if (Dot(n, (a + b + c) * (1.0f / 3.0f) - inside) < 0) n = n * -1.0f;
    m.AddFace({m.AddVertex(a, n, 0, 0), m.AddVertex(b, n, 1, 0), m.AddVertex(c, n, 0.5f, 1)}, n, material);
}
