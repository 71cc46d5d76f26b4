// How links that name no resource are shown to people: the same in the
// build's report and in --check's.
#pragma once

#include <string>
#include <vector>

#include "core/link_rewriting.h"

namespace pagefold {

// A link of a packed page or style sheet that names no packed file.
struct UnlinkedLink {
  std::string page;  // the registry name of the page or style sheet
  // The link as it is shown (ShownLinks): in Windows-1251, with a page's
  // character references decoded.
  std::string link;
  bool operator==(const UnlinkedLink&) const = default;
};

// The links of one page or style sheet, each once, sorted by how they are
// read (a page's with its character references decoded; links read alike are
// one), each shown as read: in Windows-1251, the link of a UTF-8 page
// converted as text::Utf8ToCp1251Shown writes it, before a page's character
// references are decoded.
std::vector<std::string> ShownLinks(const std::vector<std::string>& links, LinkSource source, bool utf8);

}  // namespace pagefold
