// Internal to platform/d3drm: parsing the bytes of a .x file in the parser program (a process
// of its own, under a memory and a time limit).
#pragma once

#include <optional>
#include <string>

#include "platform/d3drm/xfile_data.h"

// The parsed scene of `bytes` (a whole .x file), or nullopt when the parser rejected the
// file, crashed, went past a limit, gave an answer that does not decode or could not be
// started. The answers for the last few files are kept, and so are the files that failed:
// the same content is not parsed twice.
std::optional<XFileScene> ParseXFileBytes(const std::string& bytes);
