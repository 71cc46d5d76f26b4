// What FilesToStringsList lists for a source folder.
#pragma once

#include <string>
#include <vector>

namespace pagefold::gui {

struct SourceListing {
  // The check list's new items, unticked, in enumeration order.
  std::vector<std::string> names;
  // Status panel 1 after the listing: how many names were left out, or empty
  // when none were, so that no count from an earlier folder stays.
  std::string skippedStatus;
};

SourceListing ListSource(const std::string& folder);

}  // namespace pagefold::gui
