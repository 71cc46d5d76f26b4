// The Win32 windows as a user sees them after listing a folder, ticking its
// files, picking a start page and choosing a target, for
// scripts/screenshot-win32.sh. Usage: screenshot_window_win32 FOLDER TARGET.
// Prints "ready WIDTHxHEIGHT" (the area both windows cover from the top left
// of the screen) once they are drawn, then runs until it is ended.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "gui/win32/display_metrics.h"
#include "gui/win32/message_loop.h"
#include "gui/win32/system_dialogs.h"
#include "gui/win32/tform1.h"
#include "gui/win32/tform3.h"
#include "gui/win32/wide_text.h"

namespace {

using namespace pagefold::gui::win32;

// Answers the save dialog with the target given; nothing else is asked.
class TargetDialogs : public SystemDialogs {
 public:
  explicit TargetDialogs(std::wstring target) : target_(std::move(target)) {}
  std::optional<std::wstring> ChooseSaveFile(const SaveDialog&) override { return target_; }

 private:
  std::wstring target_;
};

// Prints the area both windows cover, once.
void CALLBACK ReportReady(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  RECT main, chooser;
  GetWindowRect(FindWindowW(L"PagefoldTForm1", nullptr), &main);
  GetWindowRect(FindWindowW(L"PagefoldTForm3", nullptr), &chooser);
  std::printf("ready %ldx%ld\n", chooser.right + 9, std::max(main.bottom, chooser.bottom) + 9);
  std::fflush(stdout);
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 3) {
    std::fprintf(stderr, "usage: screenshot_window_win32 FOLDER TARGET\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const DisplayMetrics display;
  TargetDialogs dialogs(arguments[2]);
  TForm1 form1(display, &dialogs);
  TForm3 form3(form1.Edit5, display);
  form1.SetForm3(&form3);
  SetWindowPos(form1.Form1, nullptr, 8, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(form1.Form1, SW_SHOW);

  form1.FilesToStringsList(Narrow(arguments[1]).value());
  form1.N1Click();
  for (int row = 0; row < ListView_GetItemCount(form1.CheckListBox1); ++row) {
    wchar_t text[512] = {};
    ListView_GetItemText(form1.CheckListBox1, row, 0, text, 512);
    if (std::wstring(text).find(L"unused") == std::wstring::npos) continue;
    ListView_SetItemState(form1.CheckListBox1, row, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageW(form1.CheckListBox1, WM_KEYDOWN, VK_SPACE, 0);  // the space bar unticks it
  }
  ListView_SetItemState(form1.CheckListBox1, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  form1.saveClick();
  form1.Button7Click();
  RECT main;
  GetWindowRect(form1.Form1, &main);
  SetWindowPos(form3.Form3, nullptr, main.right + 12, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageW(form3.ListBox1, LB_SETCURSEL, 0, 0);
  form3.ListBox1Click();

  SetTimer(nullptr, 0, 800, &ReportReady);
  RunMessageLoop(form1.Form1);
  return 0;
}
