// datagen <installation folder>: writes the show's generated data files there.
#include <cstdio>
#include <filesystem>

#include "tools/datagen/datagen.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: datagen <installation folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::filesystem::create_directories(folder);
    bool ok = WriteIcon(folder);
    ok &= WriteModels(folder);
    ok &= WriteFigures(folder);
    ok &= WritePictures(folder);
    ok &= WriteGalaxies(folder);
    ok &= WriteTextures(folder);
    ok &= WriteTune(folder);
    ok &= WriteDialogPictures(folder);
    ok &= WriteScenePreviews(folder);
    ok &= WriteSplash(folder);
    return ok ? 0 : 1;
}
