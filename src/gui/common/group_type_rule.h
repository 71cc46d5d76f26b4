// The group type as the window takes it. CheckBox1Click: Edit2 shows exactly
// while CheckBox1 is ticked, and GroupType is empty whenever Edit2 is hidden;
// Edit2 keeps its text. Edit2 holds only texts that can go into the script.
#pragma once

#include <string>

#include "core/build_host.h"

namespace pagefold::gui {

// Empties groupType when CheckBox1 is unticked; returns whether Edit2 shows.
bool ApplyGroupTypeRule(bool checkBox1Ticked, std::string& groupType);

// The rule of Edit2's box: an empty text or a plain resource type; anything
// else is refused with the message box "Тип для группировки может содержать
// только буквы, цифры и знак _" captioned "Внимание".
bool AcceptGroupType(const std::string& groupType, BuildHost& window);

}  // namespace pagefold::gui
