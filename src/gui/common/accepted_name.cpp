#include "gui/common/accepted_name.h"

#include "gui/common/window_texts.h"
#include "text/cp1251.h"

namespace pagefold::gui {

std::optional<std::string> AcceptName(const std::u16string& name, BuildHost& window) {
  std::optional<std::string> bytes = text::Utf16ToCp1251(name);
  if (!bytes) window.ShowMessage(texts::kAttention, texts::kOutsideCodePage);
  return bytes;
}

bool Cp1251EditBox::Edited(const std::u16string& text, BuildHost& window) {
  const std::optional<std::string> bytes = AcceptName(text, window);
  if (!bytes || (rule_ && !rule_(*bytes, window))) return false;
  kept_ = text;
  return true;
}

}  // namespace pagefold::gui
