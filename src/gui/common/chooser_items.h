// What Button7Click puts into the start-file chooser.
#pragma once

#include <string>
#include <vector>

namespace pagefold::gui {

class MainWindowView;

// An item of the main window's check list: its relative name and its tick.
struct CheckListEntry {
  std::string name;
  bool ticked = false;
};

// The ticked pages of the check list, in its order: the names whose
// extension, lower-cased, contains "htm".
std::vector<std::string> ChooserItems(const std::vector<CheckListEntry>& checkList);

// Button7Click: the chooser shown over the window with the ticked pages.
void FillChooser(MainWindowView& window);

}  // namespace pagefold::gui
