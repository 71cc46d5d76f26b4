// A control that neither redraws nor recomputes its scroll bars while many
// items go in: a list view or list box does both for every item added, which
// makes filling it with thousands of items take minutes. Redrawn once, whole,
// at the end.
#pragma once

#include <windows.h>

namespace pagefold::gui::win32 {

class RedrawPaused {
 public:
  explicit RedrawPaused(HWND control) : control_(control) { SendMessageW(control_, WM_SETREDRAW, FALSE, 0); }
  ~RedrawPaused() {
    SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(control_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  RedrawPaused(const RedrawPaused&) = delete;
  RedrawPaused& operator=(const RedrawPaused&) = delete;

 private:
  HWND control_;
};

}  // namespace pagefold::gui::win32
