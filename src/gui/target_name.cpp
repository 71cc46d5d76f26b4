#include "gui/target_name.h"

#include "core/name_conversion.h"
#include "text/case_rules.h"

namespace pagefold::gui {

std::string TargetName(const std::string& chosen) {
  if (text::LowerAscii(ExtWithDot(FileNamePart(chosen))) == ".res") return chosen;
  return chosen + ".res";
}

}  // namespace pagefold::gui
