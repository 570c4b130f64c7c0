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

    // The newest child frame of the scene: what the last load made.
    static Ref<IDirect3DRMFrame3> Loaded() {
        Ref<IDirect3DRMFrameArray> children;
        appState->scene->GetChildren(children.put());
        Ref<IDirect3DRMFrame3> last;
        children->GetElement(children->GetSize() - 1, last.put());
        return last;
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

    // The first visual of a frame, as the interface asked for.
    template <class T>
    static Ref<T> FirstVisual(IDirect3DRMFrame3* frame, REFIID iid) {
        IUnknown* visual = nullptr;
        DWORD count = 1;
        frame->GetVisuals(&count, &visual);
        Ref<T> typed;
        if (visual) {
            visual->QueryInterface(iid, reinterpret_cast<void**>(typed.put()));
            visual->Release();
        }
        return typed;
    }
};
