// Loading a .x model: the largest model of the corpus that loads, as a frame hierarchy with
// its animation sets (IDirect3DRM3::Load) and merged into one mesh builder
// (IDirect3DRMMeshBuilder3::Load). Wall-clock time: the parse runs in a child process.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/d3drm_test.h"

namespace {

void Drop(IDirect3DRMObject*, REFIID, void*) {}

HRESULT LoadFrames(IDirect3DRM3* root, const std::string& file) {
    return root->Load(file.c_str(), nullptr, nullptr, 0, D3DRMLOAD_FROMFILE, Drop, nullptr, nullptr, nullptr, nullptr);
}

// The largest file of the corpus's models that loads; empty without the corpus.
const std::string& LargestModel() {
    static const std::string model = [] {
        const std::filesystem::path folder = std::filesystem::path(VLX_CORPUS_DIR) / "x";
        std::vector<std::filesystem::directory_entry> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.is_regular_file()) files.push_back(entry);
        std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.file_size() > b.file_size(); });
        Ref<IDirect3DRM3> root = d3drmtest::CreateRoot();
        for (const auto& entry : files)
            if (LoadFrames(root.get(), entry.path().string()) == D3DRM_OK) return entry.path().string();
        return std::string();
    }();
    return model;
}

void BM_LoadXFileFrames(benchmark::State& state) {
    const std::string& file = LargestModel();
    if (file.empty()) {
        state.SkipWithError("no loadable model in the corpus");
        return;
    }
    Ref<IDirect3DRM3> root = d3drmtest::CreateRoot();
    for (auto _ : state)
        if (LoadFrames(root.get(), file) != D3DRM_OK) {
            state.SkipWithError("the model failed to load");
            break;
        }
    state.SetLabel(std::filesystem::path(file).filename().string());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(file)));
}
BENCHMARK(BM_LoadXFileFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadXFileIntoMeshBuilder(benchmark::State& state) {
    const std::string& file = LargestModel();
    if (file.empty()) {
        state.SkipWithError("no loadable model in the corpus");
        return;
    }
    Ref<IDirect3DRM3> root = d3drmtest::CreateRoot();
    for (auto _ : state) {
        Ref<IDirect3DRMMeshBuilder3> builder;
        root->CreateMeshBuilder(builder.put());
        if (builder->Load(file.c_str(), nullptr, D3DRMLOAD_FROMFILE, nullptr, nullptr) != D3DRM_OK) {
            state.SkipWithError("the model failed to load");
            break;
        }
    }
    state.SetLabel(std::filesystem::path(file).filename().string());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(file)));
}
BENCHMARK(BM_LoadXFileIntoMeshBuilder)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
