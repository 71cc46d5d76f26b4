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
  bool followOutside = false;  // unless this is set
  std::set<std::string> entered;  // identities of the folders already listed
  std::vector<MissingFile> leftOut;  // names relative to top, in the platform's form
};

void LeaveOut(Walk& walk, const std::string& folder, const std::string& name, MissingReason reason,
              std::string linkText = "") {
  walk.leftOut.push_back({folder.substr(walk.top.size()) + name, reason, std::move(linkText)});
}

std::string WithSeparator(const std::string& folder) {
  const char sep = platform::NativeSeparator();
  if (folder.empty() || folder.back() == sep) return folder;
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
  for (const std::string& name : listing.unconvertible) LeaveOut(walk, folder, name, MissingReason::OutsideCodePage);
  for (const std::string& name : listing.withBackslash) LeaveOut(walk, folder, name, MissingReason::Backslash);
  for (const platform::FolderEntry& entry : listing.entries) {
    if (!MatchesMask(entry.name, walk.mask)) continue;
    const std::string path = folder + entry.name;
    const bool follow = walk.followOutside && platform::EntrySize(path) >= 0;
    if (entry.isLink && !follow && !platform::LeadsInside(path, walk.top)) {
      LeaveOut(walk, folder, entry.name, MissingReason::OutsideLink, platform::LinkText(path));
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

std::string WithBackslashes(std::string name) {
  for (char& c : name)
    if (c == platform::NativeSeparator()) c = '\\';
  return name;
}

std::vector<MissingFile> Walked(const std::string& folder, const std::string& mask, StringList& list,
                                bool recursive, bool followOutside) {
  if (folder.empty()) return {};
  Walk walk{mask, list, recursive, WithSeparator(folder), followOutside, {}, {}};
  ListInto(walk.top, walk);
  return std::move(walk.leftOut);
}

}  // namespace

int FindFiles(const std::string& folder, const std::string& mask, StringList& list, bool recursive) {
  return static_cast<int>(Walked(folder, mask, list, recursive, false).size());
}

SourceFiles ListSourceFiles(const std::string& folder, bool followLinks) {
  SourceFiles result;
  StringList entries;
  result.leftOut = Walked(folder, "", entries, true, followLinks);
  for (MissingFile& file : result.leftOut) file.name = WithBackslashes(std::move(file.name));
  const size_t prefix = WithSeparator(folder).size();
  result.folders.push_back(WithSeparator(folder));
  for (std::string& entry : entries) {
    if (entry.back() == platform::NativeSeparator()) {
      result.folders.push_back(entry);
      continue;
    }
    std::string name = WithBackslashes(entry.substr(prefix));
    if (!FitsInQuotes(name))
      result.leftOut.push_back({std::move(name), MissingReason::UnsafeName, ""});
    else
      result.names.push_back(std::move(name));
  }
  return result;
}

}  // namespace pagefold
