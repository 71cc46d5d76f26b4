#include "gui/common/group_type_rule.h"

namespace pagefold::gui {

bool ApplyGroupTypeRule(bool checkBox1Ticked, std::string& groupType) {
  if (!checkBox1Ticked) groupType.clear();
  return checkBox1Ticked;
}

}  // namespace pagefold::gui
