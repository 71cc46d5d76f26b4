#include "core/paths.h"

#include "platform/native_path.h"

namespace pagefold {

std::string JoinPath(const std::string& folder, const std::string& relative) {
  const char sep = platform::NativeSeparator();
  std::string path = folder;
  if (path.empty() || (path.back() != sep && path.back() != '\\')) path += sep;
  for (char c : relative) path += c == '\\' ? sep : c;
  return path;
}

}  // namespace pagefold
