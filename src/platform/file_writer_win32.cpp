#include <windows.h>

#include "platform/file_writer.h"
#include "platform/native_path.h"

namespace pagefold::platform {
namespace {

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

FileWriter::~FileWriter() {
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
}

// Every file may be run on Windows, so both modes create the same file; the
// temporary folder is the user's own by its access rights.
FileWriter::CreateResult FileWriter::Create(const std::string& path, Mode) {
  const auto native = ToNativePath(path);
  if (!native) {
    ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return CreateResult::Failed;
  }
  const HANDLE file = ::CreateFileW(native->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? CreateResult::AlreadyExists
                                                                       : CreateResult::Failed;
  }
  if (handle_ != -1) ::CloseHandle(AsHandle(handle_));
  handle_ = reinterpret_cast<std::intptr_t>(file);
  StartBuffer();
  return CreateResult::Created;
}

bool FileWriter::Close() {
  bool ok = Flush();
  DWORD error = ok ? 0 : ::GetLastError();
  if (!::CloseHandle(AsHandle(handle_)) && ok) {
    ok = false;
    error = ::GetLastError();
  }
  handle_ = -1;
  ::SetLastError(error);
  return ok;
}

bool ReplaceFileWith(const std::string& from, const std::string& to) {
  const auto src = ToNativePath(from), dst = ToNativePath(to);
  if (!src || !dst) {
    ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return false;
  }
  return ::MoveFileExW(src->c_str(), dst->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

}  // namespace pagefold::platform
