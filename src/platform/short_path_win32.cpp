#include <windows.h>

#include "platform/native_path.h"
#include "platform/short_path.h"

namespace pagefold::platform {

// The path unchanged when the system gives no short form (a missing path, or
// a volume without 8.3 names).
std::string ShortPath(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return path;
  const DWORD length = ::GetShortPathNameW(native->c_str(), nullptr, 0);
  if (length == 0) return path;
  std::wstring shortPath(length, L'\0');
  const DWORD written = ::GetShortPathNameW(native->c_str(), shortPath.data(), length);
  if (written == 0 || written >= length) return path;
  shortPath.resize(written);
  return FromNativeName(shortPath).value_or(path);
}

}  // namespace pagefold::platform
