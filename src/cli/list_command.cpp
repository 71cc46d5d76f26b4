#include "cli/list_command.h"

#include "core/escaped_text.h"
#include "cli/open_res_file.h"
#include "inspect/res_index.h"
#include "platform/console.h"

namespace pagefold::cli {

int RunListCommand(const std::string& resFile) {
  FileResSource source;
  if (!OpenResFile(source, resFile)) return 1;
  const ResListing listing = ListResources(source);
  std::string out;
  for (const ResEntry& entry : listing.entries) {
    out += EscapedControlBytes(ShownResId(entry.type) + "/" + ShownResId(entry.name)) + "\t" +
           std::to_string(entry.dataSize) + "\n";
    if (out.size() >= (1 << 16)) {
      platform::WriteToStdout(out);
      out.clear();
    }
  }
  platform::WriteToStdout(out);
  if (listing.error.empty()) return 0;
  platform::WriteToStderr(resFile + ": " + listing.error + "\n");
  return 1;
}

}  // namespace pagefold::cli
