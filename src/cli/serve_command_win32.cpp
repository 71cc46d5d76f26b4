#include "cli/serve_command.h"

#include "platform/console.h"
#include "text/cp1251.h"

namespace pagefold::cli {

// The Windows build has no HTTP library: MinGW-w64 packages none.
int RunServeCommand(const std::string&, int) {
  platform::WriteToStderr(text::Cp1251Text("Ключ --serve в сборке для Windows недоступен\n"));
  return 1;
}

}  // namespace pagefold::cli
