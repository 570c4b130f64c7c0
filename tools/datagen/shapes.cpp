// The installation's models: the basic shapes of the Objects' box, the lamp and the logo.
// All are our own designs, built from a few generators.
#include <cmath>
#include <filesystem>

#include "tools/datagen/datagen.h"
#include "tools/datagen/geometry.h"
#include "tools/datagen/models.h"
#include "tools/datagen/xwriter.h"

namespace models {

Model Sphere() {
    Model m;
    AddLathe(m, SphereProfile(1.0f, 12), 20);
    return m;
}

Model Cube() {
    Model m;
    AddBox(m, {-1, -1, -1}, {1, 1, 1});
    return m;
}

Model Cylinder() {
    Model m;
    AddLathe(m, {{1, -1, 1, 0}, {1, 1, 1, 0}}, 20);
    AddCap(m, 1, 1, 1, 20);
    AddCap(m, 1, -1, -1, 20);
    return m;
}

Model Cone() {
    Model m;
    // The slanted side's normal leans up by the cone's half angle.
    const float n = 1.0f / std::sqrt(5.0f);
    AddLathe(m, {{1, -1, 2 * n, n}, {0, 1, 2 * n, n}}, 20);
    AddCap(m, 1, -1, -1, 20);
    return m;
}

Model Torus() {
    Model m;
    AddTorus(m, 1.0f, 0.35f, 28, 16, false, {0, 0, 0}, 0);
    return m;
}

// A square floor of 20 x 20 units facing up, in 10 x 10 tiles.
Model Ground() {
    Model m;
    const int tiles = 10;
    const float size = 20.0f;
    for (int i = 0; i < tiles; ++i)
        for (int j = 0; j < tiles; ++j) {
            auto at = [&](int x, int z) {
                const float fx = static_cast<float>(x) / tiles, fz = static_cast<float>(z) / tiles;
                return m.AddVertex({(fx - 0.5f) * size, 0, (fz - 0.5f) * size}, {0, 1, 0}, fx, 1.0f - fz);
            };
            m.AddFace({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)}, {0, 1, 0});
        }
    return m;
}

// The lamp: a shade (an open cone) over a round bulb, hanging from a short stem.
Model Lamp() {
    Model m;
    m.materials = {Colour{0.9f, 0.9f, 0.9f}, Colour{1.0f, 1.0f, 0.85f}};
    const float n = 0.6f;
    AddLathe(m, {{1.2f, -0.4f, n, 0.8f}, {0.3f, 0.6f, n, 0.8f}}, 16, 0);
    AddCap(m, 0.3f, 0.6f, 1, 16, 0);
    AddBox(m, {-0.08f, 0.6f, -0.08f}, {0.08f, 1.6f, 0.08f}, 0);
    std::vector<ProfilePoint> bulb = SphereProfile(0.45f, 8);
    for (ProfilePoint& p : bulb) p.y -= 0.45f;
    AddLathe(m, bulb, 12, 1);
    return m;
}

// The logo: three bars, red, green and blue, rising like a level meter from a ring.
Model Logo() {
    Model m;
    m.materials = {Colour{0.75f, 0.78f, 0.85f}, Colour{1, 0.15f, 0.1f}, Colour{0.2f, 1, 0.25f}, Colour{0.2f, 0.45f, 1}};
    AddBox(m, {-0.75f, -0.3f, -0.15f}, {-0.3f, 0.5f, 0.15f}, 1);
    AddBox(m, {-0.22f, -0.3f, -0.15f}, {0.22f, 0.9f, 0.15f}, 2);
    AddBox(m, {0.3f, -0.3f, -0.15f}, {0.75f, 0.2f, 0.15f}, 3);
    // The ring, standing in the x-y plane around the bars.
    AddTorus(m, 1.1f, 0.08f, 32, 8, true, {0, 0.2f, 0}, 0);
    return m;
}

}  // namespace models

bool WriteModels(const std::string& folder) {
    using namespace models;
    std::filesystem::create_directories(folder + "/xda/bas");
    bool ok = true;
    ok &= WriteXFile(folder + "/xda/vlxlogo.x", "Logo", Logo());
    ok &= WriteXFile(folder + "/xda/bas/light.x", "Lamp", Lamp());
    ok &= WriteXFile(folder + "/xda/bas/ground.x", "Ground", Ground());
    ok &= WriteXFile(folder + "/xda/bas/sphere.x", "Sphere", Sphere());
    ok &= WriteXFile(folder + "/xda/bas/cube.x", "Cube", Cube());
    ok &= WriteXFile(folder + "/xda/bas/cylinder.x", "Cylinder", Cylinder());
    ok &= WriteXFile(folder + "/xda/bas/cone.x", "Cone", Cone());
    ok &= WriteXFile(folder + "/xda/bas/torus.x", "Torus", Torus());
    return ok;
}
