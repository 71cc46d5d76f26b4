#include "platform/own_resources.h"

#include <map>

#include "text/case_rules.h"

namespace pagefold::platform {
namespace {

// Keyed by upper-cased type and name. A function's static, so that it exists
// before the first registration, whichever static runs first.
std::map<std::pair<std::string, std::string>, ResourceBytes>& Registry() {
  static std::map<std::pair<std::string, std::string>, ResourceBytes> registry;
  return registry;
}

}  // namespace

bool RegisterOwnResource(const std::string& type, const std::string& name, ResourceBytes bytes) {
  Registry()[{text::UpperAscii(type), text::UpperAscii(name)}] = bytes;
  return true;
}

std::optional<ResourceBytes> FindOwnResource(const std::string& type, const std::string& name) {
  const auto found = Registry().find({text::UpperAscii(type), text::UpperAscii(name)});
  if (found == Registry().end()) return std::nullopt;
  return found->second;
}

}  // namespace pagefold::platform
