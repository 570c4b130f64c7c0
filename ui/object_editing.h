// The "Object treat" menu: cut, copy, paste, delete and recolour the selected object (its
// frame and mesh-builder visual). The clipboard is the program's own: one frame held here,
// never the system clipboard. The menu commands call these only with an object selected.
#pragma once

#include "settings/shared.h"

// The frame of the last Cut or Copy (one reference, attached to no parent); empty at start.
extern Ref<IDirect3DRMFrame3> clipFrame;
// The visual that goes with clipFrame (held by it; empty for a frame cut without one).
extern IDirect3DRMVisual* clipVisual;

// Takes the selected object out of the scene into the clipboard; empties the selection.
void CutSelected();
// Puts a copy of the selected object into the clipboard; the selection stays.
void CopySelected();
// Adds a further copy of the clipboard object under `scene`, placed by its own transform.
void PasteCopied(IDirect3DRMFrame3* scene);
// Removes the selected object from the scene; empties the selection.
void DeleteSelected();
// "Ground color": lets the user recolour every face of the selected mesh builder, starting
// from the colour of its first face (black without faces).
void ColorSelected(HWND window);
// The colour dialog for a D3D colour: true when the user confirmed one (`colour` holds it),
// false when cancelled (`colour` unchanged).
bool ChooseD3DColor(HWND window, D3DCOLOR& colour);
