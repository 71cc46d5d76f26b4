#include "gui/common/source_listing.h"

#include <algorithm>

#include "core/find_files.h"
#include "gui/common/window_texts.h"
#include "gui/common/work_between_events.h"

namespace pagefold::gui {
namespace {

size_t LinksOut(const std::vector<MissingFile>& leftOut) {
  return static_cast<size_t>(std::count_if(leftOut.begin(), leftOut.end(), [](const MissingFile& file) {
    return file.reason == MissingReason::OutsideLink;
  }));
}

std::string SkippedStatus(const std::vector<MissingFile>& leftOut) {
  const size_t links = LinksOut(leftOut), names = leftOut.size() - links;
  std::string status;
  if (names > 0) status = texts::kSkippedNames + std::to_string(names);
  if (links > 0) status += (status.empty() ? "" : "; ") + texts::kSkippedLinks + std::to_string(links);
  return status;
}

}  // namespace

SourceListing ListSource(const std::string& folder, BuildHost& window) {
  SourceFiles files = WorkBetweenEvents(window, [&folder] { return ListSourceFiles(folder); });
  const size_t links = LinksOut(files.leftOut);
  const bool follow =
      links > 0 && !window.Closing() && window.AskOkCancel(texts::kAttention, texts::FollowLinksQuestion(links));
  if (follow) files = WorkBetweenEvents(window, [&folder] { return ListSourceFiles(folder, true); });
  const std::string status = SkippedStatus(files.leftOut);
  return {std::move(files.names), status, std::move(files.leftOut), follow};
}

}  // namespace pagefold::gui
