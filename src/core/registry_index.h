// The file registry of one build, read once: the name of every file number
// and, for lookups, the numbers under each lower-cased name.
#pragma once

#include <string>
#include <unordered_map>
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
  const std::vector<int>& Find(const std::string& lowerName) const;

 private:
  void BuildLookup();

  std::vector<std::string> names_;  // index 0 unused
  std::unordered_map<std::string, std::vector<int>> byLowerName_;
};

}  // namespace pagefold
