// Internal to platform/d3drm: parsing the bytes of a .x file with assimp, in a child process
// that runs under a memory and a time limit.
#pragma once

#include <memory>
#include <string>

namespace Assimp {
class Importer;
}

// The importer holding the parsed scene of `bytes` (a whole .x file), or null when the parser
// rejected the file, crashed, went past a limit or no child process could be started. The
// answers for the last few files are kept, and so are the files that failed: the same content
// is not parsed twice.
std::unique_ptr<Assimp::Importer> ParseXFileBytes(const std::string& bytes);
