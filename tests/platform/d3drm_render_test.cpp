// The OpenGL renderer, read back pixel by pixel: a real window on a private Xvfb, Mesa's
// llvmpipe, and scenes built through the engine's own calls.
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/d3drm_test.h"
#include "platform/win32/win32_test.h"
#include "tests/platform/win32_fixture.h"

namespace {

constexpr int kSize = 128;

struct Rgb {
    int r, g, b;
};
Rgb Split(D3DCOLOR c) { return {static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF)}; }

class Render : public ::testing::Test {
protected:
    void SetUp() override {
        win32test::EnableRecordedInteraction();
        window = OpenXWindow(xvfb, "RenderTest", DefWindowProcA, kSize, kSize);
        ASSERT_NE(window, nullptr);
        root = d3drmtest::CreateRoot();
        ASSERT_EQ(DirectDrawCreateClipper(0, clipper.put(), nullptr), DD_OK);
        clipper->SetHWnd(0, window);
        ASSERT_EQ(root->CreateDeviceFromClipper(clipper.get(), nullptr, kSize, kSize, device.put()), D3DRM_OK);
        device->SetQuality(D3DRMRENDER_GOURAUD);
        root->CreateFrame(nullptr, scene.put());
        root->CreateFrame(scene.get(), camera.put());
        camera->SetPosition(scene.get(), 0, 0, -10);
        ASSERT_EQ(root->CreateViewport(device.get(), camera.get(), 0, 0, kSize, kSize, viewport.put()), D3DRM_OK);
        viewport->SetBack(5000.0f);
        scene->SetSceneBackgroundRGB(0.0f, 0.0f, 0.4f);
    }
    void TearDown() override {
        viewport.reset();
        camera.reset();
        scene.reset();
        device.reset();
        if (window) DestroyWindow(window);
    }

    Rgb Draw(int x = kSize / 2, int y = kSize / 2) {
        viewport->Clear(D3DRMCLEAR_ALL);
        viewport->Render(scene.get());
        return Pixel(x, y);
    }
    Rgb Pixel(int x, int y) { return Split(d3drmtest::ReadPixel(device.get(), x, y)); }

    // A square of side 2·half facing the camera (-z), clockwise seen from it, at depth z.
    Ref<IDirect3DRMMeshBuilder3> Square(float half, float z, bool tiltedNormals = false) {
        Ref<IDirect3DRMMeshBuilder3> mb;
        root->CreateMeshBuilder(mb.put());
        const D3DVECTOR v[4] = {{-half, half, z}, {half, half, z}, {half, -half, z}, {-half, -half, z}};
        // Tilted normals lean left and right, so Gouraud shading changes across the square.
        const D3DVECTOR n[4] = {{-0.9f, 0, -0.4f}, {0.9f, 0, -0.4f}, {0.9f, 0, -0.4f}, {-0.9f, 0, -0.4f}};
        const D3DVECTOR flat[4] = {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}};
        const DWORD faces[] = {4, 0, 0, 1, 1, 2, 2, 3, 3, 0};
        EXPECT_EQ(mb->AddFaces(4, v, 4, tiltedNormals ? n : flat, faces, nullptr), D3DRM_OK);
        return mb;
    }
    Ref<IDirect3DRMFrame3> Holding(IUnknown* visual) {
        Ref<IDirect3DRMFrame3> f;
        root->CreateFrame(scene.get(), f.put());
        f->AddVisual(visual);
        return f;
    }
    void AddLight(D3DRMLIGHTTYPE type, float r, float g, float b, D3DVECTOR direction = {0, 0, 1}) {
        Ref<IDirect3DRMLight> light;
        root->CreateLightRGB(type, r, g, b, light.put());
        Ref<IDirect3DRMFrame3> f;
        root->CreateFrame(scene.get(), f.put());
        f->SetOrientation(scene.get(), direction.x, direction.y, direction.z, 0, 1, 0);
        f->AddLight(light.get());
    }

    std::unique_ptr<vlx_test::XvfbServer> xvfb;
    HWND window = nullptr;
    Ref<IDirect3DRM3> root;
    Ref<IDirectDrawClipper> clipper;
    Ref<IDirect3DRMDevice3> device;
    Ref<IDirect3DRMFrame3> scene, camera;
    Ref<IDirect3DRMViewport2> viewport;
};

}  // namespace

TEST_F(Render, ARedLightOnAWhiteObjectGivesRedAndItsBackIsNotDrawn) {
    auto square = Square(2, 0);
    square->SetColorRGB(1, 1, 1);
    auto frame = Holding(square.get());
    AddLight(D3DRMLIGHT_DIRECTIONAL, 1, 0, 0);
    const Rgb c = Draw();
    EXPECT_GT(c.r, 200);
    EXPECT_EQ(c.g, 0);
    EXPECT_EQ(c.b, 0);
    frame->SetOrientation(scene.get(), 0, 0, -1, 0, 1, 0);   // turned round: its back is not drawn
    EXPECT_EQ(Draw().b, 102);
}

// A decal with a colour key: its texels of the key colour let the background through, the
// others show the picture. An upload or a shader that drops the key paints the key colour.
TEST_F(Render, ADecalsKeyColourLetsTheBackgroundThrough) {
    // Two texels: black (the default key) on the left, red on the right.
    const std::filesystem::path file = std::filesystem::temp_directory_path() / ("vlx-decal-" + std::to_string(getpid()) + ".bmp");
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, 2, 1, 32, SDL_PIXELFORMAT_ARGB8888);
    static_cast<Uint32*>(picture->pixels)[0] = 0xFF000000u;
    static_cast<Uint32*>(picture->pixels)[1] = 0xFFFF0000u;
    ASSERT_EQ(SDL_SaveBMP(picture, file.c_str()), 0);
    SDL_FreeSurface(picture);
    Ref<IDirect3DRMTexture3> decal;
    ASSERT_EQ(root->LoadTexture(file.c_str(), decal.put()), D3DRM_OK);
    std::filesystem::remove(file);
    // 4 x 4 units hanging right and down from the centre, 10 units away: 51 pixels a side.
    decal->SetDecalScale(TRUE);
    decal->SetDecalSize(4.0f, 4.0f);
    decal->SetDecalTransparency(TRUE);
    Holding(decal.get());
    const Rgb key = Draw(kSize / 2 + 12, kSize / 2 + 25), red = Pixel(kSize / 2 + 38, kSize / 2 + 25);
    EXPECT_TRUE(key.r < 10 && key.g < 10 && key.b > 90) << key.r << " " << key.g << " " << key.b;
    EXPECT_TRUE(red.r > 200 && red.g < 30 && red.b < 30) << red.r << " " << red.g << " " << red.b;
}

TEST_F(Render, APointFullyInsideTheFogShowsTheFogColour) {
    auto square = Square(200, 300);   // far beyond the fog's end, still filling the view
    square->SetColorRGB(1, 1, 1);
    Holding(square.get());
    AddLight(D3DRMLIGHT_AMBIENT, 1, 1, 1);
    scene->SetSceneFogEnable(TRUE);
    scene->SetSceneFogMode(D3DRMFOG_LINEAR);
    scene->SetSceneFogColor(0x00206080);
    scene->SetSceneFogParams(30.0f, 100.0f, 1.0f);
    device->SetDither(FALSE);
    const Rgb c = Draw();
    EXPECT_EQ(c.r, 0x20);
    EXPECT_EQ(c.g, 0x60);
    EXPECT_EQ(c.b, 0x80);
}

TEST_F(Render, EveryOneOfManyLightsLightsTheSurface) {
    auto square = Square(2, 0);
    square->SetColorRGB(1, 1, 1);
    Holding(square.get());
    device->SetDither(FALSE);
    // Eleven dim red lights add up to nearly full red; the twelfth alone gives the blue.
    for (int i = 0; i < 11; ++i) AddLight(D3DRMLIGHT_DIRECTIONAL, 0.09f, 0, 0);
    Ref<IDirect3DRMLight> blue;
    root->CreateLightRGB(D3DRMLIGHT_DIRECTIONAL, 0, 0, 1, blue.put());
    scene->AddLight(blue.get());   // the root looks along +z, onto the square's front
    const Rgb c = Draw();
    EXPECT_GE(c.r, 250);
    EXPECT_EQ(c.b, 255);
}

TEST_F(Render, PhongShadesPerPixelFromTheDeviceOrTheMesh) {
    // Normals leaning apart at the corners: lit dimly there, and fully only where the
    // interpolated normal faces the light, in the middle.
    auto square = Square(3, 0, true);
    square->SetColorRGB(1, 1, 1);
    Holding(square.get());
    AddLight(D3DRMLIGHT_DIRECTIONAL, 1, 1, 1);
    device->SetDither(FALSE);
    const Rgb gouraud = Draw();
    EXPECT_LT(gouraud.r, 130);
    device->SetQuality(D3DRMRENDER_PHONG);
    EXPECT_GT(Draw().r, 240);
    device->SetQuality(D3DRMRENDER_GOURAUD);
    square->SetQuality(D3DRMRENDER_PHONG);
    EXPECT_GT(Draw().r, 240);
    // A mesh set to flat stays flat on a Phong device.
    device->SetQuality(D3DRMRENDER_PHONG);
    square->SetQuality(D3DRMRENDER_FLAT);
    const Rgb middle = Draw();
    EXPECT_EQ(middle.r, Pixel(kSize / 2 - 30, kSize / 2).r);
}

TEST_F(Render, MaterialModesTakeTheColourFromMeshOrFrame) {
    auto square = Square(2, 0);
    square->SetColorRGB(1, 0, 0);
    auto frame = Holding(square.get());
    frame->SetColorRGB(0, 1, 0);
    AddLight(D3DRMLIGHT_AMBIENT, 1, 1, 1);
    device->SetDither(FALSE);
    EXPECT_EQ(Draw().r, 255);   // from the mesh
    frame->SetMaterialMode(D3DRMMATERIAL_FROMFRAME);
    const Rgb c = Draw();
    EXPECT_EQ(c.r, 0);   // the frame's colour
    EXPECT_EQ(c.g, 255);
}

// Frames are drawn straight into the window; the window must still show the last one again
// when nothing new was drawn: after an expose, and at a present with no frame drawn since.
TEST_F(Render, APresentedFrameIsShownAgainByARepaintAndAnEmptyPresent) {
    auto square = Square(2, 0);
    square->SetColorRGB(1, 1, 1);
    Holding(square.get());
    AddLight(D3DRMLIGHT_AMBIENT, 1, 0.5f, 0);
    device->SetDither(FALSE);
    const Rgb drawn = Draw();
    ASSERT_EQ(drawn.r, 255);
    ASSERT_EQ(device->Update(), D3DRM_OK);
    auto near = [&](const Rgb& c) { return std::abs(c.r - drawn.r) <= 2 && std::abs(c.g - drawn.g) <= 2 && std::abs(c.b - drawn.b) <= 2; };
    const Rgb corner = Pixel(2, 2);   // the background around the square
    EXPECT_EQ(corner.b, 102);

    Ref<IDirect3DRMWinDevice> win;
    ASSERT_EQ(device->QueryInterface(IID_IDirect3DRMWinDevice, reinterpret_cast<void**>(win.put())), S_OK);
    ASSERT_EQ(win->HandlePaint(nullptr), D3DRM_OK);
    EXPECT_TRUE(near(Pixel(kSize / 2, kSize / 2)));
    EXPECT_EQ(Pixel(2, 2).b, 102);
    ASSERT_EQ(device->Update(), D3DRM_OK);   // nothing drawn since the last present
    EXPECT_TRUE(near(Pixel(kSize / 2, kSize / 2)));
    ASSERT_EQ(device->Update(), D3DRM_OK);
    EXPECT_TRUE(near(Pixel(kSize / 2, kSize / 2)));
}
