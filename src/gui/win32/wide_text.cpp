#include "gui/win32/wide_text.h"

#include "text/cp1251.h"

namespace pagefold::gui::win32 {

std::wstring Wide(const std::string& cp1251) {
  std::wstring wide;
  wide.reserve(cp1251.size());
  for (const char byte : cp1251) {
    const char32_t code = text::Cp1251ToUnicode(static_cast<unsigned char>(byte));
    wide.push_back(code == 0 && byte != 0 ? L'\xFFFD' : static_cast<wchar_t>(code));
  }
  return wide;
}

std::u16string Utf16(const std::wstring& wide) { return std::u16string(wide.begin(), wide.end()); }

std::wstring Wide(const std::u16string& utf16) { return std::wstring(utf16.begin(), utf16.end()); }

std::optional<std::string> Narrow(const std::wstring& wide) { return text::Utf16ToCp1251(Utf16(wide)); }

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace pagefold::gui::win32
