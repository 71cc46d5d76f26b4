// One folder's entries, with their kind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagefold::platform {

struct FolderEntry {
  std::string name;  // Windows-1251, as the file system names it
  bool isFolder = false;  // a folder, or a link to one
  bool isLink = false;    // a symbolic link (to a file or a folder)
};

struct FolderListing {
  std::vector<FolderEntry> entries;  // without "." and ".."
  // Names left out, as text::Utf8ToCp1251Shown shows them: those without a
  // Windows-1251 form, and on POSIX those with a "\" inside, which the
  // program's relative names would read as a folder separator.
  std::vector<std::string> unconvertible;
  std::vector<std::string> withBackslash;
};

// Lists every entry of the folder, hidden ones included: on Windows in the
// order the file system yields them; on POSIX, whose folders keep no order,
// as SortByName orders them. A folder that is missing or unreadable gives an
// empty listing.
FolderListing ListFolder(const std::string& folder);

// Orders entries by lower-cased name (Windows-1251 letter pairs), ties by bytes.
void SortByName(std::vector<FolderEntry>& entries);

// A text that is equal for two paths naming the same folder (through links
// too); empty when the folder cannot be reached.
std::string FolderIdentity(const std::string& folder);

// True when the entry at the path, its links followed to the end, is the
// folder or lies inside it (the folder's own links followed too); false when
// either cannot be reached, as through a dangling link.
bool LeadsInside(const std::string& path, const std::string& folder);

// The path as two paths naming one entry compare equal: its folder with every
// link followed, then its name as written (on Windows without regard to
// case). The path itself when its folder cannot be reached.
std::string ComparablePath(const std::string& path);

// What the symbolic link at the path holds, as written; empty for anything else.
std::string LinkText(const std::string& path);

// The size of the entry at the path, or -1 when there is none.
std::int64_t EntrySize(const std::string& path);

}  // namespace pagefold::platform
