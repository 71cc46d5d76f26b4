#include "core/size_text.h"

#include <cstdint>
#include <limits>

#include "platform/platform_error.h"

namespace pagefold {
namespace {

// The step of the size text: every unit but bytes, largest first.
struct SizeUnit {
  std::int64_t bytes;
  const char* name;
};
constexpr SizeUnit kUnits[] = {{1024 * 1024 * 1024, "gb "}, {1024 * 1024, "mg "}, {1024, "kb "}};

std::int64_t ParseDigits(const std::string& digits) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  for (char c : digits) {
    const int digit = c - '0';
    if (value > (kMax - digit) / 10)
      throw platform::PlatformError("'" + digits + "' is not a valid integer value");
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace

std::string SizeToText(const std::string& size) {
  if (size.empty()) return "";
  std::string digits;
  for (char c : size)
    if (c >= '0' && c <= '9') digits += c;
  std::int64_t value = ParseDigits(digits);
  std::string out;
  for (const SizeUnit& unit : kUnits) {
    if (value < unit.bytes) continue;
    out += std::to_string(value / unit.bytes) + unit.name;
    value %= unit.bytes;
  }
  return out + std::to_string(value) + "b";
}

}  // namespace pagefold
