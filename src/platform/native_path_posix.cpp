#include "platform/native_path.h"

#include <algorithm>

#include "text/cp1251.h"

namespace platform {

std::optional<std::string> ToNativePath(const std::string& path) {
  auto utf8 = text::Cp1251ToUtf8(path);
  if (utf8) std::replace(utf8->begin(), utf8->end(), '\\', '/');
  return utf8;
}

std::optional<std::string> FromNativeName(const std::string& name) {
  return text::Utf8ToCp1251(name);
}

char NativeSeparator() { return '/'; }

}  // namespace platform
