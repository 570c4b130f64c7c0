// Ray picking against a 10,000-face sphere: what one mouse press costs.
#include <benchmark/benchmark.h>

#include <glm/glm.hpp>

#include <cmath>
#include <numbers>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/d3drm_test.h"
#include "platform/d3drm/mesh_builder.h"

namespace {

constexpr int kStacks = 100;
constexpr int kSlices = 100;   // kStacks x kSlices = 10,000 quad faces

struct SphereScene {
    SphereScene() {
        root = d3drmtest::CreateRoot();
        root->CreateFrame(nullptr, scene.put());
        root->CreateFrame(scene.get(), holder.put());
        holder->SetPosition(scene.get(), 0, 0, 5);
        root->CreateMeshBuilder(sphere.put());
        MeshBuilder* b = MeshBuilder::From(sphere.get());
        const float pi = std::numbers::pi_v<float>;
        for (int i = 0; i <= kStacks; ++i) {
            const float phi = pi * static_cast<float>(i) / kStacks;
            for (int j = 0; j <= kSlices; ++j) {
                const float theta = 2.0f * pi * static_cast<float>(j) / kSlices;
                const glm::vec3 p(std::sin(phi) * std::cos(theta), std::cos(phi), std::sin(phi) * std::sin(theta));
                b->positions.push_back(p);
                b->normals.push_back(p);
                b->texcoords.emplace_back(static_cast<float>(j) / kSlices, static_cast<float>(i) / kStacks);
            }
        }
        auto at = [](int i, int j) { return static_cast<DWORD>(i * (kSlices + 1) + j); };
        for (int i = 0; i < kStacks; ++i)
            for (int j = 0; j < kSlices; ++j) {
                auto face = Ref<IDirect3DRMFace2>::Adopt(new Face(b));
                Face::From(face.get())->vertices = {at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j)};
                Face::From(face.get())->normals = Face::From(face.get())->vertices;
                b->faces.push_back(face);
            }
        holder->AddVisual(sphere.get());
    }

    // Picks along a ray from the origin; the number of picks.
    DWORD Pick(glm::vec3 direction, DWORD flags = 0) {
        D3DRMRAY ray;
        ray.dvPos = D3DVECTOR{0, 0, 0};
        ray.dvDir = D3DVECTOR{direction.x, direction.y, direction.z};
        Ref<IDirect3DRMPicked2Array> picks;
        scene->RayPick(nullptr, &ray, flags, picks.put());
        return picks ? picks->GetSize() : 0;
    }

    Ref<IDirect3DRM3> root;
    Ref<IDirect3DRMFrame3> scene, holder;
    Ref<IDirect3DRMMeshBuilder3> sphere;
};

// Rays through the middle of the sphere, fanned a little so they meet different faces.
void BM_RayPickSphereThroughTheMiddle(benchmark::State& state) {
    SphereScene s;
    int n = 0;
    for (auto _ : state) {
        const float spread = 0.02f * static_cast<float>(n++ % 16);
        const DWORD hits = s.Pick({spread, -spread, 5.0f});
        if (hits != 1) state.SkipWithError("the ray missed the sphere");
        benchmark::DoNotOptimize(hits);
    }
    state.counters["faces"] = kStacks * kSlices;
}
BENCHMARK(BM_RayPickSphereThroughTheMiddle);

// A ray that passes beside the sphere: the box test turns it away.
void BM_RayPickSphereMiss(benchmark::State& state) {
    SphereScene s;
    for (auto _ : state) benchmark::DoNotOptimize(s.Pick({3.0f, 0.0f, 5.0f}));
}
BENCHMARK(BM_RayPickSphereMiss);

void BM_RayPickSphereBoundingBoxOnly(benchmark::State& state) {
    SphereScene s;
    for (auto _ : state) benchmark::DoNotOptimize(s.Pick({0.0f, 0.0f, 1.0f}, D3DRMRAYPICK_ONLYBOUNDINGBOXES));
}
BENCHMARK(BM_RayPickSphereBoundingBoxOnly);

}  // namespace
