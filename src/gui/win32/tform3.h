// The start-file chooser: a window of its own that stays on top and offers
// the ticked pages; a pick lands in the main window's start-file box.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "gui/win32/display_metrics.h"

namespace pagefold::gui::win32 {

class TForm3 {
 public:
  // startFile is the main window's Edit5. The chooser is not owned by the
  // main window, so that it stays usable while a build has that disabled.
  TForm3(HWND startFile, const DisplayMetrics& display);
  ~TForm3();
  TForm3(const TForm3&) = delete;
  TForm3& operator=(const TForm3&) = delete;

  HWND Form3 = nullptr;
  HWND ListBox1 = nullptr;

  // Shows the chooser centred over the main window, or brings it to the
  // front when it is already visible.
  void ShowOver(HWND mainWindow);
  // Replaces the list's items.
  void SetItems(const std::vector<std::string>& names);

  // Copies the selected item into the start-file box.
  void ListBox1Click();
  // Hides the chooser; the list keeps its items.
  void ListBox1DblClick();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void LayOut();

  HWND startFile_;
};

}  // namespace pagefold::gui::win32
