#include "cli/pack_command.h"
#include "core/build_texts.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  // Output piped into "head -n1" must not end a build half-way.
  pagefold::platform::KeepRunningWhenOutputCloses();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const auto arg = pagefold::platform::ArgumentText(argv, i);
    if (!arg) {
      pagefold::platform::WriteToStderr(pagefold::texts::kOutsideCodePage + "\n");
      return 2;
    }
    args.push_back(*arg);
  }
  return pagefold::cli::RunPackCommand(args);
}
