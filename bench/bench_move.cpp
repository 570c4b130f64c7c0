// Moving a scene once per rendered frame, and placing frames along animation paths.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/d3drm_test.h"

namespace {

void CountMove(IDirect3DRMFrame3*, void* arg, D3DVALUE) { ++*static_cast<std::uint64_t*>(arg); }

// A scene of `count` frames (the scene frame included) at most `depth` levels deep: a chain
// down to the deepest level, the rest hung under frames picked at random above it, so that
// the fan-out varies from one frame to the next. Every frame spins and drifts slowly; every
// other one has a move callback.
struct Hierarchy {
    Ref<IDirect3DRMFrame3> scene;
    std::uint64_t callbacks = 0;

    Hierarchy(IDirect3DRM3* root, int count, int depth) {
        std::vector<IDirect3DRMFrame3*> frames;
        std::vector<int> levels;
        root->CreateFrame(nullptr, scene.put());
        frames.push_back(scene.get());
        levels.push_back(1);
        std::uint32_t random = 12345;
        for (int i = 1; i < count; ++i) {
            int parent = i - 1;
            if (i >= depth) {
                do {
                    random = random * 1664525u + 1013904223u;
                    parent = static_cast<int>((random >> 8) % frames.size());
                } while (levels[parent] >= depth);
            }
            Ref<IDirect3DRMFrame3> f;
            root->CreateFrame(frames[parent], f.put());
            frames.push_back(f.get());
            levels.push_back(levels[parent] + 1);
        }
        for (size_t i = 0; i < frames.size(); ++i) {
            IDirect3DRMFrame3* f = frames[i];
            const float s = static_cast<float>(i % 7) * 0.01f;
            f->SetVelocity(nullptr, 0.01f + s, -s, 0.02f, i % 3 == 0);
            f->SetRotation(nullptr, 0.3f, 1.0f, s, 0.01f + s);
            if (i % 2 == 0) f->AddMoveCallback(CountMove, &callbacks, 0);
        }
    }
};

void BM_MoveHierarchy(benchmark::State& state) {
    Ref<IDirect3DRM3> root = d3drmtest::CreateRoot();
    const int count = static_cast<int>(state.range(0));
    Hierarchy scene(root.get(), count, 10);
    for (auto _ : state) scene.scene->Move(1.0f);
    benchmark::DoNotOptimize(scene.callbacks);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_MoveHierarchy)->Arg(1000)->Unit(benchmark::kMicrosecond);

// One step of a flight: a 16-key closed spline path placing three frames, as the follow
// flight does on every rendered frame.
void BM_FlightPathStep(benchmark::State& state) {
    Ref<IDirect3DRM3> root = d3drmtest::CreateRoot();
    Ref<IDirect3DRMFrame3> scene;
    root->CreateFrame(nullptr, scene.put());
    Ref<IDirect3DRMFrame3> frames[3];
    for (auto& f : frames) root->CreateFrame(scene.get(), f.put());
    Ref<IDirect3DRMAnimation2> path;
    root->CreateAnimation(path.put());
    path->SetOptions(D3DRMANIMATION_CLOSED | D3DRMANIMATION_SPLINEPOSITION | D3DRMANIMATION_POSITION);
    for (int k = 0; k < 16; ++k)
        path->AddPositionKey(static_cast<float>(k), static_cast<float>((k * 7) % 11), 2.0f, static_cast<float>(k * 3));
    float time = 0;
    for (auto _ : state) {
        time += 0.01f;
        for (int i = 0; i < 3; ++i) {
            path->SetFrame(frames[i].get());
            path->SetTime(time + 0.5f * static_cast<float>(i));
        }
    }
    state.SetItemsProcessed(state.iterations() * 3);
}
BENCHMARK(BM_FlightPathStep);

}  // namespace
