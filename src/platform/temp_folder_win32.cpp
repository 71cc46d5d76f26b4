#define _CRT_RAND_S  // rand_s: random numbers from the system's generator
#include <stdlib.h>

#include <windows.h>

#include "platform/native_path.h"
#include "platform/owner_only_access_win32.h"
#include "platform/temp_folder.h"

namespace pagefold::platform {
namespace {

std::string RandomSuffix() {
  const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (int i = 0; i < 6; ++i) {
    unsigned int n = 0;
    rand_s(&n);
    suffix += letters[n % 36];
  }
  return suffix;
}

}  // namespace

// GetTempPathW gives the folder with its trailing backslash.
std::string TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return "";
  return FromNativeName(std::wstring(buffer, length)).value_or("");
}

std::optional<std::string> MakePrivateFolder(const std::string& parent) {
  OwnerOnlyAccess access;
  if (!access.Attributes()) return std::nullopt;
  std::optional<std::string> made;
  DWORD error = ERROR_ALREADY_EXISTS;
  // A name that is taken already is drawn again.
  for (int attempt = 0; attempt < 100 && error == ERROR_ALREADY_EXISTS; ++attempt) {
    const std::string path = parent + "pagefold-" + RandomSuffix();
    const auto native = ToNativePath(path);
    if (!native) {
      error = ERROR_NO_UNICODE_TRANSLATION;
      break;
    }
    error = ::CreateDirectoryW(native->c_str(), access.Attributes()) ? 0 : ::GetLastError();
    if (error == 0) made = path + "\\";
  }
  if (!made) ::SetLastError(error);
  return made;
}

}  // namespace pagefold::platform
