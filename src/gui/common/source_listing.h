// What FilesToStringsList lists for a source folder.
#pragma once

#include <string>
#include <vector>

#include "core/build_host.h"
#include "core/missing_files.h"

namespace pagefold::gui {

struct SourceListing {
  // The check list's new items, unticked, in enumeration order.
  std::vector<std::string> names;
  // Status panel 1 after the listing: how many names were left out and how
  // many links out of the folder, or empty when none were, so that no count
  // from an earlier folder stays.
  std::string skippedStatus;
  // The files left out, for the build to name; and whether the user asked
  // for the links out of the folder to be listed and packed.
  std::vector<MissingFile> leftOut;
  bool followLinks = false;
};

// Lists the folder while the window handles its events (WorkBetweenEvents).
// When links lead out of it, asks once (OK/Cancel) through the window whether
// to list what they lead to as well, unless the window is closing.
SourceListing ListSource(const std::string& folder, BuildHost& window);

}  // namespace pagefold::gui
