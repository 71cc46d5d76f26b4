// Where pagefold-rc writes a .res before renaming it into place: beside the
// target, named after it with ".tmp" added, or ".tmp1" to ".tmp99" when the
// names before are taken. The build that ends a compiler removes what it left.
#pragma once

#include <string>

namespace pagefold::resformat {

constexpr int kTemporaryAttempts = 100;

inline std::string TemporaryResPath(const std::string& target, int attempt) {
  return target + ".tmp" + (attempt ? std::to_string(attempt) : "");
}

}  // namespace pagefold::resformat
