#include "platform/native_path.h"

#include "text/cp1251.h"

namespace pagefold::platform {

std::optional<std::string> ToNativePath(const std::string& path) { return text::Cp1251ToUtf8(path); }

std::optional<std::string> FromNativeName(const std::string& name) {
  return text::Utf8ToCp1251(name);
}

char NativeSeparator() { return '/'; }

}  // namespace pagefold::platform
