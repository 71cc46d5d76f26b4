#include "gui/common/chooser_items.h"

#include "core/name_conversion.h"

namespace pagefold::gui {

std::vector<std::string> ChooserItems(const std::vector<CheckListEntry>& checkList) {
  std::vector<std::string> pages;
  for (const CheckListEntry& entry : checkList)
    if (entry.ticked && IsPageName(entry.name)) pages.push_back(entry.name);
  return pages;
}

}  // namespace pagefold::gui
