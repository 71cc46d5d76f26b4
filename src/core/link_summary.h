// The links of a build or of a resource file that name no packed file, as
// people are shown them: by the command line and in the window's closing
// message alike.
#pragma once

#include <string>
#include <vector>

#include "core/shown_links.h"

namespace pagefold {

// "Ссылок без ресурса: N" and the first ten links as "page -> link", one line
// each, without a line break after the last; empty when there are none.
// Control bytes are shown escaped (\r, \n, \t, \xHH), so that every link
// keeps to its line.
std::string LinkSummary(const std::vector<UnlinkedLink>& links);

// One link as the summary shows it: "page -> link".
std::string LinkLine(const UnlinkedLink& link);

}  // namespace pagefold
