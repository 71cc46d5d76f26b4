#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/file_ops.h"
#include "platform/native_path.h"
#include "platform/platform_error.h"
#include "platform/write_all.h"

namespace pagefold::platform {
namespace {

// Closes a descriptor when it goes out of scope.
struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

[[noreturn]] void RaiseFileError(const char* what, const std::string& path, int code) {
  throw PlatformError(std::string(what) + " \"" + path + "\". " + SystemErrorText(code));
}

}  // namespace

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
  // A new file beside the target, renamed into place: whatever stood at the
  // path, a link included, is replaced and never written through.
  const size_t slash = native->rfind('/');
  const std::string folder = slash == std::string::npos ? "" : native->substr(0, slash + 1);
  std::string temporary;
  Fd out{-1};
  for (int n = 1; out.fd < 0; ++n) {
    temporary = folder + ".pagefold-new-" + std::to_string(n);
    out.fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (out.fd < 0 && errno != EEXIST) RaiseFileError("Cannot create file", path, errno);
  }
  // A file replaced keeps its permission bits.
  struct stat old;
  bool ok = (::lstat(native->c_str(), &old) != 0 || !S_ISREG(old.st_mode) || ::fchmod(out.fd, old.st_mode & 0777) == 0) &&
            WriteAll(out.fd, bytes.data(), bytes.size());
  int error = errno;
  const int fd = out.fd;
  out.fd = -1;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && std::rename(temporary.c_str(), native->c_str()) == 0) return;
  if (ok) error = errno;
  ::unlink(temporary.c_str());
  RaiseFileError("Cannot create file", path, error);
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

}  // namespace pagefold::platform
