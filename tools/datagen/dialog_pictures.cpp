// The small pictures of the dialog boxes (res/): the red, green and blue swatches beside the
// colour sliders, the basic shapes of the Objects' Box rendered in 3D, the Background Box's
// previews of six catalogue backgrounds, and the Music Tools Box's signal meter and help icons.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "tools/datagen/canvas.h"
#include "tools/datagen/datagen.h"
#include "tools/datagen/models.h"
#include "tools/datagen/raster.h"
#include "tools/datagen/strokes.h"

namespace {

// The face colour of the dialog boxes: icons that are not square stand on it.
constexpr Rgb kFace{212 / 255.0f, 208 / 255.0f, 200 / 255.0f};
constexpr int kDetail = 3;   // pictures are drawn this many times larger, then shrunk smooth

// A swatch 32 x 12: black on the left rising to the full colour on the right, as the
// slider beside it rises, inside a thin dark frame.
Canvas Swatch(Rgb colour) {
    Canvas c(32, 12);
    c.Fill([&](float x, float y) {
        if (x < 1 || y < 1 || x > 30 || y > 10) return Rgb{0.35f, 0.35f, 0.35f};
        return colour * ((x - 1) / 29.0f);
    });
    return c;
}

// A tile texture for the ground: a light square with darker joints.
Canvas Tile() {
    Canvas c(16, 16);
    c.Fill([](float x, float y) { return x < 1 || y < 1 ? Rgb{0.55f, 0.6f, 0.55f} : Rgb{1, 1, 1}; });
    return c;
}

// A basic shape, 48 x 48, lit warm from the upper left and cool from the right, on a dark
// studio backdrop.
Canvas ShapePicture(const Model& shape, Rgb colour, Vec3 eye, float tilt, float turn, const Canvas* texture = nullptr, float repeat = 1) {
    const int size = 48 * kDetail;
    Canvas c(size, size);
    c.Fill([size](float x, float y) {
        const float dx = x / size - 0.5f, dy = y / size - 0.35f;
        return Mix(Rgb{0.36f, 0.42f, 0.52f}, Rgb{0.08f, 0.09f, 0.14f}, std::min(1.0f, std::sqrt(dx * dx + dy * dy) * 1.5f));
    });
    Lighting light{{0.18f, 0.18f, 0.22f}, {{{-0.6f, 0.9f, -0.7f}, {1.0f, 0.95f, 0.85f}}, {{1.0f, 0.2f, 0.1f}, {0.3f, 0.4f, 0.6f}}}};
    Raster r(c, eye, {0, 0, 0}, 0.62f, light);
    Look look;
    look.tinted = true;
    look.tint = colour;
    look.tilt = tilt;
    look.turn = turn;
    look.texture = texture;
    look.repeat = repeat;
    r.Draw(shape, look);
    return c.Shrunk(48, 48);
}

// A background preview, 64 x 64: the catalogue picture itself, shrunk.
bool Preview(const std::string& folder, const std::string& name) {
    Canvas full(1, 1);
    return Canvas::Load(folder + "/bgr/" + name + ".bmp", &full) && full.Shrunk(64, 64).Save(folder + "/res/" + name + ".bmp");
}

// A round icon, 32 x 32, on the dialog's face: `paint` colours the disc by the position in
// it (-1..1 across), and the disc gets a soft edge and a thin dark rim.
template <class Paint>
Canvas RoundIcon(Paint paint) {
    const int size = 32 * kDetail;
    Canvas c(size, size);
    c.Fill([&](float x, float y) {
        const float u = (x + 0.5f) / size * 2 - 1, v = (y + 0.5f) / size * 2 - 1;
        const float r = std::sqrt(u * u + v * v);
        if (r > 0.97f) return kFace;
        if (r > 0.9f) return Rgb{0.2f, 0.2f, 0.22f};
        return paint(u, v);
    });
    return c;
}

// The signal meter: an oscilloscope screen with a grid and a glowing green trace.
Canvas SigMeterIcon() {
    const int size = 32 * kDetail;
    Mask trace(size, size);
    float px = 0, py = 0;
    for (int i = 0; i <= 60; ++i) {
        const float t = static_cast<float>(i) / 60;
        const float x = (0.12f + 0.76f * t) * size;
        const float y = (0.5f - 0.25f * std::sin(t * 12.6f) * std::sin(t * 3.14159f) - 0.06f * std::sin(t * 41)) * size;
        if (i) trace.Line(px, py, x, y, 2.2f * kDetail * 0.5f);
        px = x;
        py = y;
    }
    const Mask glow = trace.Blurred(3 * kDetail / 2);
    Canvas c = RoundIcon([&](float u, float v) {
        const float gx = std::fabs(std::fmod(u + 1.0f, 0.4f) - 0.2f), gy = std::fabs(std::fmod(v + 1.0f, 0.4f) - 0.2f);
        const bool grid = gx > 0.185f || gy > 0.185f;
        return Rgb{0.02f, 0.08f, 0.05f} + Rgb{0.05f, 0.22f, 0.1f} * (grid ? 1.0f : 0.0f);
    });
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float u = (static_cast<float>(x) + 0.5f) / size * 2 - 1, v = (static_cast<float>(y) + 0.5f) / size * 2 - 1;
            if (u * u + v * v > 0.8f) continue;
            c.At(x, y) = c.At(x, y) + Rgb{0.3f, 1.0f, 0.4f} * (glow.At(x, y) * 0.9f) + Rgb{0.75f, 1.0f, 0.7f} * trace.At(x, y);
        }
    return c.Shrunk(32, 32);
}

// Help: a white question mark on a glossy blue disc.
Canvas HelpIcon() {
    const int size = 32 * kDetail;
    Mask mark(size, size);
    const float height = 0.56f * size;
    mark.Text("?", (size - TextWidth("?", height)) * 0.5f, (size - height) * 0.5f, height, 3.2f * kDetail);
    Canvas c = RoundIcon([](float u, float v) {
        const Rgb base = Mix(Rgb{0.35f, 0.6f, 1.0f}, Rgb{0.05f, 0.2f, 0.6f}, (v + 1) * 0.5f);
        const float gloss = std::exp(-((u + 0.15f) * (u + 0.15f) * 2 + (v + 0.55f) * (v + 0.55f) * 10));
        return base + Rgb{0.5f, 0.55f, 0.6f} * gloss;
    });
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) c.At(x, y) = Mix(c.At(x, y), Rgb{1, 1, 1}, mark.At(x, y));
    return c.Shrunk(32, 32);
}

}  // namespace

bool WriteDialogPictures(const std::string& folder) {
    std::filesystem::create_directories(folder + "/res");
    const std::string res = folder + "/res/";
    bool ok = Swatch({1, 0, 0}).Save(res + "red.bmp");
    ok &= Swatch({0, 1, 0}).Save(res + "green.bmp");
    ok &= Swatch({0, 0, 1}).Save(res + "blue.bmp");

    const Canvas tile = Tile();
    const Vec3 eye{0, 2.2f, -4.6f};
    ok &= ShapePicture(models::Ground(), {0.45f, 0.75f, 0.5f}, {0, 19, -31}, 0, 0.5f, &tile, 10).Save(res + "ground.bmp");
    ok &= ShapePicture(models::Sphere(), {1.0f, 0.35f, 0.25f}, eye, 0, 0).Save(res + "sphere.bmp");
    ok &= ShapePicture(models::Cube(), {0.3f, 0.5f, 1.0f}, eye * 1.15f, 0, 0.6f).Save(res + "cube.bmp");
    ok &= ShapePicture(models::Cylinder(), {1.0f, 0.8f, 0.25f}, eye * 1.15f, 0, 0).Save(res + "cylinder.bmp");
    ok &= ShapePicture(models::Cone(), {0.35f, 0.9f, 0.4f}, eye * 1.15f, 0, 0).Save(res + "cone.bmp");
    ok &= ShapePicture(models::Torus(), {0.75f, 0.45f, 1.0f}, eye * 1.1f, -0.6f, 0).Save(res + "torus.bmp");

    for (const char* name : {"galaxis1", "galaxis2", "galaxis3", "sky01", "sky02", "sky03"}) ok &= Preview(folder, name);

    ok &= SigMeterIcon().Save(res + "sigmeter.bmp");
    ok &= HelpIcon().Save(res + "help.bmp");
    return ok;
}
