#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/file_writer.h"
#include "platform/native_path.h"

namespace pagefold::platform {

FileWriter::~FileWriter() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

FileWriter::CreateResult FileWriter::Create(const std::string& path, Mode mode) {
  const auto native = ToNativePath(path);
  if (!native) {
    errno = EILSEQ;
    return CreateResult::Failed;
  }
  const mode_t bits = mode == Mode::OwnerExecutable ? 0700 : 0666;
  // O_EXCL also refuses a symbolic link at the path, dangling or not.
  const int fd = ::open(native->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, bits);
  if (fd < 0) return errno == EEXIST ? CreateResult::AlreadyExists : CreateResult::Failed;
  // The umask may have taken the owner's execute bit away.
  if (mode == Mode::OwnerExecutable && ::fchmod(fd, 0700) != 0) {
    const int error = errno;
    ::close(fd);
    ::unlink(native->c_str());
    errno = error;
    return CreateResult::Failed;
  }
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = fd;
  StartBuffer();
  return CreateResult::Created;
}

bool FileWriter::Close() {
  bool ok = Flush();
  int error = errno;
  if (::close(static_cast<int>(handle_)) != 0 && ok) {
    ok = false;
    error = errno;
  }
  handle_ = -1;
  errno = error;
  return ok;
}

bool ReplaceFileWith(const std::string& from, const std::string& to) {
  const auto src = ToNativePath(from), dst = ToNativePath(to);
  if (!src || !dst) {
    errno = EILSEQ;
    return false;
  }
  // A file replaced keeps its permission bits.
  struct stat old;
  if (::lstat(dst->c_str(), &old) == 0 && S_ISREG(old.st_mode) && ::chmod(src->c_str(), old.st_mode & 0777) != 0)
    return false;
  return std::rename(src->c_str(), dst->c_str()) == 0;
}

}  // namespace pagefold::platform
