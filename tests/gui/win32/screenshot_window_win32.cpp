// The Win32 windows as a user sees them after listing a folder, ticking its
// files, picking a start page and choosing a target, for
// scripts/screenshot-win32.sh; with --build, at the end of the build that
// follows, with its closing message, for scripts/screenshot-build.sh.
// Usage: screenshot_window_win32 FOLDER TARGET [--build]. Prints "ready
// WIDTHxHEIGHT+LEFT+TOP" (the area of the screen the windows cover, with a
// margin) once they are drawn, then runs until it is ended. The picture of
// the listing has its windows side by side at the top left; the build's keeps
// the main window where the program puts it, in the middle of the screen.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
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
  std::optional<std::u16string> ChooseSaveFile(const pagefold::gui::SaveDialog&) override { return Utf16(target_); }

 private:
  std::wstring target_;
};

// Prints the area the shown windows cover, once.
void CALLBACK ReportReady(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  RECT all = {LONG_MAX, LONG_MAX, 0, 0};
  for (const HWND window : {FindWindowW(L"PagefoldTForm1", nullptr), FindWindowW(L"PagefoldTForm3", nullptr),
                            FindWindowW(L"#32770", nullptr)}) {
    RECT rect;
    if (!window || !IsWindowVisible(window) || !GetWindowRect(window, &rect)) continue;
    UnionRect(&all, &all, &rect);
  }
  InflateRect(&all, 8, 8);
  std::printf("ready %ldx%ld+%ld+%ld\n", all.right - all.left, all.bottom - all.top, std::max(all.left, 0L),
              std::max(all.top, 0L));
  std::fflush(stdout);
}

// Waits for the closing message, a task-modal box whose own loop runs this
// timer; reports once the box has been drawn.
void CALLBACK WaitForTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND box = FindWindowW(L"#32770", nullptr);
  if (!box || !IsWindowVisible(box)) return;
  KillTimer(nullptr, timer);
  SetTimer(nullptr, 0, 800, &ReportReady);
}

HWND buildButton = nullptr;

// The build, started from the program's message loop.
void CALLBACK PressBuild(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  SetTimer(nullptr, 0, 100, &WaitForTheBox);
  SendMessageW(buildButton, BM_CLICK, 0, 0);
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  const bool build = count == 4 && std::wstring(arguments[3]) == L"--build";
  if (count != 3 && !build) {
    std::fprintf(stderr, "usage: screenshot_window_win32 FOLDER TARGET [--build]\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const DisplayMetrics display;
  TargetDialogs dialogs(arguments[2]);
  TForm1 form1(display, &dialogs);
  TForm3 form3(form1.Edit5, display);
  form1.SetForm3(&form3);
  if (!build) SetWindowPos(form1.Form1, nullptr, 8, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
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

  if (build) {
    // The pick closes the chooser, and the build starts from the main window.
    form3.ListBox1DblClick();
    SetActiveWindow(form1.Form1);
    buildButton = form1.Button3;
    SetTimer(nullptr, 0, 0, &PressBuild);
  } else {
    SetTimer(nullptr, 0, 800, &ReportReady);
  }
  RunMessageLoop(form1.Form1);
  return 0;
}
