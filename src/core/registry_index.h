// The file registry of one build, read once: the name of every file number
// and, for lookups, the numbers under each lower-cased name.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pagefold::platform {
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
  std::span<const int> Find(std::string_view lowerName) const;
  // Find for each of several names, into found (as long as the names). They
  // are looked up side by side, so that they wait on memory together rather
  // than each in turn.
  void FindEach(std::span<const std::string_view> lowerNames, std::span<std::span<const int>> found) const;

 private:
  // One place of the open-addressed lookup table: the hash of a lower-cased
  // name and where its record begins in records_, counted from 1; 0 marks a
  // free place.
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t record = 0;
  };

  void BuildLookup();
  // The place that holds the name, or the free place where it would go.
  size_t PlaceOf(std::string_view lowerName, std::uint32_t hash) const;
  std::span<const int> FindHashed(std::string_view lowerName, std::uint32_t hash) const;
  std::string_view RecordName(std::uint32_t record) const;
  std::span<const int> RecordNumbers(std::uint32_t record) const;

  std::vector<std::string> names_;  // index 0 unused
  // For each lower-cased name, side by side so that a lookup reads one place:
  // the count of its entries, its length in bytes, the entries' numbers, and
  // its bytes, packed into ints.
  std::vector<int> records_;
  std::vector<Slot> slots_;  // a power of two long, at most half full
};

}  // namespace pagefold
