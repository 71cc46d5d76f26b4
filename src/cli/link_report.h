// The report file of --report: the links of a build that name no packed file
// and the files it did not pack.
#pragma once

#include <string>
#include <vector>

#include "core/missing_files.h"
#include "core/shown_links.h"

namespace pagefold::cli {

// Writes every link as a line "page<TAB>link" (control bytes escaped as
// EscapedControlBytes shows them), then every missing file as a
// line "file<TAB>не упакован: why" ("...: ссылка за пределы папки -> link
// text" for a link), each ending with CR LF, in Windows-1251, into a fresh
// file at the path: the file is written beside it first and then put in its
// place, so that a failure leaves no half of it. Raises std::runtime_error
// with the reason.
void WriteLinkReport(const std::string& path, const std::vector<UnlinkedLink>& links,
                     const std::vector<MissingFile>& missing = {});

}  // namespace pagefold::cli
