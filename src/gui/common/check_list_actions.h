// What the check list's handlers do in both windows: the count of ticked
// files after every change, and the actions of its popup menu.
#pragma once

#include "gui/common/main_window_view.h"

namespace pagefold::gui {

// CheckListBox1ClickCheck: one pending event handled, then the count of
// ticked rows in status panel 0.
void CheckListChanged(MainWindowView& window);

// N1Click and N2Click: every row ticked or unticked, then counted.
void TickAll(MainWindowView& window, bool ticked);

// N3Click: every row removed, then counted.
void ClearCheckList(MainWindowView& window);

}  // namespace pagefold::gui
