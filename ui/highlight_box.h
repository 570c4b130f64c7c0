// The selection marker's geometry: the twelve edges of an object's bounding box and an arrow
// along its z axis, as green tubes of octagonal cross section.
#pragma once

#include "settings/shared.h"

constexpr int kTubeCylinder = 1;   // AddTube: a cylinder from A to B
constexpr int kTubeCone = 2;       // AddTube: a cone with its base at A and its tip at B

// A new mesh builder holding the green marker for `box` (min and max corners); empty when the
// engine could not make one.
Ref<IDirect3DRMMeshBuilder3> BuildHighlightBox(const D3DRMBOX& box);
// Adds a tube of radius `radius` from `a` to `b` to `builder`: kTubeCylinder (10 faces) or
// kTubeCone (9 faces); any other kind adds nothing.
void AddTube(int kind, IDirect3DRMMeshBuilder3* builder, D3DVALUE radius, const D3DVECTOR& a, const D3DVECTOR& b);
