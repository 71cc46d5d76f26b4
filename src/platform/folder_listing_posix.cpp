#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <optional>
#include <utility>

#include "platform/folder_listing.h"
#include "platform/native_path.h"
#include "text/cp1251.h"

namespace pagefold::platform {
namespace {

// Whether the entry is a folder (a link followed) and whether it is a link;
// nothing when it is gone. The listing's own type spares a look-up where the
// file system gives one.
std::optional<std::pair<bool, bool>> KindOf(int dirFd, const dirent& d) {
  if (d.d_type == DT_REG) return std::pair{false, false};
  if (d.d_type == DT_DIR) return std::pair{true, false};
  struct stat st;
  if (::fstatat(dirFd, d.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  const bool isLink = S_ISLNK(st.st_mode);
  if (isLink && ::fstatat(dirFd, d.d_name, &st, 0) != 0) return std::pair{false, true};  // a dangling link stays a file
  return std::pair{S_ISDIR(st.st_mode), isLink};
}

}  // namespace

FolderListing ListFolder(const std::string& folder) {
  FolderListing listing;
  const auto native = ToNativePath(folder);
  if (!native) return listing;
  DIR* dir = ::opendir(native->c_str());
  if (!dir) return listing;
  const int dirFd = ::dirfd(dir);
  while (const dirent* d = ::readdir(dir)) {
    const std::string nativeName = d->d_name;
    if (nativeName == "." || nativeName == "..") continue;
    auto name = FromNativeName(nativeName);
    if (!name) {
      listing.unconvertible.push_back(text::Utf8ToCp1251Shown(nativeName));
      continue;
    }
    if (name->find('\\') != std::string::npos) {
      listing.withBackslash.push_back(std::move(*name));
      continue;
    }
    const auto kind = KindOf(dirFd, *d);
    if (!kind) continue;
    listing.entries.push_back({std::move(*name), kind->first, kind->second});
  }
  ::closedir(dir);
  SortByName(listing.entries);
  return listing;
}

std::string FolderIdentity(const std::string& folder) {
  const auto native = ToNativePath(folder);
  struct stat st;
  if (!native || ::stat(native->c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return "";
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

namespace {

// The path with every link followed; empty when it cannot be reached.
std::string Resolved(const std::string& path) {
  const auto native = ToNativePath(path);
  char resolved[PATH_MAX];
  if (!native || !::realpath(native->c_str(), resolved)) return "";
  return resolved;
}

}  // namespace

bool LeadsInside(const std::string& path, const std::string& folder) {
  const std::string entry = Resolved(path);
  std::string root = Resolved(folder);
  if (entry.empty() || root.empty()) return false;
  if (entry == root) return true;
  if (root.back() != '/') root += '/';
  return entry.rfind(root, 0) == 0;
}

std::string ComparablePath(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return path;
  const std::string folder = Resolved(slash == 0 ? "/" : path.substr(0, slash));
  if (folder.empty()) return path;
  const std::string shown = FromNativeName(folder).value_or(text::Utf8ToCp1251Shown(folder));
  return shown + (shown.back() == '/' ? "" : "/") + path.substr(slash + 1);
}

std::string LinkText(const std::string& path) {
  const auto native = ToNativePath(path);
  char target[PATH_MAX];
  const ssize_t n = native ? ::readlink(native->c_str(), target, sizeof target) : -1;
  if (n <= 0) return "";
  const std::string utf8(target, static_cast<size_t>(n));
  return FromNativeName(utf8).value_or(text::Utf8ToCp1251Shown(utf8));
}

std::int64_t EntrySize(const std::string& path) {
  const auto native = ToNativePath(path);
  struct stat st;
  if (!native || ::stat(native->c_str(), &st) != 0) return -1;
  return S_ISDIR(st.st_mode) ? 0 : st.st_size;
}

}  // namespace pagefold::platform
