// The counter that status panel 0 shows for the check list.
#pragma once

#include <string>

namespace pagefold::gui {

// "0\" followed by the number of ticked files, such as "0\12".
std::string TickCounter(int ticked);

}  // namespace pagefold::gui
