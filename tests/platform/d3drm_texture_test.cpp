// Textures: .bmp pictures, good, broken and foreign, and their texels.
#include <gtest/gtest.h>

#include <SDL.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/d3drm_test.h"
#include "platform/d3drm/texture.h"

namespace {

namespace stdfs = std::filesystem;

const stdfs::path kBitmaps = stdfs::path(VLX_CORPUS_DIR) / "bmp";

class TextureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        root = d3drmtest::CreateRoot();
        std::string pattern = (stdfs::temp_directory_path() / "vlx-texture-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        stdfs::remove_all(dir, ignored);
    }

    // The loaded picture (empty on failure, with the result in `result`).
    const Texture* Load(const stdfs::path& file, HRESULT* result = nullptr) {
        const HRESULT hr = root->LoadTexture(file.string().c_str(), texture.put());
        if (result) *result = hr;
        EXPECT_EQ(hr == D3DRM_OK, bool(texture)) << file;
        return texture ? Texture::From(texture.get()) : nullptr;
    }
    HRESULT Result(const stdfs::path& file) {
        HRESULT hr;
        Load(file, &hr);
        return hr;
    }

    // A 24-bit picture whose texel (x, y) is colours[y][x] (0xRRGGBB), written by SDL.
    void WriteRgb(const stdfs::path& file, const std::vector<std::vector<Uint32>>& colours) {
        const int h = static_cast<int>(colours.size()), w = static_cast<int>(colours[0].size());
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 3;
                p[0] = colours[y][x] >> 16;
                p[1] = (colours[y][x] >> 8) & 0xFF;
                p[2] = colours[y][x] & 0xFF;
            }
        ASSERT_EQ(SDL_SaveBMP(s, file.string().c_str()), 0) << SDL_GetError();
        SDL_FreeSurface(s);
    }

    Ref<IDirect3DRM3> root;
    Ref<IDirect3DRMTexture3> texture;
    stdfs::path dir;
};

std::vector<stdfs::path> BitmapsIn(const char* folder) {
    std::vector<stdfs::path> files;
    for (const auto& entry : stdfs::directory_iterator(kBitmaps / folder)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

#define NEED_CORPUS() \
    if (!stdfs::is_directory(kBitmaps)) GTEST_SKIP() << "no bitmap corpus at " << kBitmaps

}  // namespace

TEST_F(TextureFiles, GoodCorpusBitmapsLoadAtTheirHeadersSizeAndBrokenOnesFailCleanly) {
    NEED_CORPUS();
    const std::map<std::string, std::pair<int, int>> unusual = {
        {"pal8w124.bmp", {124, 61}},      {"pal8w125.bmp", {125, 62}},    {"pal8w126.bmp", {126, 63}},
        {"pal8nonsquare.bmp", {127, 32}}, {"dxsdk-Arrows.bmp", {64, 16}}, {"dxsdk-Sample.bmp", {256, 256}},
        {"dxsdk-particle.bmp", {128, 128}}};
    const auto files = BitmapsIn("good");
    ASSERT_GE(files.size(), 30u);
    for (const auto& file : files) {
        const Texture* t = Load(file);
        ASSERT_TRUE(t) << file;
        const auto it = unusual.find(file.filename().string());
        const auto [w, h] = it == unusual.end() ? std::pair{127, 64} : it->second;
        EXPECT_EQ(t->width, w) << file;
        EXPECT_EQ(t->height, h) << file;
        EXPECT_EQ(t->rgba.size(), std::size_t(w) * h * 4) << file;
    }
    // Broken or odd ones load or fail, but never crash; huge, negative-width, cut-off and
    // 30000-bit pictures fail.
    for (const char* folder : {"bad", "questionable"})
        for (const auto& file : BitmapsIn(folder)) {
            HRESULT hr;
            if (!Load(file, &hr)) {
                EXPECT_EQ(hr, D3DRMERR_BADFILE) << file;
            }
        }
    for (const char* name : {"reallybig.bmp", "badwidth.bmp", "shortfile.bmp", "badbitcount.bmp"})
        EXPECT_EQ(Result(kBitmaps / "bad" / name), D3DRMERR_BADFILE) << name;
}

TEST_F(TextureFiles, TexelsAreRgbaRowsFromTheTop) {
    WriteRgb(dir / "rgb.bmp", {{0xFF0000, 0x00FF00, 0x0000FF}, {0x123456, 0xFFFFFF, 0x000000}});
    const Texture* t = Load(dir / "rgb.bmp");
    ASSERT_TRUE(t);
    ASSERT_EQ(t->width, 3);
    ASSERT_EQ(t->height, 2);
    EXPECT_EQ(t->Texel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(t->Texel(2, 0), 0xFF0000FFu);
    // In memory R, G, B, A: texel (0, 1) follows the first row.
    EXPECT_EQ(std::vector<std::uint8_t>(t->rgba.begin() + 12, t->rgba.begin() + 16),
              (std::vector<std::uint8_t>{0x12, 0x34, 0x56, 0xFF}));
    EXPECT_EQ(t->Texel(3, 0), 0u);   // outside
}
