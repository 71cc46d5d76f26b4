// The file list of the main window: a list view in report style, one column,
// a tick box before every name. The list view holds no items of its own (an
// owner-data list): it asks for the name and the tick of each row it paints,
// and the names and ticks live here, so that listing or ticking tens of
// thousands of files is one step and not one message a row.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/common/chooser_items.h"

namespace pagefold::gui::win32 {

class CheckList {
 public:
  // Makes the list view, a child of parent with the control identifier id;
  // userTicked runs after the user changed a tick (a click on its box, the
  // space bar on the focused row).
  CheckList(HWND parent, int id, std::function<void()> userTicked);

  HWND Control() const { return control_; }
  int Count() const { return static_cast<int>(names_.size()); }

  // Replaces every row by the names, unticked; none when names is empty.
  void SetNames(std::vector<std::string> names);
  // Ticks or unticks every row.
  void SetAllTicks(bool ticked);
  bool Ticked(int row) const { return ticks_.at(row) != 0; }
  int TickedCount() const;
  // The names of the ticked rows, in list order.
  std::vector<std::string> TickedNames() const;
  // Every row's name and tick, in list order.
  std::vector<CheckListEntry> Entries() const;

  // Answers a notification of the list view.
  LRESULT Notified(const NMHDR& header);

 private:
  void Toggle(int row);
  void ShowRow(NMLVDISPINFOW& info) const;

  HWND control_;
  std::function<void()> userTicked_;
  std::vector<std::string> names_;
  std::vector<char> ticks_;
};

}  // namespace pagefold::gui::win32
