// The selection: the object the mouse picked (its frame and mesh builder), and the green
// marker that shows it while "Select box" is on. The keyboard and the object editing act on it.
#pragma once

#include "settings/shared.h"

extern BYTE boxEnabled;   // 0: the selected object shows the marker ("Select box")

// Replaces the selection with the object under client point (x, y) of the viewport, or
// empties it when the ray from the camera through that point meets nothing.
void PickAt(IDirect3DRMViewport2* viewport, int x, int y);
// Makes the pair the selection; with boxEnabled and a mesh builder, adds a fresh marker.
void SetSelection(IDirect3DRMMeshBuilder3* visual, IDirect3DRMFrame3* frame);
// Takes the marker off the selected frame and empties the selection.
void ClearSelection();
// Sets boxEnabled and selects the current pair again, so the marker shows or goes at once.
void SetSelectBox(BYTE on);
// Turns "Select box" over; the new boxEnabled (the menu ticks its entry with it).
BYTE ToggleSelectBox();
