#include "core/find_files.h"

#include <set>

#include "core/rc_script_writer.h"
#include "platform/folder_listing.h"
#include "platform/native_path.h"
#include "text/case_rules.h"

namespace pagefold {
namespace {

struct Walk {
  std::string mask;
  StringList& list;
  bool recursive;
  std::string top;  // links are followed: those leading out of it are left out
  std::set<std::string> entered;  // identities of the folders already listed
  int skipped = 0;
};

std::string WithSeparator(const std::string& folder) {
  const char sep = platform::NativeSeparator();
  if (folder.empty() || folder.back() == sep || folder.back() == '\\') return folder;
  return folder + sep;
}

bool GlobMatch(const char* name, const char* mask) {
  for (; *mask; ++mask, ++name) {
    if (*mask == '*') {
      for (const char* rest = name;; ++rest) {
        if (GlobMatch(rest, mask + 1)) return true;
        if (!*rest) return false;
      }
    }
    if (!*name) return false;
    if (*mask != '?' && text::LowerCp1251(static_cast<unsigned char>(*mask)) !=
                            text::LowerCp1251(static_cast<unsigned char>(*name)))
      return false;
  }
  return *name == '\0';
}

// "*" and "?" globbing without regard to case; an empty mask, "*.*" and "*" match every name.
bool MatchesMask(const std::string& name, const std::string& mask) {
  if (mask.empty() || mask == "*.*" || mask == "*") return true;
  return GlobMatch(name.c_str(), mask.c_str());
}

void ListInto(const std::string& folder, Walk& walk) {
  if (!walk.entered.insert(platform::FolderIdentity(folder)).second) return;
  const platform::FolderListing listing = platform::ListFolder(folder);
  walk.skipped += listing.unconvertible;
  for (const platform::FolderEntry& entry : listing.entries) {
    if (!MatchesMask(entry.name, walk.mask)) continue;
    const std::string path = folder + entry.name;
    if (entry.isLink && !platform::LeadsInside(path, walk.top)) {
      ++walk.skipped;
      continue;
    }
    if (!entry.isFolder) {
      walk.list.push_back(path);
    } else if (walk.recursive) {
      const std::string sub = path + platform::NativeSeparator();
      walk.list.push_back(sub);
      ListInto(sub, walk);
    }
  }
}

}  // namespace

int FindFiles(const std::string& folder, const std::string& mask, StringList& list, bool recursive) {
  if (folder.empty()) return 0;
  Walk walk{mask, list, recursive, WithSeparator(folder), {}};
  ListInto(walk.top, walk);
  return walk.skipped;
}

SourceFiles ListSourceFiles(const std::string& folder) {
  SourceFiles result;
  StringList entries;
  result.skipped = FindFiles(folder, "", entries, true);
  const size_t prefix = WithSeparator(folder).size();
  const char sep = platform::NativeSeparator();
  result.folders.push_back(WithSeparator(folder));
  for (std::string& entry : entries) {
    if (entry.back() == sep) {
      result.folders.push_back(entry);
      continue;
    }
    std::string name = entry.substr(prefix);
    if (!FitsInQuotes(name)) {
      ++result.skipped;
      continue;
    }
    for (char& c : name)
      if (c == sep) c = '\\';
    result.names.push_back(std::move(name));
  }
  return result;
}

}  // namespace pagefold
