// The resource script that the compiler turns into the resource file.
#pragma once

#include <string>

#include "core/string_list.h"

namespace pagefold {

// False for a path that a quoted script field cannot carry: a double quote
// would end the field early, a byte below 32 (a line break) would start a new
// statement.
bool FitsInQuotes(const std::string& path);

// Writes the resource script: one "NAME TYPE "path"" line per listed file
// that has an extension, or every listed file when the files are grouped
// under one type. Raises "Cannot create file "%s". %s", and refuses
// a path holding a double quote or a byte below 32. Returns the bytes written.
std::string WriteRcScript(const std::string& groupType, const std::string& scriptPath, const StringList& list);

}  // namespace pagefold
