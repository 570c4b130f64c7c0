// FIXME: stand-ins for the selection's calls until mouse picking lands (see selection_stub.h):
// no marker, only the selection's pointers and the box flag.
#include "ui/selection_stub.h"

IDirect3DRMMeshBuilder3* selectedVisual = nullptr;

namespace {
BYTE boxEnabled = 0;
}

void ClearSelection() {
    selectedFrame = nullptr;
    selectedVisual = nullptr;
}

BYTE ToggleSelectBox() {
    boxEnabled = !boxEnabled;
    return boxEnabled;
}
