// The generators of the installation data. Each writes its files below `folder` and
// returns false (with a line on stderr) when it cannot.
#pragma once

#include <string>

bool WriteIcon(const std::string& folder);
bool WriteModels(const std::string& folder);     // xda/vlxlogo.x, xda/bas/*.x
bool WriteFigures(const std::string& folder);    // xda/ufo.x, xda/vogel1.x and the other scene models
bool WritePictures(const std::string& folder);   // bgr/bgnd.bmp, bgr/sky01.bmp ... bgr/sky09.bmp
bool WriteGalaxies(const std::string& folder);   // bgr/galaxis1.bmp ... bgr/galaxis5.bmp
bool WriteTextures(const std::string& folder);   // tex/*.bmp
bool WriteTune(const std::string& folder);       // demo.mid
// The dialogs' pictures under res/; the previews read the backgrounds and textures above back.
bool WriteDialogPictures(const std::string& folder);   // swatches, shapes, background previews, icons
bool WriteScenePreviews(const std::string& folder);    // res/main01.bmp ... res/main03.bmp
bool WriteSplash(const std::string& folder);           // res/splash.bmp, 256 colours
