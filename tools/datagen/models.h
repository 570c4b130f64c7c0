// The installation's models built in memory, for the files that hold them and for the
// pictures that show them. Flying models face +z; the basic shapes are 2 units across.
#pragma once

#include "tools/datagen/xwriter.h"

namespace models {

Model Sphere();
Model Cube();
Model Cylinder();
Model Cone();
Model Torus();
Model Ground();   // 20 x 20 units facing up
Model Lamp();
Model Logo();     // three bars, red, green and blue, in a ring

Model Ufo();
XFrame Bird();    // the wings are child frames
XFrame Fish();
XFrame Atom();
XFrame Tree();
XFrame Planet();
Model Star();
Model Note();
Model Crystals();
Model Speaker();

}  // namespace models
