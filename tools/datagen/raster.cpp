#include "tools/datagen/raster.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kNear = 0.05f;   // camera distance below which a polygon is cut off

// The look's turn of a direction: tilt about x, then turn about y.
Vec3 Turned(const Look& look, Vec3 p) {
    const float ct = std::cos(look.tilt), st = std::sin(look.tilt);
    p = {p.x, ct * p.y - st * p.z, st * p.y + ct * p.z};
    const float cy = std::cos(look.turn), sy = std::sin(look.turn);
    return {cy * p.x + sy * p.z, p.y, -sy * p.x + cy * p.z};
}

Vec3 Placed(const Look& look, Vec3 p) {
    return look.offset + Turned(look, {p.x * look.scale.x, p.y * look.scale.y, p.z * look.scale.z});
}

template <class T>
T Lerp(T a, T b, float t) {
    return a * (1.0f - t) + b * t;
}

// A repeating texture looked up at u, v (nearest pixel).
Rgb Sample(const Canvas& texture, float u, float v) {
    const int w = texture.Width(), h = texture.Height();
    const int x = static_cast<int>(std::floor(u * static_cast<float>(w))) % w, y = static_cast<int>(std::floor(v * static_cast<float>(h))) % h;
    return texture.At(x < 0 ? x + w : x, y < 0 ? y + h : y);
}

}  // namespace

Raster::Raster(Canvas& canvas, Vec3 eye, Vec3 target, float field, Lighting lighting)
    : canvas_(canvas),
      depth_(static_cast<size_t>(canvas.Width() * canvas.Height()), 0.0f),
      eye_(eye),
      lighting_(std::move(lighting)) {
    forward_ = Normalize(target - eye);
    right_ = Normalize(Cross({0, 1, 0}, forward_));
    up_ = Cross(forward_, right_);
    focal_ = static_cast<float>(canvas.Height()) * 0.5f / std::tan(field * 0.5f);
}

Vec3 Raster::ToView(Vec3 world) const {
    const Vec3 d = world - eye_;
    return {Dot(d, right_), Dot(d, up_), Dot(d, forward_)};
}

bool Raster::Project(Vec3 point, float* x, float* y) const {
    const Vec3 v = ToView(point);
    if (v.z < kNear) return false;
    *x = static_cast<float>(canvas_.Width()) * 0.5f + v.x * focal_ / v.z;
    *y = static_cast<float>(canvas_.Height()) * 0.5f - v.y * focal_ / v.z;
    return true;
}

void Raster::Draw(const XFrame& frame, const Look& look) {
    Look here = look;
    here.offset = Placed(look, frame.offset);
    Draw(frame.mesh, here);
    for (const XFrame& child : frame.children) Draw(child, here);
}

void Raster::Draw(const Model& model, const Look& look) {
    // Light each vertex once (white), then colour it per face by the face's material.
    const size_t count = model.positions.size();
    std::vector<Vec3> world(count);
    std::vector<Rgb> diffuse(count), shine(count);
    for (size_t i = 0; i < count; ++i) {
        world[i] = Placed(look, model.positions[i]);
        const Vec3 n0 = model.normals[i];
        const Vec3 n = Normalize(Turned(look, {n0.x / look.scale.x, n0.y / look.scale.y, n0.z / look.scale.z}));
        const Vec3 toEye = Normalize(eye_ - world[i]);
        diffuse[i] = lighting_.ambient;
        for (const Lamp& lamp : lighting_.lamps) {
            const Vec3 l = Normalize(lamp.towards);
            diffuse[i] = diffuse[i] + lamp.colour * std::max(0.0f, Dot(n, l));
            const float h = std::max(0.0f, Dot(n, Normalize(l + toEye)));
            shine[i] = shine[i] + lamp.colour * (look.specular * std::pow(h, look.power));
        }
    }
    for (size_t f = 0; f < model.faces.size(); ++f) {
        const std::vector<int>& face = model.faces[f];
        // The front is where the corners run clockwise; faces turned away are not drawn.
        Vec3 normal{};
        const Vec3 first = world[static_cast<size_t>(face[0])];
        for (size_t k = 1; k + 1 < face.size(); ++k)
            normal = normal + Cross(world[static_cast<size_t>(face[k])] - first, world[static_cast<size_t>(face[k + 1])] - first);
        if (Dot(normal, eye_ - first) <= 0) continue;
        const Colour c = model.materials[static_cast<size_t>(model.faceMaterial[f])];
        const Rgb material = look.tinted ? look.tint : Rgb{c.r, c.g, c.b};
        std::vector<Corner> corners;
        for (const int index : face) {
            const auto i = static_cast<size_t>(index);
            corners.push_back({ToView(world[i]), material * diffuse[i] + look.glow, shine[i], model.u[i] * look.repeat, model.v[i] * look.repeat});
        }
        Polygon(std::move(corners), look);
    }
}

void Raster::Polygon(std::vector<Corner> corners, const Look& look) {
    // Cut away what lies before the near plane, then fan out the rest.
    std::vector<Corner> kept;
    for (size_t i = 0; i < corners.size(); ++i) {
        const Corner& a = corners[i];
        const Corner& b = corners[(i + 1) % corners.size()];
        if (a.view.z >= kNear) kept.push_back(a);
        if ((a.view.z >= kNear) != (b.view.z >= kNear)) {
            const float t = (kNear - a.view.z) / (b.view.z - a.view.z);
            kept.push_back({Lerp(a.view, b.view, t), Lerp(a.lit, b.lit, t), Lerp(a.shine, b.shine, t), Lerp(a.u, b.u, t), Lerp(a.v, b.v, t)});
        }
    }
    for (size_t k = 1; k + 1 < kept.size(); ++k) Triangle(kept[0], kept[k], kept[k + 1], look);
}

void Raster::Triangle(const Corner& a, const Corner& b, const Corner& c, const Look& look) {
    const Corner* corner[3] = {&a, &b, &c};
    float sx[3], sy[3], inv[3];
    for (int i = 0; i < 3; ++i) {
        inv[i] = 1.0f / corner[i]->view.z;
        sx[i] = static_cast<float>(canvas_.Width()) * 0.5f + corner[i]->view.x * focal_ * inv[i];
        sy[i] = static_cast<float>(canvas_.Height()) * 0.5f - corner[i]->view.y * focal_ * inv[i];
    }
    const float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
    if (std::fabs(area) < 1e-8f) return;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({sx[0], sx[1], sx[2]}))));
    const int x1 = std::min(canvas_.Width() - 1, static_cast<int>(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({sy[0], sy[1], sy[2]}))));
    const int y1 = std::min(canvas_.Height() - 1, static_cast<int>(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            // Screen-space weights of the three corners; all of one sign inside.
            float w[3];
            for (int i = 0; i < 3; ++i) {
                const int j = (i + 1) % 3, k = (i + 2) % 3;
                w[i] = ((sx[k] - sx[j]) * (py - sy[j]) - (sy[k] - sy[j]) * (px - sx[j])) / area;
            }
            if (w[0] < 0 || w[1] < 0 || w[2] < 0) continue;
            const float depth = w[0] * inv[0] + w[1] * inv[1] + w[2] * inv[2];
            float& nearest = depth_[static_cast<size_t>(y * canvas_.Width() + x)];
            if (depth <= nearest) continue;
            nearest = depth;
            // Perspective-correct weights.
            float p[3];
            for (int i = 0; i < 3; ++i) p[i] = w[i] * inv[i] / depth;
            Rgb lit = a.lit * p[0] + b.lit * p[1] + c.lit * p[2];
            if (look.texture)
                lit = lit * Sample(*look.texture, a.u * p[0] + b.u * p[1] + c.u * p[2], a.v * p[0] + b.v * p[1] + c.v * p[2]);
            canvas_.At(x, y) = lit + a.shine * p[0] + b.shine * p[1] + c.shine * p[2];
        }
}
