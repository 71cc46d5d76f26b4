#include "gui/common/folder_step.h"

#include <optional>

#include "gui/common/accepted_name.h"
#include "gui/common/source_listing.h"
#include "gui/common/window_texts.h"

namespace pagefold::gui {

void ListFolder(const std::string& folder, BuildCommand& build, MainWindowView& window, WindowClosing& closing) {
  window.SetSourceFolderText(folder);
  SourceListing listing = [&] {
    const WindowClosing::Listing marked(closing);
    return ListSource(folder, window);
  }();
  window.SetCheckListNames(std::move(listing.names));
  window.SetStatusText(1, listing.skippedStatus);
  build.LeftOut = std::move(listing.leftOut);
  build.FollowLinks = listing.followLinks;
  if (closing.Closing()) window.Close();  // closed while it listed
}

void ListPickedFolder(const std::u16string& folder, BuildCommand& build, MainWindowView& window,
                      WindowClosing& closing) {
  if (folder.empty()) return;
  if (const std::optional<std::string> bytes = AcceptName(folder, window)) ListFolder(*bytes, build, window, closing);
}

void ChooseSourceFolder(BuildCommand& build, MainWindowView& window, WindowClosing& closing, Dialogs& dialogs) {
  ListPickedFolder(dialogs.ChooseFolder(texts::kFolderTitle, u""), build, window, closing);
}

}  // namespace pagefold::gui
