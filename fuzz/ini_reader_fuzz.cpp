// The INI reader over any bytes: it must never fail, and every integer it
// reads must be the one its value spells. The first line of the input names
// the section and key to look up ("section/key"); the whole input is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/ini_file.h"

namespace {

// "[blanks][sign]digits[blanks]" as an int; nothing for any other text.
std::optional<int> SpelledInteger(const std::string& value) {
  const size_t first = value.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const std::string s = value.substr(first, value.find_last_not_of(" \t") - first + 1);
  const size_t digits = (s[0] == '-' || s[0] == '+') ? 1 : 0;
  if (digits == s.size() || s.find_first_not_of("0123456789", digits) != std::string::npos) return std::nullopt;
  long long n = 0;
  for (size_t i = digits; i < s.size(); ++i) {
    n = n * 10 + (s[i] - '0');
    if (n > 2147483648LL) return std::nullopt;
  }
  if (s[0] == '-') n = -n;
  if (n > 2147483647LL) return std::nullopt;
  return static_cast<int>(n);
}

void Check(const pagefold::platform::IniFile& ini, const std::string& section, const std::string& key) {
  const std::string missing = "\n";  // lines end at LF: no value holds one
  const std::string value = ini.ReadString(section, key, missing);
  const int read = ini.ReadInteger(section, key, -7);
  if (value == missing) {
    if (read != -7) std::abort();
    return;
  }
  if (value.find('\n') != std::string::npos) std::abort();
  const std::optional<int> spelled = SpelledInteger(value);
  if (read != spelled.value_or(-7)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  const pagefold::platform::IniFile ini("unused.ini", content);
  const std::string first = content.substr(0, content.find('\n'));
  const size_t slash = first.find('/');
  if (slash != std::string::npos) Check(ini, first.substr(0, slash), first.substr(slash + 1));
  Check(ini, "data", "count");
  Check(ini, "data", "search_file_nomber_1");
  return 0;
}
