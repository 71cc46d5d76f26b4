#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/file_ops.h"
#include "platform/native_path.h"
#include "platform/platform_error.h"
#include "platform/write_all.h"

namespace platform {
namespace {

// Closes a descriptor when it goes out of scope.
struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

// Copies at most `size` bytes, the source's size when the copy began: a file
// that another program keeps growing must not keep the copy going for ever.
bool CopyContent(int from, int to, off_t size) {
  char buffer[1 << 16];
  while (size > 0) {
    const ssize_t n = ::read(from, buffer, static_cast<size_t>(std::min<off_t>(size, sizeof buffer)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(to, buffer, static_cast<size_t>(n))) return false;
    size -= n;
  }
  return true;
}

[[noreturn]] void RaiseFileError(const char* what, const std::string& path, int code) {
  throw PlatformError(std::string(what) + " \"" + path + "\". " + SystemErrorText(code));
}

}  // namespace

bool CopyFileNoOverwrite(const std::string& from, const std::string& to) {
  const auto src = ToNativePath(from), dst = ToNativePath(to);
  if (!src || !dst) return false;
  // Without O_NONBLOCK, opening a named pipe would wait for a writer; only
  // regular files are copied anyway.
  Fd in{::open(src->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  struct stat st;
  if (in.fd < 0 || ::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  ::fcntl(in.fd, F_SETFL, 0);
  Fd out{::open(dst->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)};
  if (out.fd < 0) return false;
  if (!CopyContent(in.fd, out.fd, st.st_size) || ::fchmod(out.fd, st.st_mode & 07777 & ~06000) != 0 ||
      ::close(out.fd) != 0) {
    out.fd = -1;
    ::unlink(dst->c_str());
    return false;
  }
  out.fd = -1;
  return true;
}

bool RenameNoOverwrite(const std::string& from, const std::string& to) {
  const auto src = ToNativePath(from), dst = ToNativePath(to);
  if (!src || !dst) return false;
  if (::renameat2(AT_FDCWD, src->c_str(), AT_FDCWD, dst->c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without RENAME_NOREPLACE: a hard link refuses an existing target too.
  if (::link(src->c_str(), dst->c_str()) != 0) return false;
  ::unlink(src->c_str());
  return true;
}

bool RemoveFile(const std::string& path) {
  const auto native = ToNativePath(path);
  struct stat st;
  if (!native || ::lstat(native->c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(native->c_str()) == 0;
}

bool FileExists(const std::string& path) {
  const auto native = ToNativePath(path);
  struct stat st;
  return native && ::stat(native->c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string ReadFileBytes(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) RaiseFileError("Cannot open file", path, ENOENT);
  Fd in{::open(native->c_str(), O_RDONLY | O_CLOEXEC)};
  if (in.fd < 0) RaiseFileError("Cannot open file", path, errno);
  std::string bytes;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(in.fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) RaiseFileError("Cannot open file", path, errno);
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  const auto native = ToNativePath(path);
  if (!native) RaiseFileError("Cannot create file", path, ENOENT);
  Fd out{::open(native->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)};
  if (out.fd < 0) RaiseFileError("Cannot create file", path, errno);
  if (!WriteAll(out.fd, bytes.data(), bytes.size())) RaiseFileError("Cannot create file", path, errno);
  const int fd = out.fd;
  out.fd = -1;
  if (::close(fd) != 0) RaiseFileError("Cannot create file", path, errno);
}

bool AppendFileBytes(const std::string& path, const std::string& bytes) {
  const auto native = ToNativePath(path);
  if (!native) return false;
  Fd out{::open(native->c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644)};
  if (out.fd < 0 || !WriteAll(out.fd, bytes.data(), bytes.size())) return false;
  const int fd = out.fd;
  out.fd = -1;
  return ::close(fd) == 0;
}

}  // namespace platform
