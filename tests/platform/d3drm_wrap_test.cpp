// Texture wraps: texture coordinates from a vertex's place in the wrap's coordinate system.
#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <vector>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/d3drm_test.h"
#include "platform/d3drm/mesh_builder.h"

namespace {

class Wraps : public ::testing::Test {
protected:
    void SetUp() override {
        root = d3drmtest::CreateRoot();
        root->CreateMeshBuilder(builder.put());
    }
    MeshBuilder& Data() { return *MeshBuilder::From(builder.get()); }
    // Adds a face over the given position and normal indices.
    void AddFace(std::vector<DWORD> vertices, std::vector<DWORD> normals) {
        auto face = Ref<IDirect3DRMFace2>::Adopt(new Face(&Data()));
        Face::From(face.get())->vertices = std::move(vertices);
        Face::From(face.get())->normals = std::move(normals);
        Data().faces.push_back(face);
    }
    Ref<IDirect3DRMWrap> Make(D3DRMWRAPTYPE type, glm::vec3 origin, glm::vec3 dir, glm::vec3 up, float ou = 0,
                              float ov = 0, float su = 1, float sv = 1) {
        Ref<IDirect3DRMWrap> wrap;
        EXPECT_EQ(root->CreateWrap(type, nullptr, origin.x, origin.y, origin.z, dir.x, dir.y, dir.z, up.x, up.y, up.z, ou,
                                   ov, su, sv, wrap.put()),
                  D3DRM_OK);
        return wrap;
    }
    glm::vec2 UV(std::size_t vertex) { return Data().texcoords.at(vertex); }

    Ref<IDirect3DRM3> root;
    Ref<IDirect3DRMMeshBuilder3> builder;
};

#define EXPECT_UV(actual, U, V)              \
    do {                                     \
        const glm::vec2 uv_ = (actual);      \
        EXPECT_NEAR(uv_.x, (U), 1e-5f);      \
        EXPECT_NEAR(uv_.y, (V), 1e-5f);      \
    } while (0)

}  // namespace

// The program's flat wrap for a model 4 units high (y from -1 to 3), a texture width of 4
// and height 1: origin (0, 2, 0), direction +y, up +z, origin u 0 and v = minY/h, scale
// u = 4 * 0.25 and v = -1/h. The wrap's x axis is up x direction = -x.
TEST_F(Wraps, FlatProjectsAlongTheDirectionWithScaleAndOrigin) {
    const float h = 4.0f, minY = -1.0f;
    Data().positions = {{1, 3, 2}, {-2, -1, 0.5f}, {-2, 40, 0.5f}, {0, 2, 0}};
    const unsigned before = Data().version;
    ASSERT_EQ(Make(D3DRMWRAP_FLAT, {0, 2, 0}, {0, 1, 0}, {0, 0, 1}, 0.0f, minY / h, 4 * 0.25f, -1.0f / h)
                  ->Apply(builder.get()),
              D3DRM_OK);
    ASSERT_EQ(Data().texcoords.size(), 4u);
    EXPECT_NE(Data().version, before);   // the renderer uploads the new coordinates
    // u = su * x' - ou, v = sv * y' - ov with x' = -(x - 0), y' = z - 0.
    EXPECT_UV(UV(0), 1.0f * -1.0f, -0.25f * 2.0f + 0.25f);
    EXPECT_UV(UV(1), 2.0f, -0.25f * 0.5f + 0.25f);
    EXPECT_UV(UV(2), 2.0f, -0.25f * 0.5f + 0.25f);   // height along the direction plays no part
    EXPECT_UV(UV(3), 0.0f, 0.25f);                   // the wrap's origin
}

TEST_F(Wraps, ChromeMapsEachVertexNormalAsSeenAlongTheDirection) {
    // Normals: facing the viewer (-z), +x, +y, and an unnormalised -z.
    Data().positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {5, 0, 0}, {5, 1, 0}, {5, 0, 1}};
    Data().normals = {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}, {0, 0, -5}};
    AddFace({0, 1, 2}, {0, 1, 2});
    AddFace({3, 2, 1}, {3, 2, 1});   // positions 1 and 2 again, with the same normals
    AddFace({4, 5, 6}, {});          // no normals: the plane's, (0,1,0) x (0,0,1) = +x
    Make(D3DRMWRAP_CHROME, {0, 0, 0}, {0, 0, 1}, {0, 1, 0})->Apply(builder.get());
    EXPECT_UV(UV(0), 0.5f, 0.5f);
    EXPECT_UV(UV(1), 1.0f, 0.5f);
    EXPECT_UV(UV(2), 0.5f, 0.0f);   // a normal turned up shows the picture's top edge
    EXPECT_UV(UV(3), 0.5f, 0.5f);
    for (std::size_t i : {4, 5, 6}) EXPECT_UV(UV(i), 1.0f, 0.5f);
}
