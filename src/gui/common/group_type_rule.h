// The rule of CheckBox1Click: Edit2 shows exactly while CheckBox1 is ticked,
// and GroupType is empty whenever Edit2 is hidden. Edit2 keeps its text.
#pragma once

#include <string>

namespace pagefold::gui {

// Empties groupType when CheckBox1 is unticked; returns whether Edit2 shows.
bool ApplyGroupTypeRule(bool checkBox1Ticked, std::string& groupType);

}  // namespace pagefold::gui
