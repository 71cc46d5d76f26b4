#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>

#include "platform/folder_listing.h"
#include "platform/native_path.h"

namespace platform {

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
    // A backslash inside a name would read as a folder separator in the program's paths.
    if (!name || nativeName.find('\\') != std::string::npos) {
      ++listing.unconvertible;
      continue;
    }
    struct stat st;
    if (::fstatat(dirFd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    FolderEntry entry;
    entry.name = std::move(*name);
    entry.isLink = S_ISLNK(st.st_mode);
    if (entry.isLink) ::fstatat(dirFd, d->d_name, &st, 0);  // a dangling link stays a file
    entry.isFolder = S_ISDIR(st.st_mode);
    entry.size = entry.isFolder ? 0 : st.st_size;
    listing.entries.push_back(std::move(entry));
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

std::int64_t EntrySize(const std::string& path) {
  const auto native = ToNativePath(path);
  struct stat st;
  if (!native || ::stat(native->c_str(), &st) != 0) return -1;
  return S_ISDIR(st.st_mode) ? 0 : st.st_size;
}

}  // namespace platform
