// A scene script that a test writes into a file of its own, removed with the object.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

struct ScriptFile {
    explicit ScriptFile(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    ~ScriptFile() { std::filesystem::remove(path); }
    const char* c_str() const { return path.c_str(); }

    inline static int made = 0;
    std::string path = std::filesystem::temp_directory_path() /
                       ("vlx-script-" + std::to_string(getpid()) + "-" + std::to_string(++made) + ".txt");
};
