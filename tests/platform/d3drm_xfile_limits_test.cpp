// The .x parse under its limits: a parser that asks for too much memory, takes too long or
// crashes fails like a bad model; a file that failed is not parsed again; files a fuzzer found
// load or fail cleanly; the parser's library stays out of the loading process.
#include <gtest/gtest.h>

#include <fstream>

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

// How a parse that went past the memory limit ends. A sanitizer's allocator does not throw
// std::bad_alloc when the address-space limit refuses a request: it ends the parser with a
// report, which is a plain failure to the loader. Either way the model fails to load.
void ExpectOverMemory() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    const ParseEnd end = d3drmtest::LastParseEnd();
    EXPECT_TRUE(end == ParseEnd::OverMemory || end == ParseEnd::Failed) << static_cast<int>(end);
#else
    EXPECT_EQ(d3drmtest::LastParseEnd(), ParseEnd::OverMemory);
#endif
}

}  // namespace

TEST_F(ParseLimits, TheMemoryLimitCountsWhatTheParserAddsToItsOwn) {
    d3drmtest::SetParseLimits({.memoryBytes = 256 * kMiB, .time = std::chrono::seconds(30)});

    // The parser maps more than the limit before it limits itself, untouched (as a sanitizer
    // does): a parse that needs less still succeeds.
    d3drmtest::SetParserBehaviour({.reserveBytes = 512 * kMiB, .askBytes = 64 * kMiB});
    EXPECT_EQ(Load(Write("tri.x", kTriangle)), D3DRM_OK);

    // One request past the limit fails at once.
    d3drmtest::SetParserBehaviour({.askBytes = 512 * kMiB});
    EXPECT_EQ(Load(Write("asks.x", kTriangle + " ")), D3DRMERR_BADFILE);
    ExpectOverMemory();

    // Filling memory mapped before the limit is seen by the loader.
    d3drmtest::SetParserBehaviour({.reserveBytes = 512 * kMiB, .fillReserved = true});
    EXPECT_EQ(Load(Write("fills.x", kTriangle + "  ")), D3DRMERR_BADFILE);
    EXPECT_EQ(d3drmtest::LastParseEnd(), ParseEnd::OverMemory);
}

TEST_F(ParseLimits, AParserThatHangsIsKilledAtTheTimeLimitAndTheFileIsRemembered) {
    d3drmtest::SetParseLimits({.memoryBytes = 256 * kMiB, .time = std::chrono::milliseconds(300)});
    d3drmtest::SetParserBehaviour({.hang = true});
    const std::string file = Write("tri.x", kTriangle);
    EXPECT_EQ(Load(file), D3DRMERR_BADFILE);
    EXPECT_EQ(d3drmtest::LastParseEnd(), ParseEnd::OverTime);
    EXPECT_EQ(d3drmtest::ParsesStarted(), 1);

    // The next try fails at once, also through a mesh builder, whatever the parser now does.
    d3drmtest::SetParserBehaviour({});
    EXPECT_EQ(Load(file), D3DRMERR_BADFILE);
    EXPECT_EQ(LoadIntoBuilder(file), D3DRMERR_BADFILE);
    EXPECT_EQ(d3drmtest::LastParseEnd(), ParseEnd::Remembered);
    EXPECT_EQ(d3drmtest::ParsesStarted(), 1);

    // A parser that crashes fails the load the same way.
    d3drmtest::SetParserBehaviour({.crash = true});
    EXPECT_EQ(Load(Write("crash.x", kTriangle + " ")), D3DRMERR_BADFILE);
    EXPECT_EQ(d3drmtest::LastParseEnd(), ParseEnd::Failed);
    EXPECT_EQ(d3drmtest::ParsesStarted(), 2);
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

// The parser's library (and what it brings) is what the parser program is for: a model that
// loads must not have mapped it into the loading process.
TEST_F(ParseLimits, LoadingAModelLeavesAssimpOutOfTheProcess) {
    ASSERT_EQ(Load(Write("tri.x", kTriangle)), D3DRM_OK);
    ASSERT_EQ(d3drmtest::LastParseEnd(), ParseEnd::Answered);
    std::ifstream maps("/proc/self/maps");
    std::string line;
    int lines = 0;
    for (; std::getline(maps, line); ++lines) {
        EXPECT_EQ(line.find("libassimp"), std::string::npos) << line;
        EXPECT_EQ(line.find("libdraco"), std::string::npos) << line;
    }
    EXPECT_GT(lines, 0);
}
