// The short (8.3) form of a path, which has no blanks.
#pragma once

#include <string>

namespace pagefold::platform {

// The short form of an existing path; where the system has no short names
// (POSIX), the path unchanged.
std::string ShortPath(const std::string& path);

}  // namespace pagefold::platform
