#include "inspect/res_links_check.h"

#include <algorithm>
#include <new>

#include "core/link_resolution.h"
#include "core/link_rewriting.h"
#include "core/shown_links.h"
#include "core/style_sheet_links.h"
#include "inspect/file_list_names.h"
#include "inspect/res_content_type.h"
#include "inspect/res_index.h"
#include "text/case_rules.h"
#include "text/page_encoding.h"

namespace pagefold {
namespace {

// The type under which a name of one segment is looked up.
const char kDefaultType[] = "#23";

std::string Decoded(const std::string& segment) {
  if (auto decoded = PercentDecodedLink(segment)) return *decoded;
  std::string out;
  for (size_t pos = 0; pos < segment.size(); ++pos) {
    if (segment.compare(pos, 3, "%20") == 0) {
      out += ' ';
      pos += 2;
    } else {
      out += segment[pos];
    }
  }
  return out;
}

std::vector<std::string> Segments(const std::string& path) {
  std::vector<std::string> segments;
  size_t from = 0;
  for (size_t slash; (slash = path.find('/', from)) != std::string::npos; from = slash + 1)
    segments.push_back(path.substr(from, slash - from));
  segments.push_back(path.substr(from));
  return segments;
}

// The names of the pages from the file list page, when the file holds one.
std::unordered_map<std::string, std::string> OriginalNames(ResSource& source, const ResListing& listing) {
  for (const ResEntry& entry : listing.entries) {
    if (text::UpperAscii(ShownResId(entry.name)) != "FILELIST") continue;
    if (const auto page = ReadResourceData(source, entry)) return FileListNames(*page);
  }
  return {};
}

// The links of a page, or else a style sheet, that name no resource of the
// file, as they are shown.
std::vector<std::string> DanglingLinks(bool page, const std::string& data, const ResName& place,
                                       const ResIndex& index) {
  std::vector<std::string> dangling;
  for (std::string& link : page ? PageLinks(data) : StyleSheetLinks(data)) {
    const std::string read = page ? DecodedCharacterReferences(link) : link;
    if (read.empty() || IsOutsideLink(read)) continue;
    const auto target = ResolveResLink(place, read);
    if (!target || !index.Find(target->type, target->name)) dangling.push_back(std::move(link));
  }
  return ShownLinks(dangling, page ? LinkSource::Page : LinkSource::StyleSheet, text::IsUtf8Page(data));
}

}  // namespace

std::optional<ResName> ResolveResLink(const ResName& from, const std::string& link) {
  std::string path = link.substr(0, link.find_first_of("#?"));
  if (path.empty()) return from;
  std::replace(path.begin(), path.end(), '\\', '/');
  std::vector<std::string> folders = {from.type};
  const std::vector<std::string> segments = Segments(path);
  std::string name;
  for (size_t i = 0; i < segments.size(); ++i) {
    const std::string segment = Decoded(segments[i]);
    const bool last = i + 1 == segments.size();
    if (segment == "..") {
      // Above the type res: climbs into the file's own name.
      if (folders.empty()) return std::nullopt;
      folders.pop_back();
    } else if (segment != "." && !last) {
      folders.push_back(segment);
    } else if (last && segment != ".") {
      name = segment;
    }
  }
  if (name.empty() || folders.size() > 1) return std::nullopt;
  return ResName{folders.empty() ? kDefaultType : folders[0], name};
}

ResLinkCheck CheckResLinks(ResSource& source) try {
  ResLinkCheck check;
  const ResListing listing = ListResources(source);
  if (!listing.error.empty()) {
    check.error = listing.error;
    return check;
  }
  const ResIndex index(listing);
  const auto originals = OriginalNames(source, listing);
  for (const ResEntry& entry : listing.entries) {
    const ResName place{ShownResId(entry.type), ShownResId(entry.name)};
    // Only pages and style sheets are read whole; the type of the others
    // takes their first bytes alone.
    std::optional<std::string> data = ReadSniffedBytes(source, entry);
    const std::string type = data ? ResContentType(entry.type, *data) : "";
    const bool isPage = type == "text/html";
    if (data && !isPage && type != "text/css") continue;
    if (data) data = ReadResourceData(source, entry);
    if (!data) {
      check.error = "cannot read the data of " + place.type + "/" + place.name;
      return check;
    }
    const auto original = originals.find(FileListKey(place.type, place.name));
    const std::string page = original != originals.end() ? original->second : place.type + "/" + place.name;
    for (std::string& link : DanglingLinks(isPage, *data, place, index))
      check.dangling.push_back({page, std::move(link)});
  }
  return check;
} catch (const std::bad_alloc&) {
  // A page or style sheet larger than the memory the program may take.
  ResLinkCheck check;
  check.error = "not enough memory to read its pages";
  return check;
}

}  // namespace pagefold
