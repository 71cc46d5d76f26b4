#include "core/registry_index.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>

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

size_t IntsFor(size_t bytes) { return (bytes + sizeof(int) - 1) / sizeof(int); }

// The entries grouped by their lower-cased names, in the order first met.
struct NameGroups {
  explicit NameGroups(const std::vector<std::string>& names) : ends(names.size()), group(names.size()) {
    for (size_t number = 1; number < names.size(); ++number) {
      lower += names[number];
      ends[number] = lower.size();
    }
    text::LowerCp1251InPlace(lower);
    std::unordered_map<std::string_view, std::uint32_t> groupOf;
    groupOf.reserve(names.size());
    for (size_t number = 1; number < names.size(); ++number) {
      if (names[number].empty()) continue;
      const auto [it, added] =
          groupOf.try_emplace(LowerName(static_cast<int>(number)), static_cast<std::uint32_t>(first.size()));
      if (added) {
        first.push_back(static_cast<int>(number));
        count.push_back(0);
      }
      group[number] = it->second;
      ++count[it->second];
    }
  }

  std::string_view LowerName(int number) const {
    const size_t n = static_cast<size_t>(number);
    return std::string_view(lower).substr(ends[n - 1], ends[n] - ends[n - 1]);
  }

  std::string lower;                  // every name lower-cased, side by side
  std::vector<size_t> ends;           // where the name of each entry ends in `lower`
  std::vector<std::uint32_t> group;   // of each entry
  std::vector<int> first, count;      // of each group: its first entry, its entries
};

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
  const NameGroups groups(names_);
  size_t ints = 0;
  for (size_t g = 0; g < groups.first.size(); ++g)
    ints += 2 + groups.count[g] + IntsFor(groups.LowerName(groups.first[g]).size());
  records_.reserve(ints);
  std::vector<std::uint32_t> recordOf;
  for (size_t g = 0; g < groups.first.size(); ++g) {
    const std::string_view name = groups.LowerName(groups.first[g]);
    recordOf.push_back(static_cast<std::uint32_t>(records_.size() + 1));
    records_.push_back(groups.count[g]);
    records_.push_back(static_cast<int>(name.size()));
    records_.resize(records_.size() + static_cast<size_t>(groups.count[g]) + IntsFor(name.size()));
    std::memcpy(records_.data() + recordOf.back() + 1 + groups.count[g], name.data(), name.size());
  }
  // The numbers, ascending within each record.
  std::vector<int> filled(groups.first.size());
  for (int number = 1; number <= Count(); ++number) {
    if (names_[number].empty()) continue;
    const std::uint32_t g = groups.group[number];
    records_[recordOf[g] + 1 + static_cast<size_t>(filled[g]++)] = number;
  }
  size_t places = 16;
  while (places < 2 * groups.first.size()) places *= 2;
  slots_.assign(places, {});
  for (size_t g = 0; g < groups.first.size(); ++g) {
    const std::string_view name = groups.LowerName(groups.first[g]);
    const std::uint32_t hash = HashOf(name);
    slots_[PlaceOf(name, hash)] = {hash, recordOf[g]};
  }
}

size_t RegistryIndex::PlaceOf(std::string_view lowerName, std::uint32_t hash) const {
  const size_t mask = slots_.size() - 1;
  size_t place = hash & mask;
  while (slots_[place].record != 0 &&
         (slots_[place].hash != hash || RecordName(slots_[place].record) != lowerName))
    place = (place + 1) & mask;
  return place;
}

std::span<const int> RegistryIndex::RecordNumbers(std::uint32_t record) const {
  return std::span<const int>(records_).subspan(record + 1, static_cast<size_t>(records_[record - 1]));
}

std::string_view RegistryIndex::RecordName(std::uint32_t record) const {
  const size_t count = static_cast<size_t>(records_[record - 1]);
  const char* bytes = reinterpret_cast<const char*>(records_.data() + record + 1 + count);
  return std::string_view(bytes, static_cast<size_t>(records_[record]));
}

const std::string& RegistryIndex::Name(int number) const {
  static const std::string kNone;
  return number >= 1 && number <= Count() ? names_[number] : kNone;
}

std::span<const int> RegistryIndex::Find(std::string_view lowerName) const {
  return FindHashed(lowerName, HashOf(lowerName));
}

std::span<const int> RegistryIndex::FindHashed(std::string_view lowerName, std::uint32_t hash) const {
  if (lowerName.empty()) return {};
  const Slot& slot = slots_[PlaceOf(lowerName, hash)];
  return slot.record == 0 ? std::span<const int>() : RecordNumbers(slot.record);
}

void RegistryIndex::FindEach(std::span<const std::string_view> lowerNames,
                             std::span<std::span<const int>> found) const {
  constexpr size_t kTogether = 16;
  const size_t mask = slots_.size() - 1;
  std::array<std::uint32_t, kTogether> hashes;
  for (size_t from = 0; from < lowerNames.size(); from += kTogether) {
    const size_t count = std::min(kTogether, lowerNames.size() - from);
    // Each pass fetches what the next one reads: the names' first places,
    // the records these hold, then the look-ups themselves.
    for (size_t k = 0; k < count; ++k) {
      hashes[k] = HashOf(lowerNames[from + k]);
      __builtin_prefetch(&slots_[hashes[k] & mask]);
    }
    for (size_t k = 0; k < count; ++k) {
      const Slot& first = slots_[hashes[k] & mask];
      if (first.record == 0) continue;
      // A record may reach into the next line.
      __builtin_prefetch(&records_[first.record - 1]);
      __builtin_prefetch(&records_[std::min<size_t>(first.record + 15, records_.size() - 1)]);
    }
    for (size_t k = 0; k < count; ++k) found[from + k] = FindHashed(lowerNames[from + k], hashes[k]);
  }
}

}  // namespace pagefold
