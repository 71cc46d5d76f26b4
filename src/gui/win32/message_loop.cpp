#include "gui/win32/message_loop.h"

namespace pagefold::gui::win32 {

void RunMessageLoop(HWND mainWindow) {
  MSG message;
  while (IsWindow(mainWindow) && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(GetAncestor(message.hwnd, GA_ROOT), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace pagefold::gui::win32
