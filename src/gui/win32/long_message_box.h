// The box of a long message: the text in a read-only edit control with scroll
// bars, where the user can select it (Ctrl+A, the mouse) and copy it
// (Ctrl+C), and an OK button.
#pragma once

#include <string>

namespace pagefold::gui::win32 {

// Shows the box and returns when it is closed (OK, Enter, Escape or its close
// button). Like a task-modal message box, it keeps every other window of the
// thread disabled while it is open, and it stays above the chooser, which is
// topmost. Line breaks are "\n", alone or followed by "\r".
void ShowLongMessageBox(const std::wstring& caption, const std::wstring& text);

}  // namespace pagefold::gui::win32
