// The generators of the installation data. Each writes its files below `folder` and
// returns false (with a line on stderr) when it cannot.
#pragma once

#include <string>

bool WriteIcon(const std::string& folder);
bool WriteModels(const std::string& folder);     // xda/vlxlogo.x, xda/bas/*.x
bool WritePictures(const std::string& folder);   // bgr/bgnd.bmp
bool WriteTune(const std::string& folder);       // demo.mid
