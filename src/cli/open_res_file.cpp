#include "cli/open_res_file.h"

#include "platform/console.h"
#include "platform/platform_error.h"

namespace pagefold::cli {

bool OpenResFile(FileResSource& source, const std::string& resFile) {
  if (source.Open(resFile)) return true;
  platform::WriteToStderr("Cannot open file \"" + resFile + "\". " +
                          platform::SystemErrorText(platform::LastErrorCode()) + "\n");
  return false;
}

}  // namespace pagefold::cli
