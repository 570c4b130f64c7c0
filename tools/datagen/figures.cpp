// The figures of the shipped scenes: a flying saucer, a bird that beats its wings, a fish
// that beats its tail, an atom with circling electrons, a tree, a ringed planet, a star,
// a note, crystals and a loudspeaker. Our own designs, built from the generators of
// geometry.h. Flying models face +z (the way a flight turns them) and are about 40 units
// across: a follow flight shows them at a twentieth of that, a flock at a fifth.
#include <cmath>
#include <filesystem>

#include "tools/datagen/datagen.h"
#include "tools/datagen/geometry.h"
#include "tools/datagen/models.h"
#include "tools/datagen/xwriter.h"

namespace models {

constexpr float kDegree = kPi / 180.0f;

// A sphere of `radius` at `centre`, stretched by `stretch`.
void AddBall(Model& m, Vec3 centre, float radius, Vec3 stretch, int rings, int segments, int material) {
    const size_t first = m.positions.size();
    AddLathe(m, SphereProfile(radius, rings), segments, material);
    Stretch(m, first, stretch);
    TurnAndMove(m, first, 1, 0, centre);
}

// The flying saucer: a silver hull on a dark underside, a glass dome, a red band round the
// rim and a ring of yellow and red lights below it.
Model Ufo() {
    Model m;
    m.materials = {Colour{0.78f, 0.8f, 0.88f}, Colour{0.3f, 0.3f, 0.42f}, Colour{0.35f, 0.85f, 1.0f},
                   Colour{1.0f, 0.85f, 0.2f}, Colour{1.0f, 0.2f, 0.25f}};
    const int segments = 24;
    AddLathe(m, SmoothProfile({{0, -4}, {7, -4}, {14, -2.4f}, {20, -0.4f}}), segments, 1);
    AddLathe(m, {{20, -0.4f, 1, 0}, {20, 0.4f, 1, 0}}, segments, 4);
    AddLathe(m, SmoothProfile({{20, 0.4f}, {13, 2.6f}, {7, 3.4f}}), segments, 0);
    std::vector<std::pair<float, float>> dome;
    for (int i = 0; i <= 5; ++i) {
        const float a = 90.0f * kDegree * static_cast<float>(i) / 5.0f;
        dome.push_back({i == 5 ? 0.0f : 7.0f * std::cos(a), 3.4f + 6.0f * std::sin(a)});
    }
    AddLathe(m, SmoothProfile(dome), segments, 2);
    for (int i = 0; i < 12; ++i) {
        const float a = 2 * kPi * static_cast<float>(i) / 12.0f;
        const Vec3 c{15.5f * std::cos(a), -2.2f, 15.5f * std::sin(a)};
        AddBox(m, c - Vec3{0.7f, 0.7f, 0.7f}, c + Vec3{0.7f, 0.7f, 0.7f}, i % 2 ? 4 : 3);
    }
    // An antenna with a red tip on the dome.
    AddBox(m, {-0.2f, 9.3f, -0.2f}, {0.2f, 12.0f, 0.2f}, 0);
    AddBall(m, {0, 12.3f, 0}, 0.6f, {1, 1, 1}, 4, 8, 4);
    return m;
}

// One wing of the bird, reaching out along +x from its shoulder at the frame's origin (for
// the left wing, `side` -1 mirrors it). An inner part and a darker tip.
Model Wing(float side) {
    Model m;
    m.materials = {Colour{0.25f, 0.38f, 0.75f}, Colour{0.1f, 0.15f, 0.35f}};
    auto outline = [side](std::vector<std::pair<float, float>> xz) {
        std::vector<Vec3> corners;
        for (const auto& [x, z] : xz) corners.push_back({side * x, 0, z});
        return corners;
    };
    AddSheet(m, outline({{0, 3}, {6, 4}, {10, 3.4f}, {10, -4.4f}, {4, -4}, {0, -2.5f}}), {0, 1, 0}, 0);
    AddSheet(m, outline({{10, 3.4f}, {14, 1.8f}, {18, -1}, {15, -3}, {10, -4.4f}}), {0, 1, 0}, 1);
    return m;
}

// The bird: a body with head, eyes, beak and tail in the root frame, and two wings as child
// frames at the shoulders, beaten by the animation set "Flap".
XFrame Bird() {
    XFrame bird{"Vogel", {}, {}, {}};
    Model& m = bird.mesh;
    m.materials = {Colour{0.15f, 0.22f, 0.5f}, Colour{1.0f, 0.6f, 0.1f}, Colour{0.05f, 0.05f, 0.05f}, Colour{0.95f, 0.95f, 0.9f}};
    size_t first = m.positions.size();
    AddBall(m, {}, 1, {2.2f, 7.0f, 2.4f}, 8, 12, 0);
    TurnAndMove(m, first, 0, 90 * kDegree, {});   // the body's long axis from y to z
    AddBall(m, {0, 1.2f, 7.5f}, 2.3f, {1, 1, 1}, 6, 12, 0);
    AddBall(m, {0, -0.6f, 1.5f}, 1.9f, {1, 1, 2.4f}, 6, 10, 3);   // a pale breast
    for (const float x : {-1.6f, 1.6f}) AddBall(m, {x, 2.1f, 8.7f}, 0.45f, {1, 1, 1}, 4, 6, 2);
    first = m.positions.size();
    AddLathe(m, SmoothProfile({{0, 0}, {0.9f, 0}, {0, 2.8f}}), 8, 1);
    TurnAndMove(m, first, 0, 90 * kDegree, {0, 0.9f, 9.3f});   // the beak points forward
    AddSheet(m, {{0, 0.3f, -5.5f}, {3.5f, 0.3f, -11}, {0, 0.3f, -9}, {-3.5f, 0.3f, -11}}, {0, 1, 0}, 0);
    bird.children.push_back(XFrame{"LeftWing", {-1.8f, 0.8f, 1.0f}, Wing(-1), {}});
    bird.children.push_back(XFrame{"RightWing", {1.8f, 0.8f, 1.0f}, Wing(1), {}});
    return bird;
}

// The wing beat: both tips up, a quick stroke down, and slowly up again; one beat takes
// 3 units of the animation clock (30 rendered frames). Turning about +z lowers +x, so the
// right wing rises by a negative angle and the left one by a positive one.
XAnimationSet Flap() {
    XAnimationSet set{"Flap", {}};
    for (const auto& [frame, side] : {std::pair{"LeftWing", -1.0f}, std::pair{"RightWing", 1.0f}})
        set.animations.push_back(XAnimation{
            frame, {{0, {0, 0, 1}, -side * 40 * kDegree}, {10, {0, 0, 1}, side * 30 * kDegree}, {30, {0, 0, 1}, -side * 40 * kDegree}}});
    return set;
}

// The fish: an orange body with two white bands, fins and eyes; its tail is a child frame
// that the animation set "Swim" swings from side to side.
XFrame Fish() {
    XFrame fish{"Fish", {}, {}, {}};
    Model& m = fish.mesh;
    m.materials = {Colour{1.0f, 0.45f, 0.08f}, Colour{1.0f, 1.0f, 1.0f}, Colour{0.05f, 0.05f, 0.05f}, Colour{1.0f, 0.7f, 0.2f}};
    size_t first = m.positions.size();
    AddBall(m, {}, 1, {1.4f, 8.0f, 3.2f}, 10, 14, 0);
    TurnAndMove(m, first, 0, 90 * kDegree, {});   // long along z, tall along y
    for (const float z : {3.0f, -2.5f}) {
        const float r = std::sqrt(1.0f - (z / 8.0f) * (z / 8.0f));
        first = m.positions.size();
        AddTorus(m, 1.0f, 0.1f, 12, 3, true, {}, 1);
        Stretch(m, first, {1.45f * r, 3.25f * r, 1.0f});
        TurnAndMove(m, first, 1, 0, {0, 0, z});
    }
    for (const float x : {-1.05f, 1.05f}) AddBall(m, {x, 0.9f, 5.6f}, 0.5f, {1, 1, 1}, 4, 6, 2);
    AddSheet(m, {{0, 2.8f, 3}, {0, 5.2f, -1.5f}, {0, 2.6f, -4.5f}}, {1, 0, 0}, 3);                 // back fin
    AddSheet(m, {{1.2f, -0.8f, 2.5f}, {3.2f, -2.2f, 0.5f}, {1.2f, -1.6f, 0.8f}}, {0, 1, 0}, 3);     // side fins
    AddSheet(m, {{-1.2f, -0.8f, 2.5f}, {-3.2f, -2.2f, 0.5f}, {-1.2f, -1.6f, 0.8f}}, {0, 1, 0}, 3);
    XFrame tail{"Tail", {0, 0, -7.4f}, {}, {}};
    tail.mesh.materials = {Colour{1.0f, 0.7f, 0.2f}};
    AddSheet(tail.mesh, {{0, 0, 0.6f}, {0, 4.5f, -4.5f}, {0, 0, -2.5f}}, {1, 0, 0}, 0);
    AddSheet(tail.mesh, {{0, 0, 0.6f}, {0, 0, -2.5f}, {0, -4.5f, -4.5f}}, {1, 0, 0}, 0);
    fish.children.push_back(std::move(tail));
    return fish;
}

XAnimationSet Swim() {
    return {"Swim", {XAnimation{"Tail", {{0, {0, 1, 0}, 28 * kDegree}, {8, {0, 1, 0}, -28 * kDegree}, {16, {0, 1, 0}, 28 * kDegree}}}}};
}

// The atom: a nucleus of four balls and three electrons, each on its own tilted orbit ring
// in a child frame that the animation set "Orbit" turns about the ring's axis.
XFrame Atom() {
    XFrame atom{"Atom", {}, {}, {}};
    atom.mesh.materials = {Colour{1.0f, 0.25f, 0.2f}, Colour{0.3f, 0.5f, 1.0f}};
    const Vec3 balls[] = {{0.9f, 0.6f, 0}, {-0.9f, 0.6f, 0}, {0, -0.7f, 0.8f}, {0, -0.2f, -1.0f}};
    for (int i = 0; i < 4; ++i) AddBall(atom.mesh, balls[i], 1.3f, {1, 1, 1}, 5, 8, i % 2);
    const float tilts[] = {0, 60 * kDegree, -60 * kDegree};
    for (int i = 0; i < 3; ++i) {
        XFrame orbit{"Orbit" + std::to_string(i + 1), {}, {}, {}};
        Model& m = orbit.mesh;
        m.materials = {Colour{0.7f, 0.75f, 0.9f}, Colour{0.3f, 1.0f, 0.5f}};
        AddTorus(m, 8.0f, 0.12f, 24, 3, false, {}, 0);
        AddBall(m, {8.0f, 0, 0}, 0.8f, {1, 1, 1}, 5, 6, 1);
        TurnAndMove(m, 0, 0, tilts[i], {});
        atom.children.push_back(std::move(orbit));
    }
    return atom;
}

// A full turn of every orbit in 60 ticks (6 units of the clock), each about its own axis.
XAnimationSet Orbit() {
    XAnimationSet set{"Orbit", {}};
    const float tilts[] = {0, 60 * kDegree, -60 * kDegree};
    for (int i = 0; i < 3; ++i) {
        const Vec3 axis{0, std::cos(tilts[i]), std::sin(tilts[i])};
        XAnimation a{"Orbit" + std::to_string(i + 1), {}};
        for (int k = 0; k <= 3; ++k) a.turns.push_back({k * 20, axis, (i == 1 ? -1.0f : 1.0f) * 120 * kDegree * static_cast<float>(k)});
        set.animations.push_back(a);
    }
    return set;
}

// A fir tree: a trunk, and a crown of three cones in a child frame.
XFrame Tree() {
    XFrame tree{"Tree", {}, {}, {}};
    tree.mesh.materials = {Colour{0.45f, 0.28f, 0.12f}};
    AddLathe(tree.mesh, {{0.9f, 0, 1, 0}, {0.7f, 5, 1, 0}}, 10, 0);
    AddCap(tree.mesh, 0.9f, 0, -1, 10, 0);
    XFrame crown{"Crown", {0, 4, 0}, {}, {}};
    crown.mesh.materials = {Colour{0.1f, 0.55f, 0.2f}, Colour{0.15f, 0.7f, 0.25f}};
    const float radii[] = {5, 4, 3}, bottoms[] = {0, 3.5f, 6.5f};
    for (int i = 0; i < 3; ++i) {
        AddLathe(crown.mesh, SmoothProfile({{radii[i], bottoms[i]}, {0, bottoms[i] + 5.5f}}), 14, i % 2);
        AddCap(crown.mesh, radii[i], bottoms[i], -1, 14, 0);
    }
    tree.children.push_back(std::move(crown));
    return tree;
}

// A ringed planet: a banded sphere, and its rings in a tilted child frame.
XFrame Planet() {
    XFrame planet{"Planet", {}, {}, {}};
    Model& m = planet.mesh;
    m.materials = {Colour{0.95f, 0.8f, 0.5f}, Colour{0.8f, 0.55f, 0.3f}};
    // Bands: each ring of latitude its own strip, alternating colours.
    const std::vector<ProfilePoint> sphere = SphereProfile(5.0f, 12);
    for (size_t i = 0; i + 1 < sphere.size(); ++i) AddLathe(m, {sphere[i], sphere[i + 1]}, 20, i % 3 == 1 ? 1 : 0);
    XFrame rings{"Rings", {}, {}, {}};
    rings.mesh.materials = {Colour{0.9f, 0.85f, 0.7f}, Colour{0.6f, 0.55f, 0.45f}};
    const float edges[] = {6.5f, 8.5f, 9.0f, 11.0f};
    for (int band = 0; band < 3; band += 2)
        for (int s = 0; s < 30; ++s) {
            const float a = 2 * kPi * static_cast<float>(s) / 30, b = 2 * kPi * static_cast<float>(s + 1) / 30;
            const float r0 = edges[band], r1 = edges[band + 1];
            AddSheet(rings.mesh,
                     {{r0 * std::cos(a), 0, r0 * std::sin(a)}, {r1 * std::cos(a), 0, r1 * std::sin(a)},
                      {r1 * std::cos(b), 0, r1 * std::sin(b)}, {r0 * std::cos(b), 0, r0 * std::sin(b)}},
                     {0, 1, 0}, band / 2);
        }
    TurnAndMove(rings.mesh, 0, 0, -22 * kDegree, {});
    TurnAndMove(rings.mesh, 0, 2, 12 * kDegree, {});
    planet.children.push_back(std::move(rings));
    return planet;
}

// A five-pointed star with faceted faces rising to a point in front and behind.
Model Star() {
    Model m;
    m.materials = {Colour{1.0f, 0.85f, 0.25f}};
    std::vector<Vec3> outline;
    for (int i = 0; i < 10; ++i) {
        const float a = kPi / 2 + kPi * static_cast<float>(i) / 5, r = i % 2 ? 2.0f : 5.0f;
        outline.push_back({r * std::cos(a), r * std::sin(a), 0});
    }
    for (const float side : {-1.5f, 1.5f})
        for (int i = 0; i < 10; ++i) AddFacet(m, {0, 0, side}, outline[i], outline[(i + 1) % 10], {0, 0, 0}, 0);
    return m;
}

// An eighth note: a tilted head, a stem and a curved flag.
Model Note() {
    Model m;
    m.materials = {Colour{0.95f, 0.95f, 1.0f}};
    const size_t first = m.positions.size();
    AddBall(m, {}, 1.0f, {1.45f, 1.0f, 1.0f}, 8, 12, 0);
    TurnAndMove(m, first, 2, 25 * kDegree, {0, 0, 0});
    AddBox(m, {1.05f, 0.2f, -0.18f}, {1.4f, 6.2f, 0.18f}, 0);
    // The flag: quads between an upper and a lower curve, from the stem's top outwards.
    const Vec3 upper[] = {{1.4f, 6.2f, 0}, {2.3f, 5.4f, 0}, {3.0f, 4.3f, 0}, {3.2f, 3.2f, 0}, {2.8f, 2.2f, 0}};
    const Vec3 lower[] = {{1.4f, 5.0f, 0}, {2.1f, 4.3f, 0}, {2.6f, 3.5f, 0}, {2.7f, 2.8f, 0}, {2.8f, 2.2f, 0}};
    for (int i = 0; i < 4; ++i) {
        std::vector<Vec3> quad{upper[i], upper[i + 1], lower[i + 1], lower[i]};
        if (i == 3) quad = {upper[3], upper[4], lower[3]};
        AddPrism(m, quad, 0.3f, 0);
    }
    return m;
}

// A cluster of three six-sided crystals, each a pointed column with flat facets.
Model Crystals() {
    Model m;
    m.materials = {Colour{0.7f, 0.9f, 1.0f}, Colour{0.85f, 0.6f, 1.0f}};
    struct Column {
        Vec3 base;
        float radius, height, lean;
    };
    const Column columns[] = {{{0, 0, 0}, 1.6f, 9, 0}, {{2.0f, 0, 0.5f}, 1.1f, 6, -25 * kDegree}, {{-1.8f, 0, -0.4f}, 1.0f, 5, 28 * kDegree}};
    for (int c = 0; c < 3; ++c) {
        const size_t first = m.positions.size();
        const Column& col = columns[c];
        const Vec3 top{0, col.height, 0}, bottom{0, -1.0f, 0};
        const float shoulder = col.height - 2.2f * col.radius;
        for (int i = 0; i < 6; ++i) {
            const float a = kPi * static_cast<float>(i) / 3, b = kPi * static_cast<float>(i + 1) / 3;
            const Vec3 pa{col.radius * std::cos(a), 0, col.radius * std::sin(a)}, pb{col.radius * std::cos(b), 0, col.radius * std::sin(b)};
            const Vec3 qa = pa + Vec3{0, shoulder, 0}, qb = pb + Vec3{0, shoulder, 0};
            const Vec3 axis{0, shoulder / 2, 0};
            AddFacet(m, pa, pb, qb, axis, c % 2);
            AddFacet(m, pa, qb, qa, axis, c % 2);
            AddFacet(m, qa, qb, top, axis, c % 2);
            AddFacet(m, pa, pb, bottom, axis, c % 2);
        }
        TurnAndMove(m, first, 2, col.lean, col.base);
    }
    return m;
}

// A loudspeaker: a dark cabinet with a woofer and a tweeter on its front (-z).
Model Speaker() {
    Model m;
    m.materials = {Colour{0.18f, 0.18f, 0.2f}, Colour{0.55f, 0.55f, 0.6f}, Colour{0.85f, 0.85f, 0.9f}};
    AddBox(m, {-3, -5, -2.5f}, {3, 5, 2.5f}, 0);
    // The cones are turned so that their profile's +y faces the front, and bulge out of it.
    for (const auto& [y, r] : {std::pair{-1.6f, 2.4f}, std::pair{3.0f, 1.1f}}) {
        const size_t first = m.positions.size();
        AddLathe(m, SmoothProfile({{r, 0}, {r * 0.35f, 0.2f * r}}), 18, 1);
        std::vector<std::pair<float, float>> cap;
        for (int i = 0; i <= 3; ++i) {
            const float a = 90.0f * kDegree * static_cast<float>(i) / 3.0f;
            cap.push_back({i == 3 ? 0.0f : r * 0.35f * std::cos(a), 0.2f * r + r * 0.25f * std::sin(a)});
        }
        AddLathe(m, SmoothProfile(cap), 18, 2);
        TurnAndMove(m, first, 0, -90 * kDegree, {0, y, -2.55f});
    }
    return m;
}

}  // namespace models

bool WriteFigures(const std::string& folder) {
    using namespace models;
    std::filesystem::create_directories(folder + "/xda");
    const std::string xda = folder + "/xda/";
    bool ok = true;
    ok &= WriteXFile(xda + "ufo.x", "Ufo", Ufo());
    ok &= WriteXFile(xda + "vogel1.x", Bird(), {Flap()});
    ok &= WriteXFile(xda + "fish.x", Fish(), {Swim()});
    ok &= WriteXFile(xda + "atom.x", Atom(), {Orbit()});
    ok &= WriteXFile(xda + "tree.x", Tree());
    ok &= WriteXFile(xda + "planet.x", Planet());
    ok &= WriteXFile(xda + "star.x", "Star", Star());
    ok &= WriteXFile(xda + "note.x", "Note", Note());
    ok &= WriteXFile(xda + "crystal.x", "Crystals", Crystals());
    ok &= WriteXFile(xda + "speaker.x", "Speaker", Speaker());
    return ok;
}
