#include "gui/common/source_listing.h"

#include "core/find_files.h"
#include "gui/common/window_texts.h"

namespace pagefold::gui {

SourceListing ListSource(const std::string& folder) {
  SourceFiles files = ListSourceFiles(folder);
  SourceListing listing{std::move(files.names), {}};
  if (files.skipped > 0) listing.skippedStatus = texts::kSkippedNames + std::to_string(files.skipped);
  return listing;
}

}  // namespace pagefold::gui
