// The links of a build that name no packed file: a summary for the terminal
// and the report file of --report.
#pragma once

#include <string>
#include <vector>

#include "core/build_command.h"

namespace pagefold::cli {

// "Ссылок без ресурса: N" and the first ten links as "page -> link", one line
// each, without a line break after the last; empty when there are none.
// Control bytes are shown escaped (\r, \n, \t, \xHH), here and in the report
// file, so that every link keeps to its line.
std::string LinkReportSummary(const std::vector<UnlinkedLink>& links);

// One link as the summary shows it: "page -> link".
std::string LinkReportLine(const UnlinkedLink& link);

// Writes every link as a line "page<TAB>link", then every missing file as a
// line "file<TAB>не упакован: why" ("...: ссылка за пределы папки -> link
// text" for a link), each ending with CR LF, in Windows-1251, into a fresh
// file at the path: the file is written beside it first and then put in its
// place, so that a failure leaves no half of it. Raises std::runtime_error
// with the reason.
void WriteLinkReport(const std::string& path, const std::vector<UnlinkedLink>& links,
                     const std::vector<MissingFile>& missing = {});

}  // namespace pagefold::cli
