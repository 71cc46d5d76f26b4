#include "platform/folder_listing.h"

#include <algorithm>

#include "text/case_rules.h"

namespace pagefold::platform {

// The keys are computed once per entry rather than at every comparison.
void SortByName(std::vector<FolderEntry>& entries) {
  std::vector<std::pair<std::string, FolderEntry>> keyed;
  keyed.reserve(entries.size());
  for (auto& e : entries) keyed.emplace_back(text::LowerCp1251(e.name), std::move(e));
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
  });
  entries.clear();
  for (auto& k : keyed) entries.push_back(std::move(k.second));
}

}  // namespace pagefold::platform
