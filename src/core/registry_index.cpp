#include "core/registry_index.h"

#include <cstdint>
#include <functional>

#include "core/file_registry.h"
#include "platform/ini_file.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

std::uint32_t HashOf(std::string_view name) {
  // Folds a 64-bit hash to 32 bits; a 32-bit hash is taken as it is.
  const std::uint64_t hash = std::hash<std::string_view>{}(name);
  return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

}  // namespace

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
  size_t places = 16;
  while (places < 2 * names_.size()) places *= 2;
  slots_.assign(places, {});
  // Room for every name at once, so that no buffer is ever held twice while it grows.
  size_t bytes = 0;
  for (const std::string& name : names_) bytes += name.size();
  lowerNames_.reserve(bytes);
  groups_.reserve(names_.size());
  for (int number = 1; number <= Count(); ++number) {
    if (names_[number].empty()) continue;
    const std::string lower = text::LowerCp1251(names_[number]);
    const std::uint32_t hash = HashOf(lower);
    Slot& slot = slots_[PlaceOf(lower, hash)];
    if (slot.group == 0) {
      groups_.push_back({lowerNames_.size(), lower.size(), {}});
      lowerNames_ += lower;
      slot = {hash, static_cast<std::uint32_t>(groups_.size())};
    }
    groups_[slot.group - 1].numbers.push_back(number);
  }
}

size_t RegistryIndex::PlaceOf(std::string_view lowerName, std::uint32_t hash) const {
  const size_t mask = slots_.size() - 1;
  size_t place = hash & mask;
  while (slots_[place].group != 0 &&
         (slots_[place].hash != hash || GroupName(slots_[place].group) != lowerName))
    place = (place + 1) & mask;
  return place;
}

std::string_view RegistryIndex::GroupName(std::uint32_t group) const {
  const Group& named = groups_[group - 1];
  return std::string_view(lowerNames_).substr(named.from, named.size);
}

const std::string& RegistryIndex::Name(int number) const {
  static const std::string kNone;
  return number >= 1 && number <= Count() ? names_[number] : kNone;
}

const std::vector<int>& RegistryIndex::Find(std::string_view lowerName) const {
  static const std::vector<int> kNone;
  if (lowerName.empty()) return kNone;
  const Slot& slot = slots_[PlaceOf(lowerName, HashOf(lowerName))];
  return slot.group == 0 ? kNone : groups_[slot.group - 1].numbers;
}

}  // namespace pagefold
