#include "gui/common/check_list_actions.h"

#include "gui/common/window_texts.h"

namespace pagefold::gui {

void CheckListChanged(MainWindowView& window) {
  const int ticked = window.TickedCount();
  window.PumpOneEvent();
  window.SetStatusText(0, texts::Counter(0, ticked));
}

void TickAll(MainWindowView& window, bool ticked) {
  window.SetAllTicks(ticked);
  CheckListChanged(window);
}

void ClearCheckList(MainWindowView& window) {
  window.SetCheckListNames({});
  CheckListChanged(window);
}

}  // namespace pagefold::gui
