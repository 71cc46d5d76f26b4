// The resource script that the compiler turns into the resource file.
#pragma once

#include <string>

#include "core/string_list.h"

namespace pagefold {

// Writes the resource script: one "NAME TYPE "path"" line per listed file
// that has an extension. Raises "Cannot create file "%s". %s", and refuses
// a path holding a double quote or a byte below 32.
void WriteRcScript(const std::string& groupType, const std::string& scriptPath, const StringList& list);

}  // namespace pagefold
