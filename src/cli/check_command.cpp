#include "cli/check_command.h"

#include "cli/link_report.h"
#include "core/res_links_check.h"
#include "platform/console.h"
#include "platform/platform_error.h"
#include "text/cp1251.h"

namespace pagefold::cli {

int RunCheckCommand(const std::string& resFile) {
  FileResSource source;
  if (!source.Open(resFile)) {
    platform::WriteToStderr("Cannot open file \"" + resFile + "\". " +
                            platform::SystemErrorText(platform::LastErrorCode()) + "\n");
    return 1;
  }
  const ResLinkCheck check = CheckResLinks(source);
  if (!check.error.empty()) {
    platform::WriteToStderr(resFile + ": " + check.error + "\n");
    return 1;
  }
  std::string out;
  for (const UnlinkedLink& link : check.dangling) out += LinkReportLine(link) + "\n";
  out += text::Cp1251Text("Ссылок без ресурса: ") + std::to_string(check.dangling.size()) + "\n";
  platform::WriteToStdout(out);
  return check.dangling.empty() ? 0 : 1;
}

}  // namespace pagefold::cli
