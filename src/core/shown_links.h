// How links that name no resource are shown to people: the same in the
// build's report and in --check's.
#pragma once

#include <string>
#include <vector>

#include "core/link_rewriting.h"

namespace pagefold {

// The links of one page or style sheet, each once, sorted by how they are
// read (a page's with its character references decoded; links read alike are
// one), each shown as read: in Windows-1251, the link of a UTF-8 page
// converted as text::Utf8ToCp1251Shown writes it, before a page's character
// references are decoded.
std::vector<std::string> ShownLinks(const std::vector<std::string>& links, LinkSource source, bool utf8);

}  // namespace pagefold
