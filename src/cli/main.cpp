#include "cli/pack_command.h"
#include "platform/console.h"
#include "text/cp1251.h"

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const auto arg = platform::ArgumentText(argv, i);
    if (!arg) {
      platform::WriteToStderr(text::Cp1251Text("Имя папки или файла содержит символы вне кодировки Windows-1251\n"));
      return 2;
    }
    args.push_back(*arg);
  }
  return pagefold::cli::RunPackCommand(args);
}
