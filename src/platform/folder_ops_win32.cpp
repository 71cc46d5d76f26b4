#include <windows.h>

#include "platform/folder_ops.h"
#include "platform/native_path.h"
#include "platform/owner_only_access_win32.h"

namespace pagefold::platform {

// The codes are the system's own (GetLastError).

int CreateFolder(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return ERROR_PATH_NOT_FOUND;
  return ::CreateDirectoryW(native->c_str(), nullptr) ? 0 : static_cast<int>(::GetLastError());
}

int CreatePrivateFolder(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return ERROR_PATH_NOT_FOUND;
  OwnerOnlyAccess access;
  if (!access.Attributes()) return static_cast<int>(::GetLastError());
  return ::CreateDirectoryW(native->c_str(), access.Attributes()) ? 0 : static_cast<int>(::GetLastError());
}

int RemoveFolder(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return ERROR_PATH_NOT_FOUND;
  return ::RemoveDirectoryW(native->c_str()) ? 0 : static_cast<int>(::GetLastError());
}

bool FolderExists(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return false;
  const DWORD attributes = ::GetFileAttributesW(native->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace pagefold::platform
