// What the handlers that both main windows share read from and write to the
// window, beside what a build reads and shows through BuildHost: the rows of
// the check list, the texts of the source and target boxes, the start-file
// chooser, the progress's painting and the window's closing. Each window implements it over its own
// controls.
#pragma once

#include <string>
#include <vector>

#include "core/build_host.h"
#include "gui/common/chooser_items.h"

namespace pagefold::gui {

class MainWindowView : public BuildHost {
 public:
  // Every row of the check list with its tick, in list order.
  virtual std::vector<CheckListEntry> CheckListEntries() = 0;
  virtual int TickedCount() = 0;
  // Ticks or unticks every row; the handler of the user's ticks does not run.
  virtual void SetAllTicks(bool ticked) = 0;
  // Replaces every row by the names, unticked; none when names is empty.
  virtual void SetCheckListNames(std::vector<std::string> names) = 0;
  // Shows the start-file chooser over the window with the pages as its items.
  virtual void ShowChooser(const std::vector<std::string>& pages) = 0;
  // Writes the folder into the source folder's box as the text it keeps.
  virtual void SetSourceFolderText(const std::string& folder) = 0;
  // Writes the target's name into the target's box.
  virtual void SetTargetText(const std::string& name) = 0;
  // With true, the status bar and the progress bar show what a build sets
  // once a frame; with false, they show it as it stands now and from then on.
  virtual void ShowProgressInFrames(bool inFrames) = 0;
  // Closes the window, once nothing holds it open any longer.
  virtual void Close() = 0;
};

}  // namespace pagefold::gui
