// The program's one main loop.
#pragma once

#include <windows.h>

namespace pagefold::gui::win32 {

// Handles the program's messages, with the keyboard navigation of the
// windows' controls, until the main window is gone.
void RunMessageLoop(HWND mainWindow);

}  // namespace pagefold::gui::win32
