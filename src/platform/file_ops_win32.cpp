#include <windows.h>

#include "platform/file_ops.h"
#include "platform/native_path.h"
#include "platform/platform_error.h"
#include "platform/write_all.h"

namespace pagefold::platform {
namespace {

// Closes a file handle when it goes out of scope.
struct Handle {
  HANDLE h;
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
  // Closes now; false when the close failed (data not written).
  bool Close() {
    const HANDLE closing = h;
    h = INVALID_HANDLE_VALUE;
    return ::CloseHandle(closing) != 0;
  }
};

DWORD Attributes(const std::string& path) {
  const auto native = ToNativePath(path);
  return native ? ::GetFileAttributesW(native->c_str()) : INVALID_FILE_ATTRIBUTES;
}

[[noreturn]] void RaiseFileError(const char* what, const std::string& path, DWORD code) {
  throw PlatformError(std::string(what) + " \"" + path + "\". " +
                      SystemErrorText(static_cast<int>(code)));
}

}  // namespace

bool RemoveFile(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return false;
  const DWORD attributes = ::GetFileAttributesW(native->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  // A read-only file of the program's own is deleted too.
  if (attributes & FILE_ATTRIBUTE_READONLY)
    ::SetFileAttributesW(native->c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return ::DeleteFileW(native->c_str());
  // A link to a folder is removed as a folder entry; a real folder is not a file.
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && ::RemoveDirectoryW(native->c_str());
}

bool FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) RaiseFileError("Cannot open file", path, ERROR_FILE_NOT_FOUND);
  Handle in{::CreateFileW(native->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (in.h == INVALID_HANDLE_VALUE) RaiseFileError("Cannot open file", path, ::GetLastError());
  std::string bytes;
  char buffer[1 << 16];
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(in.h, buffer, sizeof buffer, &n, nullptr))
      RaiseFileError("Cannot open file", path, ::GetLastError());
    if (n == 0) return bytes;
    bytes.append(buffer, n);
  }
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  const auto native = ToNativePath(path);
  if (!native) RaiseFileError("Cannot create file", path, ERROR_PATH_NOT_FOUND);
  // A new file beside the target, renamed into place: whatever stood at the
  // path, a link included, is replaced and never written through.
  const size_t slash = native->find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : native->substr(0, slash + 1);
  std::wstring temporary;
  Handle out{INVALID_HANDLE_VALUE};
  for (int n = 1; out.h == INVALID_HANDLE_VALUE; ++n) {
    temporary = folder + L".pagefold-new-" + std::to_wstring(n);
    out.h = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = ::GetLastError();
    if (out.h == INVALID_HANDLE_VALUE && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
      RaiseFileError("Cannot create file", path, error);
  }
  bool ok = WriteAll(reinterpret_cast<std::intptr_t>(out.h), bytes.data(), bytes.size());
  DWORD error = ok ? 0 : ::GetLastError();
  if (!out.Close() && ok) {
    ok = false;
    error = ::GetLastError();
  }
  if (ok && ::MoveFileExW(temporary.c_str(), native->c_str(), MOVEFILE_REPLACE_EXISTING)) return;
  if (ok) error = ::GetLastError();
  ::DeleteFileW(temporary.c_str());
  RaiseFileError("Cannot create file", path, error);
}

bool AppendFileBytes(const std::string& path, const std::string& bytes) {
  const auto native = ToNativePath(path);
  if (!native) return false;
  Handle out{::CreateFileW(native->c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
  return out.h != INVALID_HANDLE_VALUE && WriteAll(reinterpret_cast<std::intptr_t>(out.h), bytes.data(), bytes.size()) &&
         out.Close();
}

}  // namespace pagefold::platform
