// The file registry of one build, read once: the name of every file number
// and, for lookups, the numbers under each lower-cased name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class IniFile;
}

namespace pagefold {

class RegistryIndex {
 public:
  // Reads the count and the names of entries 1 to count (see file_registry.h).
  explicit RegistryIndex(const platform::IniFile& registry);
  // The names of entries 1, 2, ... in this order.
  explicit RegistryIndex(std::vector<std::string> names);

  int Count() const { return static_cast<int>(names_.size()) - 1; }
  // The name of entry N; empty for a number outside 1 to Count().
  const std::string& Name(int number) const;
  // The numbers, ascending, of the entries whose name lower-cased by the
  // Windows-1251 letter pairs equals the given lower-cased name; empty when
  // there is none. Empty names are never found.
  const std::vector<int>& Find(std::string_view lowerName) const;

 private:
  // One place of the open-addressed lookup table: the hash of a lower-cased
  // name and its group, counted from 1; group 0 marks a free place.
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t group = 0;
  };

  void BuildLookup();
  // The place that holds the name, or the free place where it would go.
  size_t PlaceOf(std::string_view lowerName, std::uint32_t hash) const;
  std::string_view GroupName(std::uint32_t group) const;

  std::vector<std::string> names_;  // index 0 unused
  // The entries that share a lower-cased name: where that name stands in
  // lowerNames_, and their numbers.
  struct Group {
    size_t from;
    size_t size;
    std::vector<int> numbers;
  };

  std::vector<Group> groups_;
  std::string lowerNames_;
  std::vector<Slot> slots_;  // a power of two long, at most half full
};

}  // namespace pagefold
