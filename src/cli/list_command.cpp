#include "cli/list_command.h"

#include "core/res_index.h"
#include "platform/console.h"
#include "platform/platform_error.h"

namespace pagefold::cli {

int RunListCommand(const std::string& resFile) {
  FileResSource source;
  if (!source.Open(resFile)) {
    platform::WriteToStderr("Cannot open file \"" + resFile + "\". " +
                            platform::SystemErrorText(platform::LastErrorCode()) + "\n");
    return 1;
  }
  const ResListing listing = ListResources(source);
  std::string out;
  for (const ResEntry& entry : listing.entries) {
    out += ShownResId(entry.type) + "/" + ShownResId(entry.name) + "\t" + std::to_string(entry.dataSize) + "\n";
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
