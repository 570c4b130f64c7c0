// Windows-style file names on a Linux file system. Every file the program names goes
// through Resolve:
//   - backslashes become slashes;
//   - an absolute path that exists as given is used as it is;
//   - otherwise a name starting with a slash is taken from the drive root, the parent of
//     the installation folder ("\virelux\bgr\sky01.bmp" is the installation's bgr/sky01.bmp);
//   - a relative name is looked up in the current directory, then in the installation folder;
//   - each path component matches case-insensitively when the exact name is missing.
// No platform call of its own: it stands in for the way Windows finds files by name.
#pragma once

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace fs {

// The folder that holds the executable (its data lives beside it).
const std::string& InstallationFolder();
// Points the installation folder elsewhere (tests stage their own).
void SetInstallationFolder(const std::string& folder);
// The installation folder joined with a relative name, without any lookup.
std::string InstallationPath(std::string_view relative);

// The existing file or folder a name refers to, or nothing.
std::optional<std::string> Resolve(std::string_view name);

// Opens a resolved name; nullptr / a closed stream when it does not exist.
std::FILE* OpenFile(std::string_view name, const char* mode);
std::ifstream OpenInput(std::string_view name, std::ios::openmode mode = std::ios::in);

}  // namespace fs
