// The .x parse under its limits: a parser that asks for too much memory or takes too long
// fails like a bad model; a file that failed is not parsed again; files a fuzzer found load
// or fail cleanly.
#include <gtest/gtest.h>

#include <cstring>

#include <sys/mman.h>

#include "tests/platform/d3drm_fixture.h"

namespace {

using d3drmtest::ParseEnd;

const std::string kTriangle =
    "xof 0302txt 0032\nMesh tri { 3; 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;0.0;0.0;; 1; 3;0,1,2;; }\n";

void Drop(IDirect3DRMObject*, REFIID, void*) {}

class ParseLimits : public ::testing::Test, protected ScratchFiles {
protected:
    void SetUp() override { root = d3drmtest::CreateRoot(); }
    HRESULT Load(const std::string& file) {
        return root->Load(file.c_str(), nullptr, nullptr, 0, D3DRMLOAD_FROMFILE, Drop, nullptr, nullptr, nullptr,
                          nullptr);
    }
    HRESULT LoadIntoBuilder(const std::string& file) {
        Ref<IDirect3DRMMeshBuilder3> builder;
        root->CreateMeshBuilder(builder.put());
        return builder->Load(file.c_str(), nullptr, D3DRMLOAD_FROMFILE, nullptr, nullptr);
    }

    Ref<IDirect3DRM3> root;
};

constexpr size_t kMiB = size_t{1} << 20;

// Child hooks: each stands in for a parser that misbehaves in one way.
// Asks for more than the limit in one request, which must fail at once; the child ends
// without an answer when the request is granted (without touching the memory).
char* volatile asked = nullptr;   // kept, so that the allocation is not optimised away
void AskForHalfAGigabyte() {
    asked = new char[512 * kMiB];
    _exit(0);
}
void AskForSixtyFourMegabytes() { asked = new char[64 * kMiB]; }

// Memory mapped before the fork: filling it adds to the child's resident set but not to its
// address space, as a sanitizer's preallocated heap does.
char* reserved = nullptr;
void FillReservedMemoryAndWait() {
    std::memset(reserved, 1, 512 * kMiB);
    for (;;) pause();
}

void Hang() {
    for (;;) pause();
}

// How a parse that went past the memory limit ends. A sanitizer's allocator does not throw
// std::bad_alloc when the address-space limit refuses a request: it ends the child with a
// report, which is a plain failure to the parent. Either way the model fails to load.
void ExpectOverMemory() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    const ParseEnd end = d3drmtest::LastParseEnd();
    EXPECT_TRUE(end == ParseEnd::OverMemory || end == ParseEnd::Failed) << static_cast<int>(end);
#else
    EXPECT_EQ(d3drmtest::LastParseEnd(), ParseEnd::OverMemory);
#endif
}

}  // namespace

TEST_F(ParseLimits, TheMemoryLimitCountsWhatTheChildAddsToWhatItInherits) {
    // 512 MiB of address space, untouched until a hook fills it.
    void* block = mmap(nullptr, 512 * kMiB, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(block, MAP_FAILED);
    reserved = static_cast<char*>(block);
    d3drmtest::SetParseLimits({.memoryBytes = 256 * kMiB, .time = std::chrono::seconds(30)});

    // The process already maps more than the limit: a parse that needs less still succeeds.
    d3drmtest::SetParseChildHook(AskForSixtyFourMegabytes);
    EXPECT_EQ(Load(Write("tri.x", kTriangle)), D3DRM_OK);

    // One request past the limit fails at once.
    d3drmtest::SetParseChildHook(AskForHalfAGigabyte);
    EXPECT_EQ(Load(Write("asks.x", kTriangle + " ")), D3DRMERR_BADFILE);
    ExpectOverMemory();

    // Filling memory mapped before the fork is seen by the parent.
    d3drmtest::SetParseChildHook(FillReservedMemoryAndWait);
    EXPECT_EQ(Load(Write("fills.x", kTriangle + "  ")), D3DRMERR_BADFILE);
    EXPECT_EQ(d3drmtest::LastParseEnd(), ParseEnd::OverMemory);
    munmap(block, 512 * kMiB);
}

TEST_F(ParseLimits, AParserThatHangsIsKilledAtTheTimeLimitAndTheFileIsRemembered) {
    d3drmtest::SetParseLimits({.memoryBytes = 256 * kMiB, .time = std::chrono::milliseconds(300)});
    d3drmtest::SetParseChildHook(Hang);
    const std::string file = Write("tri.x", kTriangle);
    EXPECT_EQ(Load(file), D3DRMERR_BADFILE);
    EXPECT_EQ(d3drmtest::LastParseEnd(), ParseEnd::OverTime);
    EXPECT_EQ(d3drmtest::ParsesStarted(), 1);

    // The next try fails at once, also through a mesh builder, whatever the hook now does.
    d3drmtest::SetParseChildHook(nullptr);
    EXPECT_EQ(Load(file), D3DRMERR_BADFILE);
    EXPECT_EQ(LoadIntoBuilder(file), D3DRMERR_BADFILE);
    EXPECT_EQ(d3drmtest::LastParseEnd(), ParseEnd::Remembered);
    EXPECT_EQ(d3drmtest::ParsesStarted(), 1);
}

TEST_F(ParseLimits, FailedFilesAreRememberedByContentAndOnlyTheLatestOnes) {
    auto broken = [](int i) { return "xof 0302txt 0032\nMesh m" + std::to_string(i) + " { 3; 0.0;"; };
    const std::string first = Write("broken.x", broken(0));
    ASSERT_EQ(Load(first), D3DRMERR_BADFILE);
    ASSERT_EQ(d3drmtest::LastParseEnd(), ParseEnd::Failed);
    ASSERT_EQ(d3drmtest::ParsesStarted(), 1);

    // The same bytes under another name are known; one byte more is a new file.
    EXPECT_EQ(Load(Write("copy.x", broken(0))), D3DRMERR_BADFILE);
    EXPECT_EQ(d3drmtest::ParsesStarted(), 1);
    EXPECT_EQ(Load(Write("longer.x", broken(0) + " ")), D3DRMERR_BADFILE);
    EXPECT_EQ(d3drmtest::ParsesStarted(), 2);

    // A good file is parsed once as well, and never taken for a failed one.
    const std::string good = Write("good.x", kTriangle);
    EXPECT_EQ(Load(good), D3DRM_OK);
    EXPECT_EQ(Load(good), D3DRM_OK);
    EXPECT_EQ(d3drmtest::ParsesStarted(), 3);

    // The memory of failures is bounded: after many other failures the first is parsed again.
    for (int i = 1; i <= 100; ++i) ASSERT_EQ(Load(Write("broken" + std::to_string(i) + ".x", broken(i))), D3DRMERR_BADFILE);
    const int before = d3drmtest::ParsesStarted();
    EXPECT_EQ(before, 103);
    EXPECT_EQ(Load(first), D3DRMERR_BADFILE);
    EXPECT_EQ(d3drmtest::ParsesStarted(), before + 1);
}

// Inputs a fuzzer derived from the model corpus that make the parser ask for gigabytes at
// once or grow without end, or that it rejects: each fails cleanly, both ways. The limits are
// tightened so that the growing ones fail in a second or two rather than at the defaults.
TEST_F(ParseLimits, FilesAFuzzerFoundLoadOrFailCleanly) {
    d3drmtest::SetParseLimits({.memoryBytes = 256 * kMiB, .time = std::chrono::seconds(10)});
    const std::filesystem::path folder = std::filesystem::path(VLX_SOURCE_DIR) / "tests/platform/xfile_fuzz_found";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().filename().string());
        ++files;
        const HRESULT frames = Load(entry.path().string());
        EXPECT_TRUE(frames == D3DRM_OK || frames == D3DRMERR_BADFILE) << frames;
        EXPECT_EQ(LoadIntoBuilder(entry.path().string()), frames);
    }
    EXPECT_GT(files, 0);
}
