// Drives the Win32 window through a whole session on a site, as a user
// would: lists the folder, ticks every file, fills the chooser, picks its
// first page and builds. Prints the seconds each step took, one line:
//   listing 0.17 tick 0.07 chooser 0.16 build 2.90 files 20000 pages 5000
// Usage: window_bench_win32 FOLDER TARGET (under wine64, on a display).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "gui/common/window_texts.h"
#include "gui/win32/display_metrics.h"
#include "gui/win32/system_dialogs.h"
#include "gui/win32/tform1.h"
#include "gui/win32/tform3.h"
#include "gui/win32/wide_text.h"

namespace {

using namespace pagefold::gui::win32;

// Answers the save dialog with the target; every box is noted, not shown.
class BenchDialogs : public SystemDialogs {
 public:
  explicit BenchDialogs(std::wstring target) : target_(std::move(target)) {}
  std::optional<std::u16string> ChooseSaveFile(const pagefold::gui::SaveDialog&) override { return Utf16(target_); }
  void ShowMessage(const std::string&, const std::string& text) override { last = Wide(text); }
  bool AskOkCancel(const std::string&, const std::string& text) override {
    last = Wide(text);
    return true;
  }
  void ShowError(const std::string&, const std::string& text) override { last = L"error: " + Wide(text); }
  std::wstring last;

 private:
  std::wstring target_;
};

template <typename Step>
double Seconds(Step step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void PumpPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 3) {
    std::fprintf(stderr, "usage: window_bench_win32 FOLDER TARGET\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const DisplayMetrics display;
  BenchDialogs dialogs(arguments[2]);
  TForm1 form1(display, &dialogs);
  TForm3 form3(form1.Edit5, display);
  form1.SetForm3(&form3);
  ShowWindow(form1.Form1, SW_SHOW);
  PumpPending();

  const std::string folder = Narrow(arguments[1]).value();
  const double listing = Seconds([&] {
    form1.FilesToStringsList(folder);
    PumpPending();
  });
  const double tick = Seconds([&] {
    form1.N1Click();
    PumpPending();
  });
  const double chooser = Seconds([&] {
    form1.Button7Click();
    PumpPending();
  });
  SendMessageW(form3.ListBox1, LB_SETCURSEL, 0, 0);
  form3.ListBox1Click();
  form3.ListBox1DblClick();
  form1.saveClick();
  const double build = Seconds([&] {
    form1.Button5Click();
    PumpPending();
  });
  std::printf("listing %.2f tick %.2f chooser %.2f build %.2f files %d pages %d\n", listing, tick, chooser, build,
              ListView_GetItemCount(form1.CheckListBox1),
              static_cast<int>(SendMessageW(form3.ListBox1, LB_GETCOUNT, 0, 0)));
  if (dialogs.last != Wide(pagefold::texts::kFinished)) {
    std::fprintf(stderr, "the build did not finish: %s\n", Narrow(dialogs.last).value_or("?").c_str());
    return 1;
  }
  return 0;
}
