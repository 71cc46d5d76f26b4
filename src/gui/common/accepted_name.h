// Names that reach the window from the user or a dialog, in UTF-16. The
// program carries Windows-1251 texts only, so a name that has a character
// outside it is refused, with the same message in both windows.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/build_host.h"

namespace pagefold::gui {

// The Windows-1251 form of the name; nothing, after the message box "Имя
// папки или файла содержит символы вне кодировки Windows-1251" captioned
// "Внимание", when it has none.
std::optional<std::string> AcceptName(const std::u16string& name, BuildHost& window);

// An edit box that must hold a Windows-1251 text, as Edit1: an edit that
// brings in a character without a Windows-1251 form is undone and refused.
// A box with a rule, as Edit2, refuses as well the texts that the rule
// refuses; the rule shows its own refusal.
class Cp1251EditBox {
 public:
  using Rule = std::function<bool(const std::string& cp1251, BuildHost& window)>;
  explicit Cp1251EditBox(Rule rule = nullptr) : rule_(std::move(rule)) {}
  // The text the window itself writes into the box.
  void Set(const std::u16string& text) { kept_ = text; }
  // True when the edited text is kept; otherwise the refusal has been shown
  // and the box must go back to Kept().
  bool Edited(const std::u16string& text, BuildHost& window);
  const std::u16string& Kept() const { return kept_; }

 private:
  Rule rule_;
  std::u16string kept_;
};

}  // namespace pagefold::gui
