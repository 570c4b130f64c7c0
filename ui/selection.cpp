// Picking and the selection. The selection keeps plain pointers: the scene graph owns the
// frame, its visual and the marker mesh added to it, and the scene's teardown empties them.
#include "ui/selection.h"

#include "ui/highlight_box.h"

IDirect3DRMFrame3* selectedFrame = nullptr;
IDirect3DRMMeshBuilder3* selectedVisual = nullptr;
IDirect3DRMMesh* highlightBox = nullptr;
BYTE boxEnabled = 0;

void ClearSelection() {
    if (selectedFrame && highlightBox) selectedFrame->DeleteVisual(highlightBox);
    selectedFrame = nullptr;
    selectedVisual = nullptr;
    highlightBox = nullptr;
}

void SetSelection(IDirect3DRMMeshBuilder3* visual, IDirect3DRMFrame3* frame) {
    ClearSelection();
    selectedVisual = visual;
    selectedFrame = frame;
    if (!visual || !frame || !boxEnabled) return;
    D3DRMBOX box;
    if (visual->GetBox(&box) != D3DRM_OK) return;   // no vertices: nothing to frame
    Ref<IDirect3DRMMeshBuilder3> marker = BuildHighlightBox(box);
    Ref<IDirect3DRMMesh> mesh;
    if (!marker || marker->CreateMesh(mesh.put()) != D3DRM_OK) return;
    if (frame->AddVisual(mesh.get()) != D3DRM_OK) return;
    highlightBox = mesh.get();   // the frame holds the marker's only reference from here on
}

void SetSelectBox(BYTE on) {
    boxEnabled = on;
    SetSelection(selectedVisual, selectedFrame);
}

BYTE ToggleSelectBox() {
    SetSelectBox(boxEnabled ? 0 : 1);
    return boxEnabled;
}

void PickAt(IDirect3DRMViewport2* viewport, int x, int y) {
    ClearSelection();
    if (!viewport) return;
    Ref<IDirect3DRMFrame3> camera, root;
    if (viewport->GetCamera(camera.put()) != D3DRM_OK || !camera) return;
    D3DVECTOR eye;
    camera->GetPosition(nullptr, &eye);
    if (camera->GetScene(root.put()) != D3DRM_OK || !root) return;

    // The point under the cursor on the front clipping plane; the ray runs from the camera
    // through it (its direction is left unnormalised).
    const D3DRMVECTOR4D screen{static_cast<D3DVALUE>(x), static_cast<D3DVALUE>(y), 0.0f, 1.0f};
    D3DVECTOR front;
    if (viewport->InverseTransform(&front, &screen) != D3DRM_OK) return;
    D3DRMRAY ray;
    ray.dvDir = D3DVECTOR{front.x - eye.x, front.y - eye.y, front.z - eye.z};
    ray.dvPos = eye;

    Ref<IDirect3DRMPicked2Array> picks;
    if (root->RayPick(nullptr, &ray, 0, picks.put()) != D3DRM_OK || !picks || picks->GetSize() == 0) return;
    Ref<IDirect3DRMVisual> visual;
    Ref<IDirect3DRMFrameArray> path;
    if (picks->GetPick(0, visual.put(), path.put(), nullptr) != D3DRM_OK || !path || path->GetSize() == 0) return;
    // The last frame of the path holds the visual itself: that is the object that moves.
    Ref<IDirect3DRMFrame3> holder, frame;
    path->GetElement(path->GetSize() - 1, holder.put());
    if (!holder || holder->QueryInterface(IID_IDirect3DRMFrame3, reinterpret_cast<void**>(frame.put())) != S_OK)
        return;
    Ref<IDirect3DRMMeshBuilder3> builder;
    if (visual) visual->QueryInterface(IID_IDirect3DRMMeshBuilder3, reinterpret_cast<void**>(builder.put()));
    SetSelection(builder.get(), frame.get());
}
