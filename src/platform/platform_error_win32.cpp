#include <windows.h>

#include "platform/native_path.h"
#include "platform/platform_error.h"

namespace pagefold::platform {

std::string SystemErrorText(int code) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring message(buffer ? buffer : L"", length);
  ::LocalFree(buffer);
  // The system ends its texts with a full stop and a line break; the program
  // puts them inside its own sentences.
  while (!message.empty() && (message.back() <= L' ' || message.back() == L'.')) message.pop_back();
  // A text in a language without a Windows-1251 form is left out.
  return FromNativeName(message).value_or("");
}

int LastErrorCode() { return static_cast<int>(::GetLastError()); }

}  // namespace pagefold::platform
