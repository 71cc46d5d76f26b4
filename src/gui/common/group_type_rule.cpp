#include "gui/common/group_type_rule.h"

#include "core/build_texts.h"
#include "core/resource_type_rule.h"

namespace pagefold::gui {

bool ApplyGroupTypeRule(bool checkBox1Ticked, std::string& groupType) {
  if (!checkBox1Ticked) groupType.clear();
  return checkBox1Ticked;
}

bool AcceptGroupType(const std::string& groupType, BuildHost& window) {
  if (groupType.empty() || IsPlainResourceType(groupType)) return true;
  window.ShowMessage(texts::kAttention, texts::kBadGroupType);
  return false;
}

}  // namespace pagefold::gui
