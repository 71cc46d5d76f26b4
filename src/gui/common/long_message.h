// Which messages a window shows in a box with a scrolling text that the user
// can select and copy from, instead of a plain message box: those with lists
// of names, which a message box would stretch beyond the screen.
#pragma once

#include <string>

namespace pagefold::gui {

// True for a text of more than 12 lines, or with a line longer than 100
// characters; a line break is "\n", alone or followed by "\r".
bool IsLongMessage(const std::string& text);

}  // namespace pagefold::gui
