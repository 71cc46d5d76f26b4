#include "cli/res_site.h"

#include <algorithm>
#include <set>

#include "inspect/res_content_type.h"

namespace pagefold::cli {
namespace {

constexpr size_t kMaxPath = 1024;

bool IsSafePath(const std::string& path) {
  if (path.size() > kMaxPath || path.find("..") != std::string::npos) return false;
  for (const char c : path)
    if (c <= ' ' || c > '~' || c == '%' || c == '\\') return false;
  return true;
}

}  // namespace

ResSite::ResSite(ResSource& source, const ResListing& listing)
    : source_(source), index_(listing), startPath_(FindStartPath(listing)) {}

std::string ResSite::FindStartPath(const ResListing& listing) const {
  std::set<std::string> types;
  for (const ResEntry& entry : listing.entries) types.insert(ShownResId(entry.type));
  const std::string type = types.size() == 1 ? *types.begin() : "HTML";
  for (const char* name : {"INDEX", "FILELIST"})
    if (const ResEntry* entry = index_.Find(type, name))
      return "/" + ShownResId(entry->type) + "/" + ShownResId(entry->name);
  return "";
}

SiteAnswer ResSite::Get(const std::string& target) const {
  const std::string path = target.substr(0, target.find('?'));
  SiteAnswer answer;
  if (path == "/" && !startPath_.empty()) {
    answer.status = 302;
    answer.location = startPath_;
    return answer;
  }
  if (path.size() < 2 || path[0] != '/' || !IsSafePath(path)) return answer;
  // One segment names a resource of the ordinal type 23 (RT_HTML), as res: does.
  const size_t slash = path.find('/', 1);
  if (slash != std::string::npos && path.find('/', slash + 1) != std::string::npos) return answer;
  const ResEntry* entry = slash == std::string::npos
                              ? index_.Find("#23", path.substr(1))
                              : index_.Find(path.substr(1, slash - 1), path.substr(slash + 1));
  if (!entry) return answer;
  const auto head = ReadSniffedBytes(source_, *entry);
  if (!head) return answer;
  answer.status = 200;
  answer.contentType = ResContentType(entry->type, *head);
  answer.entry = entry;
  return answer;
}

std::size_t ResSite::ReadData(const ResEntry& entry, std::uint64_t offset, char* buffer, std::size_t size) const {
  if (offset >= entry.dataSize) return 0;
  const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(size, entry.dataSize - offset));
  return source_.ReadAt(entry.dataOffset + offset, buffer, n) ? n : 0;
}

}  // namespace pagefold::cli
