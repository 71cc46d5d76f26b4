#include "cli/check_command.h"

#include "cli/open_res_file.h"
#include "core/build_texts.h"
#include "core/link_summary.h"
#include "inspect/res_links_check.h"
#include "platform/console.h"

namespace pagefold::cli {

int RunCheckCommand(const std::string& resFile) {
  FileResSource source;
  if (!OpenResFile(source, resFile)) return 1;
  const ResLinkCheck check = CheckResLinks(source);
  if (!check.error.empty()) {
    platform::WriteToStderr(resFile + ": " + check.error + "\n");
    return 1;
  }
  std::string out;
  for (const UnlinkedLink& link : check.dangling) out += LinkLine(link) + "\n";
  out += texts::kLinksWithoutResource + std::to_string(check.dangling.size()) + "\n";
  platform::WriteToStdout(out);
  return check.dangling.empty() ? 0 : 1;
}

}  // namespace pagefold::cli
