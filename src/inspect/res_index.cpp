#include "inspect/res_index.h"

#include <cstdio>

#include "text/case_rules.h"
#include "text/cp1251.h"

namespace pagefold {
namespace {

std::string Key(const std::string& type, const std::string& name) {
  return text::UpperAscii(type) + '\0' + text::UpperAscii(name);
}

}  // namespace

std::string ShownResId(const ResId& id) {
  if (const auto cp1251 = id.Cp1251()) return *cp1251;
  std::string shown;
  for (const char16_t c : id.text) {
    if (const auto one = text::Utf16ToCp1251(std::u16string(1, c))) {
      shown += *one;
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
      shown += escape;
    }
  }
  return shown;
}

ResIndex::ResIndex(const ResListing& listing) {
  for (const ResEntry& entry : listing.entries)
    entries_.try_emplace(Key(ShownResId(entry.type), ShownResId(entry.name)), &entry);
}

const ResEntry* ResIndex::Find(const std::string& type, const std::string& name) const {
  const auto found = entries_.find(Key(type, name));
  return found == entries_.end() ? nullptr : found->second;
}

}  // namespace pagefold
