#include "gui/win32/display_metrics.h"

#include <algorithm>

namespace pagefold::gui::win32 {

DisplayMetrics::DisplayMetrics() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  font_ = CreateFontIndirectW(&metrics.lfMessageFont);

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  HGDIOBJ old = SelectObject(screen, font_);
  TEXTMETRICW text = {};
  GetTextMetricsW(screen, &text);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  scalePercent_ = std::max(MulDiv(dpi, 100, 96), MulDiv(static_cast<int>(text.tmHeight), 100, 13));
}

DisplayMetrics::~DisplayMetrics() { DeleteObject(font_); }

namespace {

BOOL CALLBACK SetFontOf(HWND child, LPARAM font) {
  SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  return TRUE;
}

}  // namespace

void SetFontOfAll(HWND window, HFONT font) {
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EnumChildWindows(window, &SetFontOf, reinterpret_cast<LPARAM>(font));
}

}  // namespace pagefold::gui::win32
