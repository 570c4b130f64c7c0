// Saving a picture with a palette of 256 colours chosen for it, as an 8-bit .bmp.
#pragma once

#include <string>

#include "tools/datagen/canvas.h"

// Chooses the 256 colours by median cut and writes every pixel as the nearest of them;
// false (with a line on stderr) when the file cannot be written.
bool SaveWith256Colours(const Canvas& canvas, const std::string& path);
