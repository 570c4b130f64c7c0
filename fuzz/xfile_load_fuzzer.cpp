// libFuzzer target: an input as a .x file through the engine's two loaders, the frame
// hierarchy with its animation sets (IDirect3DRM3::Load) and one merged mesh builder
// (IDirect3DRMMeshBuilder3::Load). The parse itself runs in the parser program; the coverage
// that guides the fuzzer is our own code in this process: the header check, the scan for
// frames that refer to meshes by name, decoding the parser's answer and building frames,
// meshes and animations from it. Any input must load or fail cleanly.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/d3drm_test.h"
#include "platform/win32/win32.h"

// The platform asks every program for its resources; this one has none.
const ResourceTables& Win32ProgramResources() {
    static const ResourceTables none;
    return none;
}

namespace {

struct Delivered {
    std::vector<Ref<IDirect3DRMObject>> objects;
    std::vector<Ref<IDirect3DRMAnimationSet2>> sets;
};

void Keep(IDirect3DRMObject* object, REFIID iid, void* arg) {
    auto* delivered = static_cast<Delivered*>(arg);
    delivered->objects.push_back(Ref<IDirect3DRMObject>::Share(object));
    if (iid == IID_IDirect3DRMAnimationSet2) {
        delivered->sets.emplace_back();
        object->QueryInterface(IID_IDirect3DRMAnimationSet2, reinterpret_cast<void**>(delivered->sets.back().put()));
    }
}

Ref<IDirect3DRM3>& Root() {
    static Ref<IDirect3DRM3> root;
    return root;
}

const std::string& InputFile() {
    static const std::string file =
        (std::filesystem::temp_directory_path() / ("vlx_fuzz_" + std::to_string(getpid()) + ".x")).string();
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Tighter limits than the show's: inputs that make the parser grow without end are common
    // here, and what counts is that they fail cleanly, not at which size. Real models need
    // far less (the largest of the corpus under 16 MB).
    d3drmtest::SetParseLimits({.memoryBytes = 256 << 20, .time = std::chrono::seconds(5)});
    // The parser's reports when it dies (a crash in assimp, or the sanitizer's report of a
    // request past the memory limit) would only bury the fuzzer's own output: the loader's
    // verdict is what counts.
    d3drmtest::SetParserBehaviour({.quiet = true});
    Root() = d3drmtest::CreateRoot();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(InputFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Delivered delivered;
    const HRESULT frames = Root()->Load(InputFile().c_str(), nullptr, nullptr, 0, D3DRMLOAD_FROMFILE, Keep, &delivered,
                                        nullptr, nullptr, nullptr);
    if (frames != D3DRM_OK && frames != D3DRMERR_BADFILE) {
        std::fprintf(stderr, "IDirect3DRM3::Load: result %#x, neither D3DRM_OK nor D3DRMERR_BADFILE\n",
                     static_cast<unsigned>(frames));
        std::abort();
    }
    // Evaluate the animations before, between and past their keys.
    for (const auto& set : delivered.sets)
        for (float time = -1.0f; time < 50.0f; time += 3.7f) set->SetTime(time);

    Ref<IDirect3DRMMeshBuilder3> builder;
    Root()->CreateMeshBuilder(builder.put());
    const HRESULT merged = builder->Load(InputFile().c_str(), nullptr, D3DRMLOAD_FROMFILE, nullptr, nullptr);
    if (merged != frames) {
        std::fprintf(stderr, "IDirect3DRMMeshBuilder3::Load: result %#x, IDirect3DRM3::Load gave %#x for the same file\n",
                     static_cast<unsigned>(merged), static_cast<unsigned>(frames));
        std::abort();
    }
    if (merged == D3DRM_OK) {
        D3DRMBOX box;
        builder->GetBox(&box);
    }
    // Removed after each input: libFuzzer ends its process without running exit handlers.
    std::remove(InputFile().c_str());
    return 0;
}
