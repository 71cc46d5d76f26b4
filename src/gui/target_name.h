// The name of the target file as the window shows it, and its folder.
#pragma once

#include <string>

namespace pagefold::gui {

// The chosen name followed by ".res", unless the extension of its own last
// component already is ".res" in any letter case. Folder names never count.
std::string TargetName(const std::string& chosen);

}  // namespace pagefold::gui
