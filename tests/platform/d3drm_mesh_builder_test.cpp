// Mesh builders and meshes: face lists, boxes and transforms, colours on every face, deep
// copies, the geometry of frame hierarchies, and the grouping of a builder into a mesh.
#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <cmath>
#include <vector>

#include "platform/d3drm/d3drm.h"
#include "platform/d3drm/d3drm_test.h"
#include "platform/d3drm/mesh.h"
#include "platform/d3drm/mesh_builder.h"

namespace {

glm::vec3 V(const D3DVECTOR& v) { return glm::vec3(v.x, v.y, v.z); }

// A tube (or cone) along z from 0 to 4 with an octagonal section of radius 1, with the
// face lists the program uses for its selection marker.
struct Tube {
    std::vector<D3DVECTOR> vertices, normals;
    std::vector<DWORD> faces;
};

Tube Octagon(bool cone) {
    Tube t;
    const float c = std::sqrt(2.0f) - 1.0f;
    const glm::vec2 p[8] = {{1, c}, {c, 1}, {-c, 1}, {-1, c}, {-1, -c}, {-c, -1}, {c, -1}, {1, -c}};
    for (int end = 0; end < (cone ? 1 : 2); ++end)
        for (const glm::vec2& q : p) t.vertices.push_back(D3DVECTOR{q.x, q.y, 4.0f * end});
    if (cone) t.vertices.push_back(D3DVECTOR{0, 0, 4});
    for (const glm::vec2& q : p) t.normals.push_back(D3DVECTOR{glm::normalize(q).x, glm::normalize(q).y, 0});
    t.faces = {8, 7, 7, 6, 6, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1, 0, 0};
    for (DWORD i = 0, j = 1; i < 8; ++i, j = (i + 1) % 8)
        cone ? t.faces.insert(t.faces.end(), {3, i, i, j, j, 8, 1})
             : t.faces.insert(t.faces.end(), {4, i, i, j, j, 8 + j, j, 8 + i, i});
    if (!cone) t.faces.insert(t.faces.end(), {8, 8, 0, 9, 1, 10, 2, 11, 3, 12, 4, 13, 5, 14, 6, 15, 7});
    t.faces.push_back(0);
    return t;
}

HRESULT AddTube(IDirect3DRMMeshBuilder3* b, const Tube& t, IDirect3DRMFaceArray** faces = nullptr) {
    return b->AddFaces(static_cast<DWORD>(t.vertices.size()), t.vertices.data(), static_cast<DWORD>(t.normals.size()),
                       t.normals.data(), t.faces.data(), faces);
}

std::vector<Ref<IDirect3DRMFace2>> FacesOf(IDirect3DRMMeshBuilder3* b) {
    Ref<IDirect3DRMFaceArray> array;
    b->GetFaces(array.put());
    std::vector<Ref<IDirect3DRMFace2>> faces(array->GetSize());
    for (DWORD i = 0; i < array->GetSize(); ++i) array->GetElement(i, faces[i].put());
    return faces;
}

class MeshBuilders : public ::testing::Test {
protected:
    void SetUp() override {
        root = d3drmtest::CreateRoot();
        builder = Make();
    }
    Ref<IDirect3DRMMeshBuilder3> Make() {
        Ref<IDirect3DRMMeshBuilder3> b;
        root->CreateMeshBuilder(b.put());
        return b;
    }
    MeshBuilder& B() { return *MeshBuilder::From(builder.get()); }
    D3DRMBOX Box(IDirect3DRMMeshBuilder3* b) {
        D3DRMBOX box{};
        EXPECT_EQ(b->GetBox(&box), D3DRM_OK);
        return box;
    }

    Ref<IDirect3DRM3> root;
    Ref<IDirect3DRMMeshBuilder3> builder;
};

}  // namespace

TEST_F(MeshBuilders, CylinderAndConeFaceListsMakeShapesFacingOutwards) {
    ASSERT_EQ(AddTube(builder.get(), Octagon(false)), D3DRM_OK);
    EXPECT_EQ(builder->GetFaceCount(), 10);
    // Clockwise seen from outside: every plane normal points out of the side or the end.
    for (const auto& face : FacesOf(builder.get())) {
        glm::vec3 middle(0.0f);
        for (DWORD v : Face::From(face.get())->vertices) middle += B().positions[v] / float(face->GetVertexCount());
        D3DVECTOR n;
        ASSERT_EQ(face->GetNormal(&n), D3DRM_OK);
        EXPECT_GT(glm::dot(V(n), middle - glm::vec3(0, 0, 2)), 0.5f);
    }
    // A cone after it: the faces it adds index past the tube's vertices and normals.
    Ref<IDirect3DRMFaceArray> added;
    ASSERT_EQ(AddTube(builder.get(), Octagon(true), added.put()), D3DRM_OK);
    EXPECT_EQ(builder->GetVertexCount(), 25);
    Ref<IDirect3DRMFace2> side;
    added->GetElement(1, side.put());
    EXPECT_EQ(Face::From(side.get())->vertices, (std::vector<DWORD>{16, 17, 24}));
    EXPECT_EQ(Face::From(side.get())->normals, (std::vector<DWORD>{8, 9, 9}));   // the tip uses normal 1
}

TEST_F(MeshBuilders, BoxAndScale) {
    D3DRMBOX box;
    EXPECT_EQ(builder->GetBox(&box), D3DRMERR_BADVALUE);   // no vertices yet
    ASSERT_EQ(AddTube(builder.get(), Octagon(false)), D3DRM_OK);
    box = Box(builder.get());
    EXPECT_FLOAT_EQ(box.min.x, -1.0f);
    EXPECT_FLOAT_EQ(box.max.z, 4.0f);
    const unsigned version = B().version;
    builder->Scale(2.0f, 1.0f, -0.5f);
    EXPECT_NE(B().version, version);   // the renderer must upload it again
    box = Box(builder.get());
    EXPECT_FLOAT_EQ(box.min.x, -2.0f);
    EXPECT_FLOAT_EQ(box.min.z, -2.0f);
    EXPECT_FLOAT_EQ(box.max.z, 0.0f);
    // Normals follow the stretched surface and keep unit length: (c, 1) becomes (c/2, 1).
    for (const glm::vec3& n : B().normals) EXPECT_NEAR(glm::length(n), 1.0f, 1e-5f);
    EXPECT_NEAR(B().normals[1].x / B().normals[1].y, (std::sqrt(2.0f) - 1.0f) / 2.0f, 1e-4f);
}

TEST_F(MeshBuilders, CreateMeshGroupsFacesByColourMaterialAndTexture) {
    ASSERT_EQ(AddTube(builder.get(), Octagon(false)), D3DRM_OK);
    std::vector<Ref<IDirect3DRMFace2>> faces = FacesOf(builder.get());
    faces[0]->SetColor(0xFFFF0000);   // both caps red
    faces[9]->SetColor(0xFFFF0000);
    Ref<IDirect3DRMMaterial2> material;
    root->CreateMaterial(5.0f, material.put());
    Face::From(faces[4].get())->material = material;   // one side with a material
    Ref<IDirect3DRMMesh> mesh;
    ASSERT_EQ(builder->CreateMesh(mesh.put()), D3DRM_OK);
    const Mesh& m = *Mesh::From(mesh.get());
    ASSERT_EQ(m.groups.size(), 3u);   // in the order of first use
    EXPECT_EQ(m.groups[0].color, 0xFFFF0000u);
    EXPECT_EQ(m.groups[0].indices.size(), 2u * 6u * 3u);   // two octagons, six triangles each
    EXPECT_EQ(m.groups[0].vertices.size(), 16u);           // corners with one position and normal share a vertex
    EXPECT_EQ(m.groups[1].indices.size(), 7u * 2u * 3u);
    EXPECT_EQ(m.groups[2].material.get(), material.get());
    EXPECT_EQ(m.groups[2].indices.size(), 2u * 3u);
    // The sides' triangles stay clockwise, their corners carrying the outward normals.
    for (const MeshGroup* g : {&m.groups[1], &m.groups[2]})
        for (size_t i = 0; i < g->indices.size(); i += 3) {
            const MeshVertex &a = g->vertices[g->indices[i]], &b = g->vertices[g->indices[i + 1]],
                             &c = g->vertices[g->indices[i + 2]];
            EXPECT_GT(glm::dot(glm::cross(b.position - a.position, c.position - a.position), a.normal), 0.0f);
        }
}

TEST_F(MeshBuilders, AddFrameGathersAHierarchyInTheFramesCoordinates) {
    Ref<IDirect3DRMFrame3> scene, holder, child;
    root->CreateFrame(nullptr, scene.put());
    root->CreateFrame(scene.get(), holder.put());
    root->CreateFrame(holder.get(), child.put());
    holder->SetPosition(scene.get(), 100.0f, 0.0f, 0.0f);   // the holder's own placement does not count
    child->SetPosition(holder.get(), 0.0f, 10.0f, 0.0f);
    child->AddScale(D3DRMCOMBINE_BEFORE, 2.0f, 2.0f, 2.0f);
    ASSERT_EQ(AddTube(builder.get(), Octagon(true)), D3DRM_OK);   // (-1,-1,0)..(1,1,4), 9 faces, 14 triangles
    holder->AddVisual(builder.get());
    child->AddVisual(builder.get());
    Ref<IDirect3DRMMesh> mesh;
    builder->CreateMesh(mesh.put());
    child->AddVisual(mesh.get());

    auto gathered = Make();
    ASSERT_EQ(gathered->AddFrame(holder.get()), D3DRM_OK);
    EXPECT_EQ(gathered->GetFaceCount(), 9 + 9 + 14);
    const D3DRMBOX box = Box(gathered.get());
    EXPECT_FLOAT_EQ(box.min.x, -2.0f);
    EXPECT_FLOAT_EQ(box.min.y, -1.0f);
    EXPECT_FLOAT_EQ(box.max.y, 12.0f);
    EXPECT_FLOAT_EQ(box.max.z, 8.0f);
}
