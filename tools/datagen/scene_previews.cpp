// The Scene Box's three pictures (res/main01.bmp ... res/main03.bmp, 96 x 72): each demo
// scene rendered from the installation's own models, textures and backgrounds, placed as
// its scene script places them — the logo on the marble plaza under summer clouds, the
// saucer in the city of lit towers at night, and the toys on the wooden table before the
// rainbow.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "tools/datagen/canvas.h"
#include "tools/datagen/datagen.h"
#include "tools/datagen/models.h"
#include "tools/datagen/raster.h"

namespace {

constexpr int kWidth = 96, kHeight = 72, kDetail = 3;

// A catalogue background stretched over the picture (smoothly, between its pixels).
bool Backdrop(const std::string& folder, const std::string& name, Canvas* canvas) {
    Canvas sky(1, 1);
    if (!Canvas::Load(folder + "/bgr/" + name + ".bmp", &sky)) return false;
    *canvas = Canvas(kWidth * kDetail, kHeight * kDetail);
    canvas->Fill([&](float x, float y) {
        const float sx = std::clamp((x + 0.5f) / static_cast<float>(canvas->Width()) * static_cast<float>(sky.Width()) - 0.5f, 0.0f,
                                    static_cast<float>(sky.Width() - 1));
        const float sy = std::clamp((y + 0.5f) / static_cast<float>(canvas->Height()) * static_cast<float>(sky.Height()) - 0.5f, 0.0f,
                                    static_cast<float>(sky.Height() - 1));
        const int x0 = static_cast<int>(sx), y0 = static_cast<int>(sy);
        const int x1 = std::min(x0 + 1, sky.Width() - 1), y1 = std::min(y0 + 1, sky.Height() - 1);
        const float fx = sx - static_cast<float>(x0), fy = sy - static_cast<float>(y0);
        return Mix(Mix(sky.At(x0, y0), sky.At(x1, y0), fx), Mix(sky.At(x0, y1), sky.At(x1, y1), fx), fy);
    });
    return true;
}

bool Texture(const std::string& folder, const std::string& name, Canvas* texture) {
    return Canvas::Load(folder + "/tex/" + name + ".bmp", texture);
}

// The largest extent of a frame and its children: the show fits frame models to 8 units.
float FrameFit(const XFrame& root) {
    Vec3 lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    auto walk = [&](auto& self, const XFrame& frame, Vec3 offset) -> void {
        offset = offset + frame.offset;
        for (const Vec3& p : frame.mesh.positions) {
            const Vec3 q = p + offset;
            lo = {std::min(lo.x, q.x), std::min(lo.y, q.y), std::min(lo.z, q.z)};
            hi = {std::max(hi.x, q.x), std::max(hi.y, q.y), std::max(hi.z, q.z)};
        }
        for (const XFrame& child : frame.children) self(self, child, offset);
    };
    walk(walk, root, {});
    return 8.0f / std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
}

Look Placed(Vec3 offset, Vec3 scale) {
    Look look;
    look.offset = offset;
    look.scale = scale;
    return look;
}

// Placed in one colour of its own.
Look Placed(Vec3 offset, Vec3 scale, Rgb tint) {
    Look look = Placed(offset, scale);
    look.tint = tint;
    look.tinted = true;
    return look;
}

// A decal picture on black added over the canvas, centred at (x, y), `size` pixels across.
void Decal(Canvas& c, const Canvas& picture, float x, float y, float size) {
    const int half = static_cast<int>(size * 0.5f);
    for (int dy = -half; dy < half; ++dy)
        for (int dx = -half; dx < half; ++dx) {
            const int px = static_cast<int>((static_cast<float>(dx + half) + 0.5f) / size * static_cast<float>(picture.Width()));
            const int py = static_cast<int>((static_cast<float>(dy + half) + 0.5f) / size * static_cast<float>(picture.Height()));
            c.Add(static_cast<int>(x) + dx, static_cast<int>(y) + dy, picture.At(px, py));
        }
}

// A searchlight's beam: light added along a narrow cone from (x, y) towards `angle`
// (radians from straight up, clockwise), fading with distance.
void Beam(Canvas& c, float x, float y, float angle, float spread, float length, Rgb colour) {
    const float ux = std::sin(angle), uy = -std::cos(angle);
    for (int py = 0; py < c.Height(); ++py)
        for (int px = 0; px < c.Width(); ++px) {
            const float dx = static_cast<float>(px) - x, dy = static_cast<float>(py) - y;
            const float along = dx * ux + dy * uy, across = std::fabs(dx * uy - dy * ux);
            if (along <= 0 || along > length) continue;
            const float width = spread * along + 2.0f;
            c.Add(px, py, colour * ((1.0f - along / length) * std::exp(-across * across / (width * width))));
        }
}

// The Virelux world: the turning logo on its marble pedestal and plaza, fir trees, crystals,
// the ringed planet and a bird, under summer clouds.
bool Plaza(const std::string& folder, Canvas* out) {
    Canvas c(1, 1), marble(1, 1);
    if (!Backdrop(folder, "sky03", &c) || !Texture(folder, "marble", &marble)) return false;
    Lighting light{{0.3f, 0.32f, 0.4f}, {{{-0.5f, 1.0f, -0.6f}, {0.75f, 0.72f, 0.65f}}, {{0.4f, 0.3f, -1.0f}, {0.2f, 0.2f, 0.25f}}}};
    Raster r(c, {0, 2, -19}, {0, -0.5f, 12}, 0.8f, light);
    // The plaza's marble in the warm tone of sand.
    Look plaza = Placed({0, -6, 10}, {5, 1, 5}, {0.95f, 0.82f, 0.62f});
    plaza.texture = &marble;
    plaza.repeat = 4;
    plaza.specular = 0.1f;
    r.Draw(models::Ground(), plaza);
    Look pedestal = Placed({0, -4.5f, 10}, {3, 1.5f, 3});
    pedestal.texture = &marble;
    r.Draw(models::Cylinder(), pedestal);
    Look logo = Placed({0, 1, 10}, {4, 4, 4});
    logo.turn = -0.35f;
    logo.specular = 0.6f;
    r.Draw(models::Logo(), logo);
    const XFrame tree = models::Tree();
    const float treeFit = FrameFit(tree);
    Look fir;
    fir.specular = 0.05f;
    for (const auto& [at, size] : {std::pair{Vec3{-18, -6, 22}, 1.2f}, std::pair{Vec3{17, -6, 26}, 1.4f}, std::pair{Vec3{-20, -6, -2}, 1.0f}}) {
        fir.offset = at;
        fir.scale = Vec3{1, 1, 1} * (treeFit * size);
        r.Draw(tree, fir);
    }
    Look crystals;
    crystals.offset = {-11, -6, 6};
    crystals.scale = Vec3{1, 1, 1} * (FrameFit(XFrame{"", {}, models::Crystals(), {}}) * 0.6f);
    crystals.specular = 0.8f;
    r.Draw(models::Crystals(), crystals);
    const XFrame planet = models::Planet(), bird = models::Bird();
    Look ringed;
    ringed.offset = {14, 3, 18};
    ringed.scale = Vec3{1, 1, 1} * (FrameFit(planet) * 0.7f);
    r.Draw(planet, ringed);
    Look flying;
    flying.offset = {9, 7, 4};
    flying.scale = Vec3{1, 1, 1} * (FrameFit(bird) * 0.7f);
    flying.turn = -1.1f;
    flying.tilt = 0.35f;
    r.Draw(bird, flying);
    *out = c.Shrunk(kWidth, kHeight);
    return true;
}

// Ufo city: lit towers round the glowing landing pad and its saucer, searchlights in the
// night sky over the Milky Way.
bool City(const std::string& folder, Canvas* out) {
    Canvas c(1, 1), checker(1, 1), stripes(1, 1);
    if (!Backdrop(folder, "galaxis4", &c) || !Texture(folder, "checker", &checker) || !Texture(folder, "stripes", &stripes)) return false;
    Lighting light{{0.12f, 0.12f, 0.2f}, {{{0.3f, 1.0f, -0.5f}, {0.35f, 0.35f, 0.55f}}, {{-0.6f, 0.2f, -0.6f}, {0.5f, 0.25f, 0.45f}}}};
    Raster r(c, {0, 5, -30}, {0, -0.5f, 4}, 0.75f, light);
    r.Draw(models::Ground(), Placed({0, -6, 0}, {8, 1, 8}, {0.3f, 0.3f, 0.4f}));
    Look pad = Placed({0, -5.8f, 0}, {6, 0.2f, 6}, {0.3f, 0.6f, 0.7f});
    pad.glow = {0.1f, 0.45f, 0.55f};
    r.Draw(models::Cylinder(), pad);
    Look saucer;
    // Drawn a little larger and higher than it rests, so it stands out at this size.
    saucer.offset = {0, -3.6f, 0};
    saucer.scale = {0.3f, 0.3f, 0.3f};
    saucer.specular = 0.9f;
    saucer.turn = 0.4f;
    saucer.glow = {0.2f, 0.2f, 0.25f};
    r.Draw(models::Ufo(), saucer);
    struct Tower {
        Vec3 at, scale;
        Rgb windows;
    };
    const Tower towers[] = {{{-12, 2, 8}, {3, 8, 3}, {1, 0.9f, 0.6f}},
                            {{12, 0, 10}, {3.5f, 6, 3.5f}, {0.7f, 0.85f, 1}},
                            {{-10, -1, -12}, {2.5f, 5, 2.5f}, {1, 0.9f, 0.6f}},
                            {{11, 3, -10}, {2.5f, 9, 2.5f}, {0.9f, 0.7f, 1}}};
    for (const Tower& t : towers) {
        Look tower = Placed(t.at, t.scale, t.windows * 0.25f);
        tower.texture = &checker;
        tower.glow = t.windows * 0.6f;
        tower.turn = 0.25f;
        r.Draw(models::Cube(), tower);
    }
    Look round = Placed({0, 4, 16}, {2.5f, 10, 2.5f}, {0.6f, 0.6f, 0.6f});
    round.texture = &stripes;
    round.glow = {0.35f, 0.35f, 0.35f};
    r.Draw(models::Cylinder(), round);
    // The searchlights from the tall towers' tops.
    float x, y;
    if (r.Project({-12, 10.5f, 8}, &x, &y)) Beam(c, x, y, -0.35f, 0.12f, 200, {0.35f, 0.35f, 0.42f});
    if (r.Project({11, 12.5f, -10}, &x, &y)) Beam(c, x, y, 0.3f, 0.12f, 200, {0.42f, 0.38f, 0.3f});
    // Street lights glowing among the towers.
    const std::pair<Vec3, Rgb> lamps[] = {{{-5, -3, 3}, {1, 0.3f, 0.6f}}, {{6, -3, 2}, {0.3f, 0.6f, 1}}, {{-2, -3, -8}, {1, 0.8f, 0.3f}}};
    for (const auto& [at, colour] : lamps)
        if (r.Project(at, &x, &y)) {
            c.Glow(x, y, 3.0f * kDetail, colour * 0.6f);
            c.Glow(x, y, 1.0f * kDetail, colour);
        }
    *out = c.Shrunk(kWidth, kHeight);
    return true;
}

// The toy box: a marble ball, a striped drum, a checkered cube, a lava ring and a cone of
// water on the wooden table, a bird above and a note and a sparkle in the air, before the rainbow.
bool ToyBox(const std::string& folder, Canvas* out) {
    Canvas c(1, 1), wood(1, 1), marble(1, 1), stripes(1, 1), checker(1, 1), lava(1, 1), water(1, 1), note(1, 1), sparkle(1, 1);
    if (!Backdrop(folder, "sky08", &c) || !Texture(folder, "wood", &wood) || !Texture(folder, "marble", &marble) ||
        !Texture(folder, "stripes", &stripes) || !Texture(folder, "checker", &checker) || !Texture(folder, "lava", &lava) ||
        !Texture(folder, "water", &water) || !Texture(folder, "note", &note) || !Texture(folder, "sparkle", &sparkle))
        return false;
    Lighting light{{0.35f, 0.35f, 0.38f}, {{{-0.5f, 1.0f, -0.7f}, {1.0f, 1.0f, 0.95f}}, {{0.0f, 0.4f, -1.0f}, {0.35f, 0.26f, 0.17f}}}};
    Raster r(c, {0, 4, -14}, {0, -3, 12}, 0.95f, light);
    auto draw = [&r](const Model& m, Vec3 at, Vec3 scale, const Canvas& texture, float tilt = 0, float turn = 0) {
        Look look = Placed(at, scale);
        look.texture = &texture;
        look.tilt = tilt;
        look.turn = turn;
        r.Draw(m, look);
    };
    draw(models::Cube(), {0, -6, 12}, {20, 0.6f, 12}, wood);
    draw(models::Sphere(), {-13, -2.4f, 12}, {3, 3, 3}, marble, 0, 0.5f);
    draw(models::Cylinder(), {-5.5f, -2.4f, 14}, {2.2f, 3, 2.2f}, stripes);
    draw(models::Cube(), {1, -2.6f, 10}, {2.4f, 2.4f, 2.4f}, checker, 0, 0.6f);
    draw(models::Torus(), {8, -1, 14}, {3, 3, 3}, lava, -1.2f, 0.3f);
    draw(models::Cone(), {14, -2.4f, 10}, {2.5f, 3, 2.5f}, water);
    const XFrame bird = models::Bird();
    Look flying;
    flying.offset = {3, 5.5f, 8};
    flying.scale = Vec3{1, 1, 1} * (FrameFit(bird) * 0.8f);
    flying.turn = 2.2f;
    flying.tilt = 0.3f;
    r.Draw(bird, flying);
    float x, y;
    if (r.Project({-9, 6, 16}, &x, &y)) Decal(c, note, x, y, 15.0f * kDetail);
    if (r.Project({10, 6, 12}, &x, &y)) Decal(c, sparkle, x, y, 16.0f * kDetail);
    *out = c.Shrunk(kWidth, kHeight);
    return true;
}

}  // namespace

bool WriteScenePreviews(const std::string& folder) {
    std::filesystem::create_directories(folder + "/res");
    Canvas plaza(1, 1), city(1, 1), toys(1, 1);
    bool ok = Plaza(folder, &plaza) && plaza.Save(folder + "/res/main01.bmp");
    ok &= City(folder, &city) && city.Save(folder + "/res/main02.bmp");
    ok &= ToyBox(folder, &toys) && toys.Save(folder + "/res/main03.bmp");
    return ok;
}
