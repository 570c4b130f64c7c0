// Materials, textures, wraps and decals of loaded objects.
#include "content/textures.h"
#include "tests/content/content_fixture.h"

using Surfaces = EmptyScene;

namespace {

Ref<IDirect3DRMMeshBuilder3> Cube() {
    Ref<IDirect3DRMMeshBuilder3> mb;
    d3drm->CreateMeshBuilder(mb.put());
    EXPECT_EQ(mb->Load("xda\\bas\\cube.x", nullptr, D3DRMLOAD_FROMFILE, nullptr, nullptr), D3DRM_OK);
    return mb;
}

}  // namespace

TEST_F(Surfaces, EachWrapUsesItsKindOriginAndScale) {
    struct Case {
        int wrap;
        D3DRMWRAPTYPE kind;
        D3DVALUE originY, scaleU;
    };
    const D3DVALUE width = 4.0f, height = 3.0f;
    const Case cases[] = {{1, D3DRMWRAP_FLAT, 2.0f, width * 0.25f},
                          {2, D3DRMWRAP_SPHERE, 0.0f, width},
                          {3, D3DRMWRAP_CYLINDER, 0.0f, width},
                          {4, D3DRMWRAP_CHROME, 0.0f, width},
                          {7, D3DRMWRAP_CHROME, 0.0f, width}};
    for (const Case& c : cases) {
        Ref<IDirect3DRMMeshBuilder3> applied = Cube(), expected = Cube();
        ASSERT_TRUE(ApplyTextureWrap(applied.get(), c.wrap, width, height));
        // The cube spans y from -1 to 1: h = 2.
        Ref<IDirect3DRMWrap> wrap;
        ASSERT_EQ(d3drm->CreateWrap(c.kind, nullptr, 0, c.originY, 0, 0, 1, 0, 0, 0, 1, 0, -1.0f / 2.0f, c.scaleU,
                                    -height / 2.0f, wrap.put()),
                  D3DRM_OK);
        wrap->Apply(expected.get());
        for (DWORD i = 0; i < static_cast<DWORD>(applied->GetVertexCount()); ++i) {
            D3DVALUE u1, v1, u2, v2;
            applied->GetTextureCoordinates(i, &u1, &v1);
            expected->GetTextureCoordinates(i, &u2, &v2);
            EXPECT_FLOAT_EQ(u1, u2) << "wrap " << c.wrap << " vertex " << i;
            EXPECT_FLOAT_EQ(v1, v2) << "wrap " << c.wrap << " vertex " << i;
        }
    }
}

TEST_F(Surfaces, AMeshTextureIsTransparentWhenAskedAndADecalTakesThePlacement) {
    SetPlacement(0.0f, 0.0f, 0.0f, 0, 0, 0, 1, 1, 1, 0, 1, 0, 0);
    Ref<IDirect3DRMMeshBuilder3> mb = Cube();
    ASSERT_TRUE(ApplyMeshTexture("bgr\\bgnd.bmp", mb.get(), 1, 4.0f, 3.0f));
    Ref<IDirect3DRMTexture3> texture;
    ASSERT_EQ(FirstFace(mb.get())->GetTexture(texture.put()), D3DRM_OK);
    EXPECT_EQ(texture->GetDecalTransparency(), TRUE);
    EXPECT_EQ(texture->GetDecalTransparentColor() & 0xFFFFFF, 0u);
    D3DVALUE w, h;
    texture->GetDecalSize(&w, &h);
    EXPECT_FLOAT_EQ(w, 4.0f);
    EXPECT_FALSE(ApplyMeshTexture("bgr\\missing.bmp", mb.get(), 0, 1, 1));
    ASSERT_EQ(win32test::RecordedMessageBoxes().size(), 1u);
    EXPECT_EQ(win32test::RecordedMessageBoxes()[0].text, "Failed to load image.bmp");

    // A decal without a size is zero by zero, scaled, at the placement, and leaves it as it was.
    SetPlacement(0, 0, 0, 1, 2, 3, 1, 1, 1, 0, 1, 0, 0);
    ASSERT_TRUE(AddImageDecal("bgr\\bgnd.bmp", 0, 0.0f, 0.0f));
    Ref<IDirect3DRMFrame3> frame = LastChild();
    Ref<IDirect3DRMTexture3> decal = FirstVisual<IDirect3DRMTexture3>(frame.get(), IID_IDirect3DRMTexture3);
    ASSERT_TRUE(decal);
    decal->GetDecalSize(&w, &h);
    EXPECT_EQ(w, 0.0f);
    EXPECT_EQ(h, 0.0f);
    EXPECT_EQ(decal->GetDecalScale(), static_cast<DWORD>(TRUE));
    D3DVECTOR p;
    frame->GetPosition(appState->scene.get(), &p);
    EXPECT_FLOAT_EQ(p.y, 2.0f);
    EXPECT_EQ(placement.position.y, 2.0f);
}
