// Cut, copy, paste, delete and "Ground color" on the selected object, and the colour dialog
// for D3D colours. The clipboard frame is the only reference kept here; the selection's
// pointers are not owned.
#include "ui/object_editing.h"

#include <vector>

// FIXME: the selection's header arrives with mouse picking; until then the stand-in's.
#include "ui/selection.h"

Ref<IDirect3DRMFrame3> clipFrame;
IDirect3DRMVisual* clipVisual = nullptr;

namespace {

// Takes `frame` off its parent, if it has one.
void Detach(IDirect3DRMFrame3* frame) {
    Ref<IDirect3DRMFrame3> parent;
    if (frame->GetParent(parent.put()) == D3DRM_OK && parent) parent->DeleteChild(frame);
}

// Takes every visual off `frame`. The engine's frame copy shares the visuals of the frame it
// was copied from (the selection marker included); an object copy carries a copy of its own
// visual instead, so that it draws it once and a recolour of one object leaves the other alone.
void DropVisuals(IDirect3DRMFrame3* frame) {
    DWORD count = 0;
    if (frame->GetVisuals(&count, nullptr) != D3DRM_OK || count == 0) return;
    std::vector<IUnknown*> visuals(count, nullptr);
    if (frame->GetVisuals(&count, visuals.data()) != D3DRM_OK) return;
    for (DWORD i = 0; i < count; ++i) {
        if (!visuals[i]) continue;
        frame->DeleteVisual(visuals[i]);
        visuals[i]->Release();
    }
}

// A copy of the object `frame` with `visual`, attached to no parent; `visualCopy` receives
// the visual it carries (not owned: the frame holds it). Without a visual the frame is copied
// alone, keeping whatever it shows. Empty when a copy fails.
Ref<IDirect3DRMFrame3> CopyObject(IDirect3DRMFrame3* frame, IDirect3DRMVisual* visual, IDirect3DRMVisual** visualCopy) {
    *visualCopy = nullptr;
    Ref<IDirect3DRMFrame3> copy;
    if (frame->Clone(nullptr, IID_IDirect3DRMFrame3, reinterpret_cast<void**>(copy.put())) != D3DRM_OK || !copy)
        return {};
    Detach(copy.get());
    if (!visual) return copy;
    Ref<IDirect3DRMVisual> ownVisual;
    if (visual->Clone(nullptr, IID_IDirect3DRMVisual, reinterpret_cast<void**>(ownVisual.put())) != D3DRM_OK ||
        !ownVisual)
        return {};
    DropVisuals(copy.get());
    if (copy->AddVisual(ownVisual.get()) != D3DRM_OK) return {};
    *visualCopy = ownVisual.get();
    return copy;
}

}  // namespace

void CutSelected() {
    if (!selectedFrame) return;
    clipFrame.reset();
    IDirect3DRMFrame3* frame = selectedFrame;
    IDirect3DRMVisual* visual = selectedVisual;
    ClearSelection();   // takes the marker off first: it stays out of the clipboard
    clipFrame = Ref<IDirect3DRMFrame3>::Share(frame);
    clipVisual = visual;
    // Gone from the scene; alive in the clipboard with its visual and its own transform.
    Detach(frame);
}

void CopySelected() {
    if (!selectedFrame) return;
    clipFrame.reset();
    clipVisual = nullptr;
    IDirect3DRMVisual* copiedVisual = nullptr;
    clipFrame = CopyObject(selectedFrame, selectedVisual, &copiedVisual);
    clipVisual = copiedVisual;
}

void PasteCopied(IDirect3DRMFrame3* scene) {
    if (!clipFrame || !scene) return;
    IDirect3DRMVisual* visual = nullptr;
    Ref<IDirect3DRMFrame3> frame = CopyObject(clipFrame.get(), clipVisual, &visual);
    if (frame) scene->AddChild(frame.get());
}

void DeleteSelected() {
    IDirect3DRMFrame3* frame = selectedFrame;
    if (!frame) return;
    ClearSelection();
    // The frame and its visuals go with the parent's reference, unless the clipboard or a
    // flight still holds them.
    Detach(frame);
}

void ColorSelected(HWND window) {
    if (!selectedFrame || !selectedVisual) return;
    Ref<IDirect3DRMMeshBuilder3> mesh;
    if (selectedVisual->QueryInterface(IID_IDirect3DRMMeshBuilder3, reinterpret_cast<void**>(mesh.put())) != S_OK ||
        !mesh)
        return;
    D3DCOLOR colour = D3DRMCreateColorRGB(0.0f, 0.0f, 0.0f);
    if (mesh->GetFaceCount() > 0) {
        Ref<IDirect3DRMFaceArray> faces;
        Ref<IDirect3DRMFace2> first;
        if (mesh->GetFaces(faces.put()) == D3DRM_OK && faces && faces->GetElement(0, first.put()) == D3DRM_OK && first)
            colour = first->GetColor();
    }
    if (ChooseD3DColor(window, colour)) mesh->SetColor(colour);
}

bool ChooseD3DColor(HWND window, D3DCOLOR& colour) {
    // Custom colours are not remembered: all white for every opening.
    COLORREF custom[16];
    for (COLORREF& c : custom) c = 0x00ffffff;
    const int red = static_cast<int>(D3DRMColorGetRed(colour) * 255.0);
    const int green = static_cast<int>(D3DRMColorGetGreen(colour) * 255.0);
    const int blue = static_cast<int>(D3DRMColorGetBlue(colour) * 255.0);

    CHOOSECOLORA choice;
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = window;
    choice.rgbResult = static_cast<COLORREF>(red | (green << 8) | (blue << 16));
    choice.lpCustColors = custom;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choice)) return false;

    constexpr float k = 0.003921569f;   // 1/255
    colour = D3DRMCreateColorRGB(GetRValue(choice.rgbResult) * k, GetGValue(choice.rgbResult) * k,
                                 GetBValue(choice.rgbResult) * k);
    return true;
}
