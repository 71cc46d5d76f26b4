#include "platform/native_path.h"

#include "text/cp1251.h"

namespace pagefold::platform {

// Paths are converted by the program's own Windows-1251 table and handed to
// the wide-character calls, never through the ANSI code page: on a Russian
// system that is what the ANSI calls do inside, and on a system set to another
// code page the same files are still reached.
std::optional<NativeString> ToNativePath(const std::string& path) {
  const auto utf16 = text::Cp1251ToUtf16(path);
  if (!utf16) return std::nullopt;
  return NativeString(utf16->begin(), utf16->end());
}

std::optional<std::string> FromNativeName(const NativeString& name) {
  return text::Utf16ToCp1251(std::u16string(name.begin(), name.end()));
}

char NativeSeparator() { return '\\'; }

}  // namespace pagefold::platform
