#include "gui/common/chooser_items.h"

#include "core/name_conversion.h"
#include "gui/common/main_window_view.h"

namespace pagefold::gui {

std::vector<std::string> ChooserItems(const std::vector<CheckListEntry>& checkList) {
  std::vector<std::string> pages;
  for (const CheckListEntry& entry : checkList)
    if (entry.ticked && IsPageName(entry.name)) pages.push_back(entry.name);
  return pages;
}

void FillChooser(MainWindowView& window) { window.ShowChooser(ChooserItems(window.CheckListEntries())); }

}  // namespace pagefold::gui
