#include "gui/common/target_name.h"

#include "core/paths.h"
#include "core/name_conversion.h"
#include "text/case_rules.h"

namespace pagefold::gui {

std::string TargetName(const std::string& chosen) {
  if (text::LowerAscii(ExtWithDot(FileNamePart(chosen))) == ".res") return chosen;
  return chosen + ".res";
}

TargetChoice ChooseTarget(const std::string& chosen) { return {FolderPart(chosen), TargetName(chosen)}; }

}  // namespace pagefold::gui
