#include "core/registry_index.h"

#include "core/file_registry.h"
#include "platform/ini_file.h"
#include "text/case_rules.h"

namespace pagefold {

RegistryIndex::RegistryIndex(const platform::IniFile& registry) : names_(1) {
  const int count = registry.ReadInteger(kRegistrySection, kRegistryCount, 0);
  for (int number = 1; number <= count; ++number)
    names_.push_back(registry.ReadString(kRegistrySection, StagedName(number), ""));
  BuildLookup();
}

RegistryIndex::RegistryIndex(std::vector<std::string> names) : names_(1) {
  names_.insert(names_.end(), std::make_move_iterator(names.begin()),
                std::make_move_iterator(names.end()));
  BuildLookup();
}

void RegistryIndex::BuildLookup() {
  for (int number = 1; number <= Count(); ++number)
    if (!names_[number].empty()) byLowerName_[text::LowerCp1251(names_[number])].push_back(number);
}

const std::string& RegistryIndex::Name(int number) const {
  static const std::string kNone;
  return number >= 1 && number <= Count() ? names_[number] : kNone;
}

const std::vector<int>& RegistryIndex::Find(const std::string& lowerName) const {
  static const std::vector<int> kNone;
  const auto it = byLowerName_.find(lowerName);
  return it == byLowerName_.end() ? kNone : it->second;
}

}  // namespace pagefold
