// The window's sizes on this display: the positions are designed at 96 dots
// per inch for a font 13 pixels high, and grow with the display's DPI and the
// system's message font.
#pragma once

#include <windows.h>

namespace pagefold::gui::win32 {

class DisplayMetrics {
 public:
  DisplayMetrics();
  ~DisplayMetrics();
  DisplayMetrics(const DisplayMetrics&) = delete;
  DisplayMetrics& operator=(const DisplayMetrics&) = delete;

  // A designed length in pixels of this display.
  int Scaled(int designed) const { return MulDiv(designed, scalePercent_, 100); }
  // The system's message font, which every control of the windows uses.
  HFONT Font() const { return font_; }

 private:
  HFONT font_ = nullptr;
  int scalePercent_ = 100;
};

// Gives the window and every control below it the font.
void SetFontOfAll(HWND window, HFONT font);

}  // namespace pagefold::gui::win32
