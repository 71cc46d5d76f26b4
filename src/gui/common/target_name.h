// The target file as saveClick takes it from the save dialog.
#pragma once

#include <string>

namespace pagefold::gui {

// The chosen name followed by ".res", unless the extension of its own last
// component already is ".res" in any letter case. Folder names never count.
std::string TargetName(const std::string& chosen);

// What saveClick sets from a chosen full name: ResourceFolder, its folder
// part with the trailing separator, and the text of Edit6.
struct TargetChoice {
  std::string resourceFolder;
  std::string shownName;
};
TargetChoice ChooseTarget(const std::string& chosen);

}  // namespace pagefold::gui
