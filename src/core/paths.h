// Joining the program's paths: absolute folders are in the platform's form,
// relative names use "\" between folders on every OS.
#pragma once

#include <string>

namespace pagefold {

// The folder, one platform separator (unless it already ends with one) and
// the relative name with its "\" turned into the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& relative);

}  // namespace pagefold
