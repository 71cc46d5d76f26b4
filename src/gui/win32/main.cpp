// Pagefold's window on Windows. The program takes no command line.
#include <windows.h>
#include <commctrl.h>

#include "gui/win32/display_metrics.h"
#include "gui/win32/message_loop.h"
#include "gui/win32/tform1.h"
#include "gui/win32/tform3.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  CoInitialize(nullptr);  // the shell's folder dialog
  const pagefold::gui::win32::DisplayMetrics display;
  pagefold::gui::win32::TForm1 Form1(display);
  pagefold::gui::win32::TForm3 Form3(Form1.Edit5, display);
  Form1.SetForm3(&Form3);
  ShowWindow(Form1.Form1, show);
  pagefold::gui::win32::RunMessageLoop(Form1.Form1);
  CoUninitialize();
  return 0;
}
