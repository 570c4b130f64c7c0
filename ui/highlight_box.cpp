// The selection marker: every edge of the box and the arrow is a tube whose cross section is
// a regular octagon, built as a face list in the engine's face-data format.
#include "ui/highlight_box.h"

#include <array>
#include <cmath>

namespace {

constexpr D3DVALUE kEdgeRadius = 0.05f;    // the box's edges and the arrow's shaft
constexpr D3DVALUE kHeadRadius = 0.2f;     // the arrow head's base
constexpr D3DVALUE kShaftBeyond = 1.0f;    // how far the shaft reaches past the box's top in z
constexpr D3DVALUE kHeadLength = 0.6f;

// One face: vertex count, then (vertex, normal) index pairs.
template <std::size_t N>
struct FaceList {
    std::array<DWORD, N> data{};
    std::size_t size = 0;
    void Face(std::initializer_list<DWORD> pairs) {
        data[size++] = static_cast<DWORD>(pairs.size() / 2);
        for (DWORD value : pairs) data[size++] = value;
    }
};

// Both tubes start with the octagon at A, listed backwards so that it faces away from B.
template <std::size_t N>
void StartCap(FaceList<N>& faces) {
    faces.Face({7, 7, 6, 6, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1, 0, 0});
}

// A cylinder: the cap at A, eight sides, the cap at B.
const FaceList<107>& CylinderFaces() {
    static const FaceList<107> faces = [] {
        FaceList<107> f;
        StartCap(f);
        for (DWORD i = 0; i < 8; ++i) {
            const DWORD j = (i + 1) % 8;
            f.Face({i, i, j, j, 8 + j, j, 8 + i, i});
        }
        f.Face({8, 0, 9, 1, 10, 2, 11, 3, 12, 4, 13, 5, 14, 6, 15, 7});
        f.data[f.size++] = 0;
        return f;
    }();
    return faces;
}

// A cone: the base at A and eight triangles to the tip (vertex 8), which always takes normal 1.
const FaceList<74>& ConeFaces() {
    static const FaceList<74> faces = [] {
        FaceList<74> f;
        StartCap(f);
        for (DWORD i = 0; i < 8; ++i) {
            const DWORD j = (i + 1) % 8;
            f.Face({i, i, j, j, 8, 1});
        }
        f.data[f.size++] = 0;
        return f;
    }();
    return faces;
}

D3DVECTOR operator+(const D3DVECTOR& a, const D3DVECTOR& b) { return D3DVECTOR{a.x + b.x, a.y + b.y, a.z + b.z}; }
D3DVECTOR operator*(D3DVALUE s, const D3DVECTOR& v) { return D3DVECTOR{s * v.x, s * v.y, s * v.z}; }
D3DVECTOR operator-(const D3DVECTOR& v) { return D3DVECTOR{-v.x, -v.y, -v.z}; }

}  // namespace

void AddTube(int kind, IDirect3DRMMeshBuilder3* builder, D3DVALUE radius, const D3DVECTOR& a, const D3DVECTOR& b) {
    if (kind != kTubeCylinder && kind != kTubeCone) return;
    D3DVECTOR d{b.x - a.x, b.y - a.y, b.z - a.z};
    D3DRMVectorNormalize(&d);   // a zero-length tube keeps d = 0 and collapses to its octagon
    // A unit vector across the tube with no x part.
    D3DVECTOR u{0.0f, 0.0f, 0.0f};
    if (d.y == 0.0f && d.z == 0.0f) {
        u.z = 1.0f;
    } else if (d.y == 0.0f) {
        u.y = 1.0f;
    } else {
        u.z = std::sqrt(1.0f / (d.z * d.z / (d.y * d.y) + 1.0f));
        u.y = -(d.z / d.y) * u.z;
    }
    D3DVECTOR v;
    D3DRMVectorCrossProduct(&v, &d, &u);
    u = radius * u;
    v = radius * v;
    // c = √2 − 1 places the eight corners on a regular octagon.
    const D3DVALUE c = std::sqrt(2.0f) / (2.0f * (0.5f * std::sqrt(2.0f) + 1.0f));
    const D3DVECTOR offsets[8] = {u + c * v,       c * u + v,         -c * u + v,        -u + c * v,
                                  -u + -c * v,     -c * u + -v,       c * u + -v,        u + -c * v};
    D3DVECTOR normals[8];
    for (int i = 0; i < 8; ++i) {
        normals[i] = offsets[i];
        D3DRMVectorNormalize(&normals[i]);
    }
    if (kind == kTubeCylinder) {
        D3DVECTOR vertices[16];
        for (int i = 0; i < 8; ++i) {
            vertices[i] = a + offsets[i];
            vertices[8 + i] = b + offsets[i];
        }
        builder->AddFaces(16, vertices, 8, normals, CylinderFaces().data.data(), nullptr);
    } else {
        D3DVECTOR vertices[9];
        for (int i = 0; i < 8; ++i) vertices[i] = a + offsets[i];
        vertices[8] = b;
        builder->AddFaces(9, vertices, 8, normals, ConeFaces().data.data(), nullptr);
    }
}

Ref<IDirect3DRMMeshBuilder3> BuildHighlightBox(const D3DRMBOX& box) {
    Ref<IDirect3DRMMeshBuilder3> builder;
    if (d3drm->CreateMeshBuilder(builder.put()) != D3DRM_OK) return nullptr;
    IDirect3DRMMeshBuilder3* mb = builder.get();
    const D3DVALUE x0 = box.min.x, y0 = box.min.y, z0 = box.min.z;
    const D3DVALUE x1 = box.max.x, y1 = box.max.y, z1 = box.max.z;
    // The arrow along the object's z axis, from its origin to past the box's top.
    const D3DVALUE top = z1 + kShaftBeyond;
    AddTube(kTubeCylinder, mb, kEdgeRadius, D3DVECTOR{0.0f, 0.0f, 0.0f}, D3DVECTOR{0.0f, 0.0f, top});
    AddTube(kTubeCone, mb, kHeadRadius, D3DVECTOR{0.0f, 0.0f, top}, D3DVECTOR{0.0f, 0.0f, top + kHeadLength});
    // The twelve edges: round the z0 face, up one corner, round the z1 face, down the others.
    const D3DVECTOR edges[12][2] = {
        {{x0, y0, z0}, {x0, y1, z0}}, {{x0, y1, z0}, {x1, y1, z0}}, {{x1, y1, z0}, {x1, y0, z0}},
        {{x1, y0, z0}, {x0, y0, z0}}, {{x0, y0, z0}, {x0, y0, z1}}, {{x0, y0, z1}, {x1, y0, z1}},
        {{x1, y0, z1}, {x1, y1, z1}}, {{x1, y1, z1}, {x0, y1, z1}}, {{x0, y1, z1}, {x0, y0, z1}},
        {{x0, y1, z1}, {x0, y1, z0}}, {{x1, y1, z1}, {x1, y1, z0}}, {{x1, y0, z1}, {x1, y0, z0}},
    };
    for (const auto& edge : edges) AddTube(kTubeCylinder, mb, kEdgeRadius, edge[0], edge[1]);
    mb->SetColor(D3DRMCreateColorRGB(0.0f, 1.0f, 0.0f));
    return builder;
}
