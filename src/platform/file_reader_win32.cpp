#include <windows.h>

#include <algorithm>

#include "platform/file_reader.h"
#include "platform/folder_handle.h"
#include "platform/native_path.h"

namespace pagefold::platform {
namespace {

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD Clamp(std::size_t capacity) {
  return static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 30));
}

}  // namespace

FileReader::~FileReader() {
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
}

namespace {

// Takes a freshly opened handle: a file on a disk, or INVALID_HANDLE_VALUE
// with the last error set.
HANDLE DiskFile(HANDLE file, std::uint64_t& size) {
  if (file == INVALID_HANDLE_VALUE) return file;
  BY_HANDLE_FILE_INFORMATION info;
  DWORD error = 0;
  if (::GetFileType(file) != FILE_TYPE_DISK)
    error = ERROR_INVALID_PARAMETER;
  else if (!::GetFileInformationByHandle(file, &info))
    error = ::GetLastError();
  else if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
    error = ERROR_ACCESS_DENIED;
  if (error != 0) {
    ::CloseHandle(file);
    ::SetLastError(error);
    return INVALID_HANDLE_VALUE;
  }
  size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return file;
}

}  // namespace

// INVALID_HANDLE_VALUE is -1 as a number.
bool FileReader::Hold(std::intptr_t handle, std::uint64_t size) {
  if (handle == -1) return false;
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
  handle_ = handle;
  size_ = size;
  return true;
}

bool FileReader::Open(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) {
    ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  // A folder cannot be opened this way (access denied); devices are refused below.
  std::uint64_t size = 0;
  const HANDLE file = DiskFile(::CreateFileW(native->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                               size);
  return Hold(reinterpret_cast<std::intptr_t>(file), size);
}

// The folder is held open by the program that handed it over, so that its
// path keeps naming it; the file itself is opened without following a
// reparse point, which is then refused.
bool FileReader::OpenInside(const FolderHandle& folder, const std::string& name) {
  const auto native = ToNativePath(folder.PathOf(name));
  if (!native || name.find_first_of("\\/:") != std::string::npos || name == "." || name == "..") {
    ::SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  std::uint64_t size = 0;
  const HANDLE file =
      DiskFile(::CreateFileW(native->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr),
               size);
  return Hold(reinterpret_cast<std::intptr_t>(file), size);
}

std::int64_t FileReader::Read(void* buffer, std::size_t capacity) {
  DWORD n = 0;
  if (!::ReadFile(AsHandle(handle_), buffer, Clamp(capacity), &n, nullptr)) return -1;
  return n;
}

std::int64_t FileReader::ReadAt(std::uint64_t offset, void* buffer, std::size_t capacity) {
  // A read at an offset moves the position of a synchronous handle; it is put back.
  LARGE_INTEGER zero{}, position;
  if (!::SetFilePointerEx(AsHandle(handle_), zero, &position, FILE_CURRENT)) return -1;
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD n = 0;
  const bool ok = ::ReadFile(AsHandle(handle_), buffer, Clamp(capacity), &n, &at);
  const DWORD error = ::GetLastError();
  ::SetFilePointerEx(AsHandle(handle_), position, nullptr, FILE_BEGIN);
  if (ok || error == ERROR_HANDLE_EOF) return ok ? n : 0;
  ::SetLastError(error);
  return -1;
}

}  // namespace pagefold::platform
