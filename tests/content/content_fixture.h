// A headless show whose scene holds nothing but what a test loads into it.
#pragma once

#include "content/object_loading.h"
#include "render3d/scene.h"
#include "tests/app/headless_show.h"

class EmptyScene : public HeadlessShow {
protected:
    void SetUp() override {
        HeadlessShow::SetUp();
        withLightObject = 0;   // lamps without models: only loaded objects have geometry
        TearDownScene();
        ASSERT_TRUE(CreateScene(window, ""));
        ResetPlacement();
    }

    // The box of everything in the scene, in scene coordinates.
    static D3DRMBOX SceneBox() {
        Ref<IDirect3DRMMeshBuilder3> measure;
        d3drm->CreateMeshBuilder(measure.put());
        measure->AddFrame(appState->scene.get());
        D3DRMBOX box{};
        EXPECT_EQ(measure->GetBox(&box), D3DRM_OK);
        return box;
    }

    static Ref<IDirect3DRMFace2> FirstFace(IDirect3DRMMeshBuilder3* mb) {
        Ref<IDirect3DRMFaceArray> faces;
        mb->GetFaces(faces.put());
        Ref<IDirect3DRMFace2> face;
        faces->GetElement(0, face.put());
        return face;
    }
};
