// Checking a compiled resource file the way the program that links it in will
// show it: every link of its pages and style sheets, found by the build's own
// link scanners, is resolved against the resource's place as the Windows res:
// protocol resolves it, and the links that name no resource of the file are
// told.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/shown_links.h"
#include "resformat/res_reader.h"

namespace pagefold {

struct ResName {
  std::string type;
  std::string name;
};

// The resource that a relative link in resource TYPE/NAME names, resolved as
// a URL against /TYPE/NAME: the fragment and the query are dropped, "\" counts
// as "/", percent escapes are decoded, "." and ".." are followed. A path of one
// segment names that name under the ordinal type 23 (RT_HTML), written "#23".
// Nothing when the path is deeper, climbs above the type (res: then climbs into
// the file's name) or names no file.
std::optional<ResName> ResolveResLink(const ResName& from, const std::string& link);

struct ResLinkCheck {
  // Every link that names no resource, per page and style sheet (each link
  // once, sorted), the pages in file order. A page is named by its original
  // name when the file list page gives one, else as TYPE/NAME.
  std::vector<UnlinkedLink> dangling;
  // Empty when the whole file was read; otherwise what is wrong with it.
  std::string error;
};

// Links with a scheme, an absolute path or a fragment alone leave the file
// and are not looked at. The links of pages are read with their character
// references decoded; every link is told as ShownLinks shows it.
// Only pages, style sheets and the file list page are read whole, and of the
// other resources their first bytes (kSniffedBytes); a page too large for
// the memory the program may take is an error.
ResLinkCheck CheckResLinks(ResSource& source);

}  // namespace pagefold
