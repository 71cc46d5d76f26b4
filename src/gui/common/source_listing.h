// What FilesToStringsList lists for a source folder.
#pragma once

#include <string>
#include <vector>

namespace pagefold::gui {

struct SourceListing {
  // The check list's new items, unticked, in enumeration order.
  std::vector<std::string> names;
  // For status panel 1 when some names were left out; empty otherwise, and
  // the panel is then left as it is.
  std::string skippedStatus;
};

SourceListing ListSource(const std::string& folder);

}  // namespace pagefold::gui
