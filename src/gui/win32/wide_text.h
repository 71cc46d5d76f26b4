// The Win32 window's edge of the text layer: the program's Windows-1251
// texts as the wide-character API takes them, and back.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace pagefold::gui::win32 {

// A Windows-1251 text for display. The one byte without a Unicode form (0x98)
// shows as U+FFFD; the texts the window shows never carry it.
std::wstring Wide(const std::string& cp1251);

// The UTF-16 text of a wide string (wchar_t is 16 bits on Windows).
std::u16string Utf16(const std::wstring& wide);
std::wstring Wide(const std::u16string& utf16);

// The Windows-1251 form of a text, or nothing when a character of it has none.
std::optional<std::string> Narrow(const std::wstring& wide);

// The whole text of a window or control.
std::wstring WindowText(HWND window);

}  // namespace pagefold::gui::win32
