#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/folder_ops.h"
#include "platform/native_path.h"

namespace pagefold::platform {
namespace {

// The Windows error code for an errno value, so that messages read as on Windows.
int WindowsCode(int error) {
  switch (error) {
    case EEXIST: return 183;     // ERROR_ALREADY_EXISTS
    case ENOENT:
    case ENOTDIR: return 3;      // ERROR_PATH_NOT_FOUND
    case EACCES:
    case EPERM:
    case EROFS: return 5;        // ERROR_ACCESS_DENIED
    case ENOTEMPTY: return 145;  // ERROR_DIR_NOT_EMPTY
    case ENOSPC: return 112;     // ERROR_DISK_FULL
    case ENAMETOOLONG: return 206;  // ERROR_FILENAME_EXCED_RANGE
    case EBUSY: return 32;       // ERROR_SHARING_VIOLATION
    default: return 31;          // ERROR_GEN_FAILURE
  }
}

}  // namespace

int CreateFolder(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return 3;
  return ::mkdir(native->c_str(), 0777) == 0 ? 0 : WindowsCode(errno);
}

// The umask can only take rights away from 0700.
int CreatePrivateFolder(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return 3;
  return ::mkdir(native->c_str(), 0700) == 0 ? 0 : WindowsCode(errno);
}

int RemoveFolder(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return 3;
  return ::rmdir(native->c_str()) == 0 ? 0 : WindowsCode(errno);
}

bool FolderExists(const std::string& path) {
  const auto native = ToNativePath(path);
  struct stat st;
  return native && ::stat(native->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace pagefold::platform
