// FIXME: stand-in for the selection's header (ui/selection.h) until mouse picking lands with
// it; menu_commands.cpp and object_editing.cpp include that header as soon as it exists, and
// this file and selection_stub.cpp go.
#pragma once

#include "settings/shared.h"

extern IDirect3DRMMeshBuilder3* selectedVisual;   // nullptr: the selected visual, not owned

// Removes the marker from the selected frame and empties the selection.
void ClearSelection();
// Switches the "Select box" marker on or off; returns the new state.
BYTE ToggleSelectBox();
