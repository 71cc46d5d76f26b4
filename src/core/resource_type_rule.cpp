#include "core/resource_type_rule.h"

#include "core/name_conversion.h"

namespace pagefold {
namespace {

bool IsTypeCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

bool IsPlainResourceType(const std::string& groupType) {
  const std::string type = Translit(groupType);
  if (type.empty()) return false;
  for (const char c : type)
    if (!IsTypeCharacter(c)) return false;
  return true;
}

}  // namespace pagefold
