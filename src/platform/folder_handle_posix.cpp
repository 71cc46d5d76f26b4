#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/folder_handle.h"
#include "platform/folder_ops.h"
#include "platform/native_path.h"
#include "platform/platform_error.h"
#include "platform/write_all.h"

namespace pagefold::platform {
namespace {

constexpr int kNoFollow = O_NOFOLLOW | O_CLOEXEC;

FileIdentity IdentityOf(const struct stat& st) {
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

[[noreturn]] void RaiseFileError(const char* what, const std::string& path, int code) {
  throw PlatformError(std::string(what) + " \"" + path + "\". " + SystemErrorText(code));
}

// Copies the file from its first byte, at most `size` bytes, the source's
// size when the copy began: a file that another program keeps growing must
// not keep the copy going for ever. The source's own offset is never used,
// so a second copy of the same open file is whole too. The kernel copies by
// itself where it can.
bool CopyContent(int from, int to, off_t size) {
  bool kernel = true;
  char buffer[1 << 16];
  off_t done = 0;
  while (done < size) {
    const size_t chunk = static_cast<size_t>(std::min<off_t>(size - done, 1 << 30));
    loff_t at = done;
    ssize_t n = kernel ? ::copy_file_range(from, &at, to, nullptr, chunk, 0) : -1;
    if (kernel && n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
      kernel = false;
      continue;
    }
    if (!kernel) {
      n = ::pread(from, buffer, std::min(chunk, sizeof buffer), done);
      if (n > 0 && !WriteAll(to, buffer, static_cast<size_t>(n))) return false;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    done += n;
  }
  return true;
}

// Creates the name in the folder exclusively (never through a link) and
// copies the open file into it with the given rights.
bool CopyInto(int folder, const std::string& name, int from, off_t size, mode_t mode) {
  const auto native = ToNativePath(name);
  if (!native) return false;
  const int out = ::openat(folder, native->c_str(), O_WRONLY | O_CREAT | O_EXCL | kNoFollow, 0600);
  if (out < 0) return false;
  bool ok = CopyContent(from, out, size) && ::fchmod(out, mode) == 0;
  int error = errno;
  if (::close(out) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok) return true;
  ::unlinkat(folder, native->c_str(), 0);
  errno = error;
  return false;
}

// The rights a staged copy gets: the source's, made writable by its owner,
// without set-id bits.
mode_t CopyMode(mode_t source) { return (source & 0777) | S_IWUSR; }

// A second name of the source instead of a copy only for a file that no one
// but its owner may write and that has not been written for a while: a file
// still being written is copied, so that the package holds it as it was when
// its copy began, and no other user can write the user's file through the
// work folder.
bool MayShare(mode_t mode, std::int64_t modified) {
  constexpr std::int64_t kSettledSeconds = 2;
  struct timespec now;
  ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return (mode & (S_IWGRP | S_IWOTH)) == 0 && now.tv_sec - modified >= kSettledSeconds;
}

// A regular file that MayShare allows.
bool MayShareEntry(const struct stat& st) { return S_ISREG(st.st_mode) && MayShare(st.st_mode, st.st_mtim.tv_sec); }

// The process never changes its user, so it is asked once.
uid_t EffectiveUser() {
  static const uid_t user = ::geteuid();
  return user;
}

// True when the process may open the file for reading: by its owner's right
// for its owner, else as the kernel answers.
bool MayRead(int folder, const char* name, const struct stat& st) {
  if (st.st_uid == EffectiveUser() && (st.st_mode & S_IRUSR)) return true;
  return ::faccessat(folder, name, R_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) == 0;
}

void ClearBelow(int folder) {
  DIR* listing = ::fdopendir(folder);
  if (!listing) {
    ::close(folder);
    return;
  }
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool isFolder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat st;
      isFolder = ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
    }
    if (!isFolder) {
      ::unlinkat(folder, name.c_str(), 0);
      continue;
    }
    const int sub = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | kNoFollow);
    if (sub >= 0) ClearBelow(sub);
  }
  ::closedir(listing);
}

}  // namespace

FileFault LastFileFault() {
  switch (errno) {
    case 0: return FileFault::None;
    case EACCES:
    case EPERM: return FileFault::Unreadable;
    case ENOENT:
    case ENOTDIR: return FileFault::Gone;
    case EISDIR:
    case ENXIO:
    case ENODEV: return FileFault::NotAFile;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileFault::NoRoom;
    case ENAMETOOLONG: return FileFault::NameTooLong;
    case ELOOP:
    case EXDEV: return FileFault::LeadsOut;
    default: return FileFault::Other;
  }
}

std::optional<FileIdentity> EntryIdentity(const std::string& path) {
  const auto native = ToNativePath(path);
  struct stat st;
  if (!native || ::lstat(native->c_str(), &st) != 0) return std::nullopt;
  return IdentityOf(st);
}

SourceTree::SourceTree(const std::string& folder, bool followLinks) : bounded_(!followLinks) {
  const auto native = ToNativePath(folder);
  char resolved[PATH_MAX];
  if (bounded_ && native && ::realpath(native->c_str(), resolved)) resolved_ = resolved;
  if (!resolved_.empty() && resolved_.back() != '/') resolved_ += '/';
}

SourceTree::~SourceTree() {
  if (held_ >= 0) ::close(held_);
}

int SourceTree::FolderAt(const std::string& nativeFolder) {
  if (held_ >= 0 && nativeFolder == heldPath_) return held_;
  if (held_ >= 0) ::close(held_);
  held_ = ::open(nativeFolder.empty() ? "." : nativeFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  heldPath_ = nativeFolder;
  if (held_ >= 0 && !Holds(held_)) {
    ::close(held_);
    held_ = -1;
  }
  return held_;
}

// Where the open file or folder lies now, by the kernel's own account of it.
bool SourceTree::Holds(std::intptr_t handle) const {
  if (!bounded_) return true;
  const std::string opened = "/proc/self/fd/" + std::to_string(Fd(handle));
  char path[PATH_MAX];
  const ssize_t n = ::readlink(opened.c_str(), path, sizeof path - 1);
  if (resolved_.empty() || n <= 0) return false;
  path[n] = '/';
  return std::string(path, static_cast<size_t>(n) + 1).rfind(resolved_, 0) == 0;
}

SourceFile::~SourceFile() {
  if (handle_ >= 0) ::close(Fd(handle_));
}

bool SourceFile::Open(const std::string& path, const SourceTree& tree) {
  const auto native = ToNativePath(path);
  if (!native) {
    errno = EILSEQ;
    return false;
  }
  // Without O_NONBLOCK, opening a named pipe would wait for a writer.
  const int fd = ::open(native->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat st;
  if (fd < 0) return false;
  if (!tree.Holds(fd)) {
    ::close(fd);
    errno = EXDEV;
    return false;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    errno = ENODEV;
    return false;
  }
  ::fcntl(fd, F_SETFL, 0);
  if (handle_ >= 0) ::close(Fd(handle_));
  handle_ = fd;
  identity_ = IdentityOf(st);
  size_ = st.st_size;
  mode_ = st.st_mode;
  modified_ = st.st_mtim.tv_sec;
  return true;
}

FolderHandle::~FolderHandle() {
  if (handle_ >= 0) ::close(Fd(handle_));
}

int FolderHandle::Create(const std::string& path) {
  const int code = CreatePrivateFolder(path);
  if (code != 0) return code;
  struct stat st;
  if (!Open(path) || ::fstat(Fd(handle_), &st) != 0 || st.st_uid != ::geteuid()) return kNotTheFolderMade;
  return 0;
}

bool FolderHandle::Open(const std::string& path) {
  const auto native = ToNativePath(path);
  if (!native) return false;
  const int fd = ::open(native->c_str(), O_RDONLY | O_DIRECTORY | kNoFollow);
  struct stat st;
  if (fd < 0) return false;
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return false;
  }
  if (handle_ >= 0) ::close(Fd(handle_));
  handle_ = fd;
  path_ = path;
  identity_ = IdentityOf(st);
  return true;
}

bool FolderHandle::OpenHandedOver() {
  const char* path = std::getenv(kHandedOverName);
  const auto shown = path ? FromNativeName(path) : std::nullopt;
  struct stat st;
  if (!shown || ::fstat(kHandedOverDescriptor, &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  const int fd = ::fcntl(kHandedOverDescriptor, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return false;
  ::close(kHandedOverDescriptor);
  if (handle_ >= 0) ::close(Fd(handle_));
  handle_ = fd;
  path_ = *shown;
  identity_ = IdentityOf(st);
  return true;
}

bool FolderHandle::OpenSame(const FolderHandle& other) {
  const int fd = ::fcntl(Fd(other.handle_), F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return false;
  if (handle_ >= 0) ::close(Fd(handle_));
  handle_ = fd;
  path_ = other.path_;
  identity_ = other.identity_;
  return true;
}

std::string FolderHandle::PathOf(const std::string& name) const {
  return path_ + (path_.empty() || path_.back() == '/' ? "" : "/") + name;
}

bool FolderHandle::StillAtPath() const {
  const auto now = EntryIdentity(path_);
  return handle_ >= 0 && now && *now == identity_;
}

bool FolderHandle::LinkOrCopyIn(SourceFile& source, const std::string& name) {
  const auto native = ToNativePath(name);
  if (!native) return false;
  if (MayShare(source.mode_, source.modified_)) {
    // The open file itself, not whatever its path names by now: by its
    // descriptor where the process may (root), else through /proc.
    if (linkByDescriptor_) {
      if (::linkat(Fd(source.handle_), "", Fd(handle_), native->c_str(), AT_EMPTY_PATH) == 0) return true;
      if (errno == EEXIST) return false;
      if (errno == ENOENT || errno == EPERM) linkByDescriptor_ = false;
    }
    const std::string opened = "/proc/self/fd/" + std::to_string(Fd(source.handle_));
    if (::linkat(AT_FDCWD, opened.c_str(), Fd(handle_), native->c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    if (errno == EEXIST) return false;
  }
  return CopyInto(Fd(handle_), name, Fd(source.handle_), source.size_, CopyMode(source.mode_));
}

std::optional<LinkedFile> FolderHandle::LinkIn(const std::string& path, const std::string& name) {
  SourceTree whole;
  return LinkIn(path, name, whole);
}

std::optional<LinkedFile> FolderHandle::LinkIn(const std::string& path, const std::string& name, SourceTree& tree) {
  const auto from = ToNativePath(path), to = ToNativePath(name);
  if (!from || !to) return std::nullopt;
  // The file is named from its own folder, found inside the tree when the
  // tree opened it; a link at its name is linked itself, not followed.
  const size_t slash = from->rfind('/');
  const std::string base = from->substr(slash == std::string::npos ? 0 : slash + 1);
  const int parent = tree.FolderAt(slash == std::string::npos ? "" : from->substr(0, slash + 1));
  if (parent < 0) return std::nullopt;
  // While the files come fresh, a look first spares linking each only to
  // unlink it, which costs far more than the look.
  struct stat st;
  if (lookFirst_ && (::fstatat(parent, base.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !MayShareEntry(st)))
    return std::nullopt;
  const int folder = Fd(handle_);
  if (::linkat(parent, base.c_str(), folder, to->c_str(), 0) != 0) return std::nullopt;
  // Only this build writes the work folder: the new name holds what was linked.
  const bool shared = ::fstatat(folder, to->c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && MayShareEntry(st);
  lookFirst_ = !shared;
  if (shared && MayRead(folder, to->c_str(), st)) return LinkedFile{IdentityOf(st), st.st_size};
  ::unlinkat(folder, to->c_str(), 0);
  return std::nullopt;
}

bool FolderHandle::CopyWithin(const std::string& from, const std::string& to) {
  const auto native = ToNativePath(from);
  if (!native) return false;
  const int in = ::openat(Fd(handle_), native->c_str(), O_RDONLY | O_NONBLOCK | kNoFollow);
  if (in < 0) return false;
  struct stat st;
  const bool ok = ::fstat(in, &st) == 0 && S_ISREG(st.st_mode) && ::fcntl(in, F_SETFL, 0) == 0 &&
                  CopyInto(Fd(handle_), to, in, st.st_size, CopyMode(st.st_mode));
  ::close(in);
  return ok;
}

bool FolderHandle::Rename(const std::string& from, const std::string& to) {
  const auto src = ToNativePath(from), dst = ToNativePath(to);
  if (!src || !dst) return false;
  const int folder = Fd(handle_);
  if (::renameat2(folder, src->c_str(), folder, dst->c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno == EEXIST) return false;
  // File systems without RENAME_NOREPLACE: a hard link refuses an existing target too.
  if (::linkat(folder, src->c_str(), folder, dst->c_str(), 0) == 0) return ::unlinkat(folder, src->c_str(), 0) == 0;
  if (errno == EEXIST || !CopyWithin(from, to)) return false;
  return ::unlinkat(folder, src->c_str(), 0) == 0;
}

bool FolderHandle::Remove(const std::string& name) {
  const auto native = ToNativePath(name);
  return native && ::unlinkat(Fd(handle_), native->c_str(), 0) == 0;
}

std::string FolderHandle::Read(const std::string& name, size_t expectedSize) const {
  const auto native = ToNativePath(name);
  if (!native) RaiseFileError("Cannot open file", PathOf(name), ENOENT);
  const int in = ::openat(Fd(handle_), native->c_str(), O_RDONLY | kNoFollow);
  if (in < 0) RaiseFileError("Cannot open file", PathOf(name), errno);
  const size_t size = expectedSize;
  // Read straight into the text, with room for a byte past the size, so that
  // one read short of the room at the size is the end.
  std::string bytes(size + 1, '\0');
  size_t used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(2 * bytes.size());
    const ssize_t n = ::read(in, bytes.data() + used, bytes.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n > 0) used += static_cast<size_t>(n);
    const bool atEnd = n <= 0 || (used == size && used < bytes.size());
    if (!atEnd) continue;
    const int error = errno;
    ::close(in);
    if (n < 0) RaiseFileError("Cannot open file", PathOf(name), error);
    bytes.resize(used);
    return bytes;
  }
}

void FolderHandle::Write(const std::string& name, const std::string& bytes) {
  const auto native = ToNativePath(name);
  if (!native) RaiseFileError("Cannot create file", PathOf(name), ENOENT);
  const int folder = Fd(handle_);
  // Each write takes a number of its own, so that writes on several threads
  // do not try the same new name.
  static std::atomic<unsigned> written{0};
  std::string temporary;
  int out = -1;
  while (out < 0) {
    temporary = ".pagefold-new-" + std::to_string(++written);
    out = ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | kNoFollow, 0644);
    if (out < 0 && errno != EEXIST) RaiseFileError("Cannot create file", PathOf(name), errno);
  }
  bool ok = WriteAll(out, bytes.data(), bytes.size());
  int error = errno;
  if (::close(out) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::renameat(folder, temporary.c_str(), folder, native->c_str()) == 0) return;
  if (ok) error = errno;
  ::unlinkat(folder, temporary.c_str(), 0);
  RaiseFileError("Cannot create file", PathOf(name), error);
}

void FolderHandle::Clear() {
  const int copy = ::openat(Fd(handle_), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (copy >= 0) ClearBelow(copy);
}

int FolderHandle::CloseAndRemove() {
  // A folder gone from its path is reported as the removal finds it.
  const auto now = EntryIdentity(path_);
  if (handle_ >= 0) ::close(Fd(handle_));
  handle_ = -1;
  if (now && !(*now == identity_)) return kNotTheFolderMade;
  return RemoveFolder(path_);
}

}  // namespace pagefold::platform
