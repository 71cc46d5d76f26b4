#include <windows.h>

#include "platform/native_path.h"
#include "platform/temp_folder.h"

namespace platform {

// GetTempPathW gives the folder with its trailing backslash.
std::string TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return "";
  return FromNativeName(std::wstring(buffer, length)).value_or("");
}

}  // namespace platform
