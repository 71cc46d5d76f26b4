#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_reader.h"
#include "platform/folder_handle.h"
#include "platform/native_path.h"

namespace pagefold::platform {

FileReader::~FileReader() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

namespace {

// Takes a freshly opened descriptor: a regular file, or -1 with errno set.
int RegularFile(int fd, std::uint64_t& size) {
  if (fd < 0) return -1;
  struct stat st;
  int error = 0;
  if (::fstat(fd, &st) != 0)
    error = errno;
  else if (S_ISDIR(st.st_mode))
    error = EISDIR;
  else if (!S_ISREG(st.st_mode))
    error = EINVAL;
  if (error != 0) {
    ::close(fd);
    errno = error;
    return -1;
  }
  size = static_cast<std::uint64_t>(st.st_size);
  return fd;
}

}  // namespace

bool FileReader::Hold(std::intptr_t handle, std::uint64_t size) {
  if (handle < 0) return false;
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = handle;
  size_ = size;
  return true;
}

bool FileReader::Open(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) {
    errno = EILSEQ;
    return false;
  }
  // Non-blocking, so that naming a FIFO does not hang the open; it is refused below.
  std::uint64_t size = 0;
  const int fd = RegularFile(::open(native->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK), size);
  return Hold(fd, size);
}

bool FileReader::OpenInside(const FolderHandle& folder, const std::string& name) {
  const auto native = ToNativePath(name);
  if (!native || native->find('/') != std::string::npos || *native == "." || *native == "..") {
    errno = EINVAL;
    return false;
  }
  std::uint64_t size = 0;
  const int fd = RegularFile(
      ::openat(static_cast<int>(folder.handle_), native->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW),
      size);
  return Hold(fd, size);
}

std::int64_t FileReader::Read(void* buffer, std::size_t capacity) {
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), buffer, capacity);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

std::int64_t FileReader::ReadAt(std::uint64_t offset, void* buffer, std::size_t capacity) {
  for (;;) {
    const ssize_t n = ::pread(static_cast<int>(handle_), buffer, capacity, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

}  // namespace pagefold::platform
