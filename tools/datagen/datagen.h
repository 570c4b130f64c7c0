// The generators of the installation data. Each writes its files below `folder` and
// returns false (with a line on stderr) when it cannot.
#pragma once

#include <string>

bool WriteIcon(const std::string& folder);
